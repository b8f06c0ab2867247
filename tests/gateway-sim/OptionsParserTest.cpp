#include "gateway-sim/OptionsParser.h"

#include "gateway-sim/TestPackets.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace pagewing::sim;
using Kind = OptionsParser::Outcome::Kind;

namespace {

OptionsParser::Outcome Parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("pagewing-gateway-sim"));
    return OptionsParser::Parse(arguments);
}

TEST(GatewaySimOptionsParserTest, DefaultsGiveTheDemoAccountOnLoopback) {
    const auto outcome = Parse({});
    ASSERT_EQ(outcome.What, Kind::Run);
    const auto& options = outcome.Settings;
    EXPECT_EQ(options.Authorization.ToString(), QStringLiteral("127.0.0.1:5190"));
    EXPECT_EQ(options.Service.ToString(), QStringLiteral("127.0.0.1:0"));
    ASSERT_EQ(options.Accounts.size(), 1);
    EXPECT_EQ(options.Accounts[0].Uin, 100200300u);
    EXPECT_EQ(options.Accounts[0].Password, QByteArray("pagewing"));
    EXPECT_FALSE(options.AuthorizationError);
    EXPECT_EQ(options.Delivery, DeliveryPolicy::Mode::ByNumber);
    EXPECT_FALSE(options.Fragment || options.Verbose);
    EXPECT_FALSE(options.StallLogin || options.StallService || options.KeepLoginOpen ||
                 options.CloseAfterReady);
    EXPECT_EQ(options.Flood, 0u);
}

TEST(GatewaySimOptionsParserTest, EveryOptionIsTaken) {
    const auto outcome = Parse({"--listen", "[::1]:6000", "--service", "127.0.0.2:6001", "--account",
                                "42:a:b", "--account=7:p\u20ACss", "--auth-error", "0x1a", "--deliver",
                                "never", "--fragment", "--verbose"});
    ASSERT_EQ(outcome.What, Kind::Run) << outcome.Message.toStdString();
    const auto& options = outcome.Settings;
    EXPECT_EQ(options.Authorization.ToString(), QStringLiteral("[::1]:6000"));
    EXPECT_EQ(options.Service.ToString(), QStringLiteral("127.0.0.2:6001"));
    ASSERT_EQ(options.Accounts.size(), 2) << "given accounts replace the demo account";
    EXPECT_EQ(options.Accounts[0].Uin, 42u);
    EXPECT_EQ(options.Accounts[0].Password, QByteArray("a:b")) << "only the first ':' separates";
    EXPECT_EQ(options.Accounts[1].Password, QByteArray("p\x80ss")) << "passwords are kept as Windows-1252";
    EXPECT_EQ(options.AuthorizationError, 0x001A);
    EXPECT_EQ(options.Delivery, DeliveryPolicy::Mode::Never);
    EXPECT_TRUE(options.Fragment && options.Verbose);
    EXPECT_EQ(Parse({"--listen", "localhost:0"}).Settings.Service.ToString(), QStringLiteral("127.0.0.1:0"))
        << "the service host follows the listen host";
    EXPECT_EQ(Parse({"--service", "[::1]:0"}).Settings.Service.ToString(), QStringLiteral("[::1]:0"));
}

