#include "gateway-sim/OptionsParser.h"

#include "gateway-sim/CodePage1252.h"
#include "gateway-sim/PasswordScrambler.h"
#include "gateway-sim/Reporter.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace pagewing::sim {

namespace {

using Outcome = OptionsParser::Outcome;

Outcome Failure(const QString& message) {
    return {Outcome::Kind::Error, {}, message};
}

std::optional<Options::Account> ParseAccount(const QString& text, QString& problem) {
    // The password may itself hold ':', the UIN never does.
    const auto colon = text.indexOf(QLatin1Char(':'));
    const auto uinText = text.first(std::max<qsizetype>(colon, 0));
    bool converted = false;
    const auto uin = uinText.toUInt(&converted);
    const bool digitsOnly =
        std::all_of(uinText.begin(), uinText.end(), [](const QChar c) { return c >= u'0' && c <= u'9'; });
    if (colon < 0 || uinText.isEmpty() || !digitsOnly || !converted || uin == 0) {
        problem =
            QStringLiteral("--account wants UIN:PASSWORD with a decimal UIN from 1 to 4294967295, not \"%1\"")
                .arg(text);
        return std::nullopt;
    }
    const auto password = CodePage1252::Encode(QStringView(text).sliced(colon + 1));
    if (!password || password->isEmpty() || password->size() > PasswordScrambler::MaximumLength) {
        problem = QStringLiteral("the password of account %1 must be 1 to %2 characters of Windows-1252")
                      .arg(uin)
                      .arg(PasswordScrambler::MaximumLength);
        return std::nullopt;
    }
    return Options::Account{uin, *password};
}

std::optional<quint16> ParseErrorCode(const QString& text) {
    static const QRegularExpression Hexadecimal(QStringLiteral("^(?:0[xX])?([0-9A-Fa-f]{1,4})$"));
    const auto match = Hexadecimal.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return static_cast<quint16>(match.captured(1).toUInt(nullptr, 16));
}

std::optional<quint32> ParseFloodSize(const QString& text) {
    static const QRegularExpression Decimal(QStringLiteral("^[0-9]{1,7}$"));
    if (!Decimal.match(text).hasMatch()) {
        return std::nullopt;
    }
    const auto count = text.toUInt();
    if (count == 0 || count > Options::LargestFlood) {
        return std::nullopt;
    }
    return count;
}

} // namespace

