#include "gateway-sim/OptionsParser.h"

#include <gtest/gtest.h>

using namespace pagewing::sim;
using namespace Qt::Literals::StringLiterals;

namespace {

// The error, help or version text, or else the settings on one line, so that a row of the table below can
// name just the part it is about. The delivery rule shows as its answers to a telephone number, to another
// destination and to a request it cannot read.
QString Outcome(const QStringList& arguments) {
    const auto outcome = OptionsParser::Parse(QStringList{u"pagewing-gateway-sim"_s} + arguments);
    if (outcome.What != OptionsParser::Outcome::Kind::Run) {
        return outcome.Message;
    }
    const auto& settings = outcome.Settings;
    const DeliveryPolicy policy(settings.Delivery);
    const auto name = [](const DeliveryPolicy::Answer answer) {
        return QStringList{u"yes"_s, u"no"_s, u"refusal"_s, u"none"_s, u"denial"_s}.at(
            static_cast<int>(answer));
    };
    auto line = u"listen %1, service %2, answers %3 %4 %5, auth error %6, flood %7, accounts"_s.arg(
        settings.Authorization.ToString(), settings.Service.ToString(),
        name(policy.AnswerFor(u"+15551234567")), name(policy.AnswerFor(u"nobody")),
        name(policy.AnswerForUnreadable()),
        settings.AuthorizationError ? QString::number(*settings.AuthorizationError, 16) +
                                          QString::fromLatin1(settings.AuthorizationErrorText.value_or(""))
                                    : u"-"_s,
        QString::number(settings.Flood));
    for (const auto& account : settings.Accounts) {
        line += u" %1:%2"_s.arg(account.Uin).arg(QString::fromLatin1(account.Password));
    }
    return line + u", on:%1%2%3%4%5%6%7%8;"_s.arg(settings.StallLogin ? u" stall-login" : u"",
                                                  settings.StallService ? u" stall-service" : u"",
                                                  settings.KeepLoginOpen ? u" keep-login-open" : u"",
                                                  settings.CloseAfterReady ? u" close-after-ready" : u"",
                                                  settings.DropAfterRequest ? u" drop-after-request" : u"",
                                                  settings.AnotherLogin ? u" another-login" : u"",
                                                  settings.Fragment ? u" fragment" : u"",
                                                  settings.Verbose ? u" verbose" : u"");
}

TEST(GatewaySimOptionsParserTest, EachOptionGivesItsSettingOrNamesTheProblem) {
    const auto endpoint = u"%1 wants HOST:PORT with an IP address or localhost, not \"%2\""_s;
    const auto uin = u"--account wants UIN:PASSWORD with a decimal UIN from 1 to 4294967295, not \"%1\""_s;
    const auto password = u"the password of account 5 must be 1 to 16 characters of Windows-1252"_s;
    const auto authError =
        u"--auth-error wants 1 to 4 hexadecimal digits such as 0018 or 0x18, then perhaps :TEXT, not \"%1\""_s;
    const auto deliver = u"--deliver wants always, never, by-number, refuse, silent or deny, not \"%1\""_s;
    const auto flood = u"--flood wants a whole number of delivery reports from 1 to 1000000, not \"%1\""_s;
    const std::pair<QStringList, QString> cases[] = {
        {{},
         u"listen 127.0.0.1:5190, service 127.0.0.1:0, answers yes no no, auth error -, flood 0, "
         "accounts 100200300:pagewing, on:;"_s},
        {{"--listen", "[::1]:6000"}, u"listen [::1]:6000, service [::1]:0,"_s},
        {{"--listen", "localhost:0", "--service", "127.0.0.2:6001"},
         u"listen 127.0.0.1:0, service 127.0.0.2:6001,"_s},
        {{"--account", "42:a:b", "--account=7:p\u20ACss"}, u"accounts 42:a:b 7:p\u0080ss, on"_s},
        {{"--auth-error", "0x1a"}, u"auth error 1a,"_s},
        {{"--auth-error", "1:Authentication: failed"}, u"auth error 1Authentication: failed,"_s},
        {{"--deliver", "always"}, u"answers yes yes no,"_s},
        {{"--deliver", "never"}, u"answers no no no,"_s},
        {{"--deliver", "refuse"}, u"answers refusal refusal refusal,"_s},
        {{"--deliver", "silent"}, u"answers none none none,"_s},
        {{"--deliver", "deny"}, u"answers denial denial denial,"_s},
        {{"--flood", "0025000"}, u"flood 25000,"_s},
        {{"--flood", "1000000"}, u"flood 1000000,"_s},
        {{"--stall-login"}, u"on: stall-login;"_s},
        {{"--stall-service"}, u"on: stall-service;"_s},
        {{"--keep-login-open"}, u"on: keep-login-open;"_s},
        {{"--close-after-ready"}, u"on: close-after-ready;"_s},
        {{"--drop-after-request"}, u"on: drop-after-request;"_s},
        {{"--another-login"}, u"on: another-login;"_s},
        {{"--fragment"}, u"on: fragment;"_s},
        {{"--verbose"}, u"on: verbose;"_s},
        {{"--listen", "bad", "--version", "--help"}, u"Usage: "_s},
        {{"--listen", "bad", "--version"}, u"pagewing-gateway-sim " PAGEWING_GATEWAY_SIM_VERSION "\n"_s},
        {{"--bogus"}, u"bogus"_s},
        {{"extra"}, u"unexpected argument \"extra\""_s},
        {{"--listen", "5190"}, endpoint.arg("--listen", "5190")},
        {{"--listen", "example.com:5190"}, endpoint.arg("--listen", "example.com:5190")},
        {{"--listen", "127.0.0.1:65536"}, endpoint.arg("--listen", "127.0.0.1:65536")},
        {{"--listen", "::1:5190"}, endpoint.arg("--listen", "::1:5190")},
        {{"--service", "127.0.0.1:"}, endpoint.arg("--service", "127.0.0.1:")},
        {{"--account", "0:secret"}, uin.arg("0:secret")},
        {{"--account", "4294967296:secret"}, uin.arg("4294967296:secret")},
        {{"--account", "5:"}, password},
        {{"--account", "5:0123456789abcdefg"}, password},
        {{"--account", "5:\u0416"}, password},
        {{"--account", "5:a", "--account", "5:b"}, u"account 5 is given twice"_s},
        {{"--auth-error", "12345"}, authError.arg("12345")},
        {{"--auth-error", "0x"}, authError.arg("0x")},
        {{"--auth-error", "1:\u0416"}, u"the text of --auth-error must be Windows-1252"_s},
        {{"--deliver", "Refuse"}, deliver.arg("Refuse")},
        {{"--flood", "0"}, flood.arg("0")},
        {{"--flood", "1000001"}, flood.arg("1000001")},
        {{"--flood", "+5"}, flood.arg("+5")},
    };
    for (const auto& [arguments, expected] : cases) {
        const auto outcome = Outcome(arguments);
        EXPECT_TRUE(outcome.contains(expected))
            << arguments.join(' ').toStdString() << " gives " << outcome.toStdString();
    }
}

} // namespace