TEST(GatewaySimOptionsParserTest, MisbehavioursAreTakenOneByOne) {
    using Flag = bool Options::*;
    const std::pair<const char*, Flag> flags[] = {{"--stall-login", &Options::StallLogin},
                                                  {"--stall-service", &Options::StallService},
                                                  {"--keep-login-open", &Options::KeepLoginOpen},
                                                  {"--close-after-ready", &Options::CloseAfterReady}};
    for (const auto& [option, flag] : flags) {
        const auto outcome = Parse({option});
        ASSERT_EQ(outcome.What, Kind::Run) << option;
        for (const auto& [other, otherFlag] : flags) {
            EXPECT_EQ(outcome.Settings.*otherFlag, flag == otherFlag) << option << " sets " << other;
        }
    }
    const std::pair<const char*, DeliveryPolicy::Mode> rules[] = {{"refuse", DeliveryPolicy::Mode::Refuse},
                                                                  {"silent", DeliveryPolicy::Mode::Silent}};
    for (const auto& [rule, mode] : rules) {
        EXPECT_EQ(Parse({"--deliver", rule}).Settings.Delivery, mode) << rule;
    }
    for (const auto& [text, count] : {std::pair{"1", 1u}, {"0025000", 25000u}, {"1000000", 1000000u}}) {
        const auto outcome = Parse({"--flood", text});
        ASSERT_EQ(outcome.What, Kind::Run) << text;
        EXPECT_EQ(outcome.Settings.Flood, count) << text;
    }
}

TEST(GatewaySimOptionsParserTest, BadOptionsAreErrorsThatNameTheProblem) {
    const std::pair<QStringList, const char*> cases[] = {
        {{"--bogus"}, "bogus"},
        {{"extra"}, "extra"},
        {{"--listen", "5190"}, "--listen"},
        {{"--listen", "example.com:5190"}, "--listen"},
        {{"--listen", "127.0.0.1:65536"}, "--listen"},
        {{"--listen", "::1:5190"}, "--listen"},
        {{"--service", "127.0.0.1:"}, "--service"},
        {{"--account", "100200300"}, "--account"},
        {{"--account", "0:secret"}, "--account"},
        {{"--account", "4294967296:secret"}, "--account"},
        {{"--account", "5:"}, "password"},
        {{"--account", "5:0123456789abcdefg"}, "password"},
        {{"--account", "5:\u0416"}, "password"},
        {{"--account", "5:a", "--account", "5:b"}, "twice"},
        {{"--auth-error", "12345"}, "--auth-error"},
        {{"--auth-error", "0x"}, "--auth-error"},
        {{"--deliver", "sometimes"}, "always, never, by-number, refuse or silent"},
        {{"--deliver", "Refuse"}, "--deliver"},
        {{"--flood", "0"}, "from 1 to 1000000"},
        {{"--flood", "1000001"}, "--flood"},
        {{"--flood", "99999999999"}, "--flood"},
        {{"--flood", "-5"}, "--flood"},
        {{"--flood", "+5"}, "--flood"},
        {{"--flood", "1e3"}, "--flood"},
        {{"--flood", ""}, "--flood"},
        {{"--flood"}, "flood"},
        {{"--stall-login=yes"}, "stall-login"},
    };
    for (const auto& [arguments, mentions] : cases) {
        const auto outcome = Parse(arguments);
        EXPECT_EQ(outcome.What, Kind::Error) << arguments.join(' ').toStdString();
        EXPECT_TRUE(outcome.Message.contains(QLatin1String(mentions))) << outcome.Message.toStdString();
    }
}

TEST(GatewaySimOptionsParserTest, HelpWinsOverBadOptionsAndDocumentsEveryOption) {
    const auto outcome = Parse({"--listen", "bad", "--help"});
    ASSERT_EQ(outcome.What, Kind::Help);
    for (const char* option : {"--listen", "--service", "--account", "--auth-error", "--deliver", "refuse",
                               "silent", "--stall-login", "--stall-service", "--keep-login-open", "--flood",
                               "--close-after-ready", "--fragment", "--verbose", "--version"}) {
        EXPECT_TRUE(outcome.Message.contains(QLatin1String(option))) << option;
    }
}

TEST(GatewaySimOptionsParserTest, VersionNamesTheProgramAndTheProjectVersion) {
    const auto outcome = Parse({"--version"});
    ASSERT_EQ(outcome.What, Kind::Version);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^pagewing-gateway-sim \\d+\\.\\d+(\\.\\d+)*\\n$"))
                    .match(outcome.Message)
                    .hasMatch())
        << outcome.Message.toStdString();
    EXPECT_EQ(Parse({"--help", "--version"}).What, Kind::Help);
}

} // namespace