OptionsParser::Outcome OptionsParser::Parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays the authorization server, the service server and the SMS gateway of an OSCAR network, so "
        "that Pagewing can be tried and tested without the real network.\n"
        "\n"
        "Standard output gets one line per SMS request, \"SMS to DESTINATION: TEXT\", with backslash, "
        "carriage return and line feed written as \\\\, \\r and \\n. Standard error starts with the line "
        "\"pagewing-gateway-sim: authorization server on HOST:PORT, service server on HOST:PORT\" once "
        "both servers listen.\n"
        "\n"
        "It runs until SIGTERM or SIGINT. Exit status 1 means a server could not listen, 2 bad options."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption listen(
        QStringLiteral("listen"),
        QStringLiteral("Address of the authorization server, where clients log in. Default: 127.0.0.1:5190; "
                       "port 0 picks a free port."),
        QStringLiteral("HOST:PORT"));
    const QCommandLineOption service(
        QStringLiteral("service"),
        QStringLiteral("Address of the service server that the login reply sends "
                       "clients to. Default: the --listen host, a free port. An IPv6 host goes in brackets "
                       "([::1]:0), as the login reply then names it."),
        QStringLiteral("HOST:PORT"));
    const QCommandLineOption account(
        QStringLiteral("account"),
        QStringLiteral("An account that may log in; repeat for more. The password "
                       "has 1 to 16 characters. Default when none is given: "
                       "100200300:pagewing."),
        QStringLiteral("UIN:PASSWORD"));
    const QCommandLineOption authError(
        QStringLiteral("auth-error"),
        QStringLiteral("Refuse every login with this hexadecimal error code (\"0018\" or \"0x18\") "
                       "instead of checking the accounts; with \":TEXT\" after the code, the refusal's "
                       "TLV 0x0004 carries TEXT (\"0001:Authentication failed\") instead of the address of "
                       "an error page. Without it, a wrong password gets 0004 and an unknown UIN 0007."),
        QStringLiteral("CODE[:TEXT]"));
    const QCommandLineOption deliver(
        QStringLiteral("deliver"),
        QStringLiteral(
            "How the gateway answers SMS requests: \"always\" deliverable, \"never\", or "
            "\"by-number\" (default): deliverable when the destination is 7 to 15 digits with an "
            "optional leading '+'. \"refuse\" answers as a server without an SMS gateway does "
            "(a meta reply with result 0x46 and the text \"Sorry, but SMS messages not implemented "
            "yet...\"), \"deny\" with the SNAC error 15,01 code 0x000D (request denied), \"silent\" "
            "not at all. Every request still gets its line on standard output."),
        QStringLiteral("RULE"));
    const QCommandLineOption stallLogin(
        QStringLiteral("stall-login"),
        QStringLiteral("The authorization server accepts connections and never sends anything, not even "
                       "its hello."));
    const QCommandLineOption stallService(
        QStringLiteral("stall-service"),
        QStringLiteral("The service server sends its hello and takes the cookie, but never sends server "
                       "ready (SNAC 01,03)."));
    const QCommandLineOption keepLoginOpen(
        QStringLiteral("keep-login-open"),
        QStringLiteral("Leave the authorization connection open after a successful login reply, as some "
                       "real servers do, so the client must close it; standard error then says \"auth#N: "
                       "the client closed the connection\" when it does. Refused logins are still closed."));
    const QCommandLineOption flood(
        QStringLiteral("flood"),
        QStringLiteral("Right after client ready (SNAC 01,02), send N delivery reports (SNAC 15,03, "
                       "deliverable) that answer no request: each carries a meta sequence number that no "
                       "request on the connection has used; N from 1 to 1000000."),
        QStringLiteral("N"));
    const QCommandLineOption closeAfterReady(
        QStringLiteral("close-after-ready"),
        QStringLiteral("The service server closes the connection as soon as it has received client ready "
                       "(SNAC 01,02), once everything queued, a --flood included, is written."));
    const QCommandLineOption anotherLogin(
        QStringLiteral("another-login"),
        QStringLiteral("Right after client ready, log the session off as a server does when the same "
                       "account logs in elsewhere: a channel 4 frame with TLV 0x0009 = 0x0001 and TLV "
                       "0x000B \"New client with same uin connected\". The connection stays open, and every "
                       "later SMS request gets the SNAC error 15,01 code 0x000D (request denied). No "
                       "--flood or --close-after-ready follows."));
    const QCommandLineOption dropAfterRequest(
        QStringLiteral("drop-after-request"),
        QStringLiteral("The service server closes the connection right after reading an SMS request, "
                       "without answering it: the client cannot know whether the message went out."));
    const QCommandLineOption fragment(
        QStringLiteral("fragment"),
        QStringLiteral(
            "Send every frame in random pieces of 1 to 16 bytes, each its own write, so the client "
            "must reassemble its stream; when several frames wait, the rest of one and the whole "
            "next sometimes go out in one write."));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Log every frame received and sent on standard error."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Show the version and exit."));
    parser.addOptions({help, version, listen, service, account, authError, deliver, stallLogin, stallService,
                       keepLoginOpen, flood, closeAfterReady, anotherLogin, dropAfterRequest, fragment,
                       verbose});

    if (!parser.parse(arguments)) {
        return Failure(parser.errorText());
    }
    if (parser.isSet(help)) {
        return {Outcome::Kind::Help, {}, parser.helpText()};
    }
    if (parser.isSet(version)) {
        return {Outcome::Kind::Version,
                {},
                QStringLiteral("%1 %2\n").arg(QLatin1String(Reporter::ProgramName),
                                              QLatin1String(PAGEWING_GATEWAY_SIM_VERSION))};
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Failure(
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().constFirst()));
    }

    Options options;
    if (parser.isSet(listen)) {
        const auto endpoint = Endpoint::Parse(parser.value(listen));
        if (!endpoint) {
            return Failure(
                QStringLiteral("--listen wants HOST:PORT with an IP address or localhost, not \"%1\"")
                    .arg(parser.value(listen)));
        }
        options.Authorization = *endpoint;
    }
    options.Service = {options.Authorization.Host, 0};
    if (parser.isSet(service)) {
        const auto endpoint = Endpoint::Parse(parser.value(service));
        if (!endpoint) {
            return Failure(
                QStringLiteral("--service wants HOST:PORT with an IP address or localhost, not \"%1\"")
                    .arg(parser.value(service)));
        }
        options.Service = *endpoint;
    }
    if (parser.isSet(account)) {
        options.Accounts.clear();
        QSet<quint32> seen;
        for (const auto& text : parser.values(account)) {
            QString problem;
            const auto parsed = ParseAccount(text, problem);
            if (!parsed) {
                return Failure(problem);
            }
            if (seen.contains(parsed->Uin)) {
                return Failure(QStringLiteral("account %1 is given twice").arg(parsed->Uin));
            }
            seen.insert(parsed->Uin);
            options.Accounts.append(*parsed);
        }
    }
    if (parser.isSet(authError)) {
        const auto value = parser.value(authError);
        const auto colon = value.indexOf(QLatin1Char(':'));
        options.AuthorizationError = ParseErrorCode(colon < 0 ? value : value.first(colon));
        if (!options.AuthorizationError) {
            return Failure(
                QStringLiteral("--auth-error wants 1 to 4 hexadecimal digits such as 0018 or 0x18, "
                               "then perhaps :TEXT, not \"%1\"")
                    .arg(value));
        }
        if (colon >= 0) {
            options.AuthorizationErrorText = CodePage1252::Encode(QStringView(value).sliced(colon + 1));
            if (!options.AuthorizationErrorText) {
                return Failure(QStringLiteral("the text of --auth-error must be Windows-1252"));
            }
        }
    }
    if (parser.isSet(deliver)) {
        const auto mode = DeliveryPolicy::ModeFromName(parser.value(deliver));
        if (!mode) {
            return Failure(
                QStringLiteral("--deliver wants always, never, by-number, refuse, silent or deny, not \"%1\"")
                    .arg(parser.value(deliver)));
        }
        options.Delivery = *mode;
    }
    if (parser.isSet(flood)) {
        const auto count = ParseFloodSize(parser.value(flood));
        if (!count) {
            return Failure(QStringLiteral("--flood wants a whole number of delivery reports from 1 to %1, "
                                          "not \"%2\"")
                               .arg(Options::LargestFlood)
                               .arg(parser.value(flood)));
        }
        options.Flood = *count;
    }
    options.StallLogin = parser.isSet(stallLogin);
    options.StallService = parser.isSet(stallService);
    options.KeepLoginOpen = parser.isSet(keepLoginOpen);
    options.CloseAfterReady = parser.isSet(closeAfterReady);
    options.AnotherLogin = parser.isSet(anotherLogin);
    options.DropAfterRequest = parser.isSet(dropAfterRequest);
    options.Fragment = parser.isSet(fragment);
    options.Verbose = parser.isSet(verbose);
    return {Outcome::Kind::Run, options, {}};
}

} // namespace pagewing::sim
