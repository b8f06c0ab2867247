#include "session/SMSSender.h"

#include "oscar/GlobalSequenceCounter.h"
#include "oscar/SplitSNAC.h"
#include "session/GlobalSettings.h"

#include "support/FakeSessionSocket.h"
#include "support/RecordingEvents.h"
#include "support/ServerFrames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace pagewing;
using namespace pagewing::test;
namespace frames = pagewing::test::ServerFrames;

namespace {

using Lines = std::vector<std::u16string>;

const std::vector<std::uint8_t> Cookie = Bytes("C0FFEE 0102030405060708 AB");

class SMSSenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        GlobalSequenceCounter::SequenceCounter = 0;
        GlobalSettings = {};
        GlobalSettings.ICQUIN = u"100200300";
        GlobalSettings.ICQPassword = u"secret";
    }

    void LogIn() {
        Sender.ConnectReconnect(u"login.example", u"5190");
        Auth.Receive(frames::Hello());
        Auth.Receive(frames::CookieReply("127.0.0.1:5191", Cookie));
        Service.Receive(frames::Hello());
        Service.Receive(frames::ServiceFamilies());
    }

    void Send(const std::u16string& number = u"+15551234567", const std::u16string& text = u"Ann:\r\nHi") {
        Sender.SendSMSMessage(number, text, u"1252", GlobalSettings.ICQUIN, u"TICQClient", u"Yes");
    }

    static SplitSNAC Read(const std::vector<std::uint8_t>& frame) {
        SplitSNAC reader;
        reader.SplitPacket(frame);
        return reader;
    }

    static std::int32_t SequenceOf(const std::vector<std::uint8_t>& frame) {
        return frame[2] << 8 | frame[3];
    }

    FakeSessionSocket Auth;
    FakeSessionSocket Service;
    FixedClock Clock;
    RecordingEvents Events;
    SMSSender Sender{Auth, Service, Clock, Events};
};

TEST_F(SMSSenderTest, LoginWalksEveryStage) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    EXPECT_THAT(Auth.Connects,
                ElementsAre(std::pair{std::u16string(u"login.example"), std::u16string(u"5190")}));
    EXPECT_THAT(Events.Log, ElementsAre(u"NotReadyToSendMessage"));

    Auth.Receive(frames::Hello());
    ASSERT_EQ(Auth.Sent.size(), 1u);
    EXPECT_EQ(Auth.Sent[0][1], 1);
    EXPECT_EQ(ClientFrames::Tlv(Auth.Sent[0], 1), AsciiBytes("100200300"));
    EXPECT_EQ(ClientFrames::Tlv(Auth.Sent[0], 2).size(), 6u);

    Auth.Receive(frames::CookieReply("127.0.0.1:5191", Cookie));
    EXPECT_THAT(Service.Connects,
                ElementsAre(std::pair{std::u16string(u"127.0.0.1"), std::u16string(u"5191")}));

    Service.Receive(frames::Hello());
    ASSERT_EQ(Service.Sent.size(), 1u);
    EXPECT_EQ(ClientFrames::Tlv(Service.Sent[0], 6), Cookie);

    Service.Receive(frames::ServiceFamilies());
    ASSERT_EQ(Service.Sent.size(), 2u);
    EXPECT_EQ(Service.Sent[1].size(), 96u);
    EXPECT_EQ(Read(Service.Sent[1]).GetSNACSubtype(), 2);

    EXPECT_THAT(Events.Log,
                ElementsAre(u"NotReadyToSendMessage", u"line: Successfully connected",
                            u"line: Sending UIN and Password", u"line: Cookie successfully received",
                            u"line: Redirected to another server", u"line: Sending Cookie",
                            u"line: Ready to send Message", u"ReadyToSendMessage"));
    EXPECT_EQ(Events.FullLines.front(), u"12/5/2026 2:06:37 AM    Successfully connected");
}

TEST_F(SMSSenderTest, MessageIsSentAndItsDeliveryReported) {
    LogIn();
    Send();
    ASSERT_EQ(Service.Sent.size(), 3u);
    const auto request = Read(Service.Sent[2]);
    EXPECT_EQ(request.GetSNACFamily(), 0x15);
    EXPECT_EQ(request.GetSNACSubtype(), 0x02);
    EXPECT_NE(request.GetSNACString().find(u"<destination>+15551234567</destination>"), std::u16string::npos);
    EXPECT_EQ(Events.Lines.back(), u"Sending message");

    Service.Receive(frames::SmsReply("<sms_response><deliverable>Yes</deliverable></sms_response>"));
    EXPECT_EQ(Events.Lines.back(), u"Message successfully delivered");
}

TEST_F(SMSSenderTest, DeliveryMarkersAreFoundInAnyLetterCase) {
    const struct {
        std::string_view reply;
        Lines expected;
    } cases[] = {
        {"<deliverable>Yes</deliverable>", {u"Message successfully delivered"}},
        {"<DELIVERABLE>YES</DELIVERABLE>", {u"Message successfully delivered"}},
        {"<Deliverable>no</deliverable>", {u"Message was not delivered"}},
        {"<deliverable>No</deliverable><deliverable>yes</deliverable>",
         {u"Message successfully delivered", u"Message was not delivered"}},
        {"<deliverable>Maybe</deliverable>", {}},
        {"<deliverable> Yes</deliverable>", {}},
    };
    LogIn();
    for (const auto& c : cases) {
        Events.Lines.clear();
        Service.Receive(frames::SmsReply(c.reply));
        EXPECT_EQ(Events.Lines, c.expected) << c.reply;
    }
}

TEST_F(SMSSenderTest, EveryAuthorizationErrorCodeHasItsLine) {
    const struct {
        std::string_view code;
        std::u16string_view line;
    } cases[] = {
        {"0000", u"No error"},
        {"0001", u"Multiple logins on same UIN"},
        {"0004", u"Bad password"},
        {"0005", u"Bad password"},
        {"0007", u"Non existant ICQ#"},
        {"0008", u"Non existant ICQ#"},
        {"0015", u"Too many clients from the same IP"},
        {"0016", u"Too many clients from the same IP"},
        {"0018", u"Connecting and disconnecting too quickly with the same login"},
        {"001B", u"Old version of ICQ, need to upgrade"},
        {"001D", u"Probably you are disconnected too fast"},
        {"001E", u"Can't register on ICQ network, try again soon"},
    };
    Sender.ConnectReconnect(u"login.example", u"5190");
    for (const auto& c : cases) {
        Events.Log.clear();
        Auth.Receive(frames::ErrorReply(c.code));
        EXPECT_THAT(Events.Log, ElementsAre(u"line: " + std::u16string(c.line))) << c.code;
    }
    EXPECT_THAT(Service.Connects, IsEmpty());
}

TEST_F(SMSSenderTest, ErrorCodesOutsideTheTableGiveNoLine) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    Events.Lines.clear();
    for (const auto* code : {"0002", "0019", "001b00", "00"}) {
        Auth.Receive(frames::ErrorReply(code));
    }
    Auth.Receive(frames::AuthorizationReply({frames::Tlv(8, Bytes("001b"))}));
    EXPECT_EQ(Events.Lines, Lines{u"Old version of ICQ, need to upgrade"});
}

TEST_F(SMSSenderTest, CookieAndErrorInOneReplyGiveBothInOrder) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    Auth.Receive(frames::AuthorizationReply(
        {frames::Tlv(8, Bytes("0004")), frames::Tlv(5, AsciiBytes("h:1")), frames::Tlv(6, Cookie)}));
    EXPECT_EQ(Events.Lines, (Lines{u"Cookie successfully received", u"Bad password"}));
    EXPECT_EQ(Service.Connects.size(), 1u);
}

TEST_F(SMSSenderTest, PortIsEverythingAfterTheFirstColon) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    Auth.Receive(frames::CookieReply("bos.example:5191:extra", Cookie));
    EXPECT_THAT(Service.Connects,
                ElementsAre(std::pair{std::u16string(u"bos.example"), std::u16string(u"5191:extra")}));
}

TEST_F(SMSSenderTest, UnusableRepliesGiveOneLineAndNoConnection) {
    const struct {
        std::vector<std::uint8_t> reply;
        std::u16string_view line;
    } cases[] = {
        {frames::CookieReply("no-colon", Cookie), u"Login server did not name a service server"},
        {frames::AuthorizationReply({frames::Tlv(6, Cookie)}), u"Login server did not name a service server"},
        // An empty TLV at the very end of a frame is not enumerated, so the empty cookie comes first.
        {frames::AuthorizationReply({frames::Tlv(6, {}), frames::Tlv(5, AsciiBytes("h:5191"))}),
         u"Login server sent an empty cookie"},
    };
    for (const auto& c : cases) {
        Sender.ConnectReconnect(u"login.example", u"5190");
        Events.Lines.clear();
        Auth.Receive(c.reply);
        EXPECT_EQ(Events.Lines, Lines{std::u16string(c.line)});
    }
    EXPECT_THAT(Service.Connects, IsEmpty());
}

TEST_F(SMSSenderTest, TlvRunningPastItsFrameIsIgnoredWithoutALine) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    Events.Lines.clear();
    auto reply = frames::CookieReply("h:1", Cookie);
    reply[reply.size() - Cookie.size() - 1] = 0xFF; // the cookie's length now claims 255 bytes
    Auth.Receive(reply);
    EXPECT_THAT(Events.Lines, IsEmpty());
    EXPECT_THAT(Service.Connects, IsEmpty());
}

TEST_F(SMSSenderTest, BadLoginAddressGivesOneLineAndNoConnection) {
    const struct {
        std::u16string host;
        std::u16string port;
        std::u16string_view line;
    } cases[] = {
        {u"", u"5190", u"Login server name is empty"},
        {u"  ", u"5190", u"Login server name is empty"},
        {u"h", u"", u"Login port must be a whole number from 1 to 65535"},
        {u"h", u"0", u"Login port must be a whole number from 1 to 65535"},
        {u"h", u"65536", u"Login port must be a whole number from 1 to 65535"},
        {u"h", u"51 90", u"Login port must be a whole number from 1 to 65535"},
        {u"h", u"-1", u"Login port must be a whole number from 1 to 65535"},
    };
    for (const auto& c : cases) {
        Events.Log.clear();
        Sender.ConnectReconnect(c.host, c.port);
        EXPECT_THAT(Events.Log, ElementsAre(u"NotReadyToSendMessage", u"line: " + std::u16string(c.line)));
    }
    EXPECT_THAT(Auth.Connects, IsEmpty());
    Sender.ConnectReconnect(u"h", u"65535");
    EXPECT_EQ(Auth.Connects.size(), 1u);
}

TEST_F(SMSSenderTest, AccountIsReadWhenTheHelloArrives) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    GlobalSettings.ICQUIN = u"424242";
    Auth.Receive(frames::Hello());
    EXPECT_EQ(ClientFrames::Tlv(Auth.Sent.at(0), 1), AsciiBytes("424242"));
}

TEST_F(SMSSenderTest, FramesThatComeAgainAreAnsweredAgain) {
    LogIn();
    Auth.Receive(frames::Hello());
    Service.Receive(frames::ServiceFamilies());
    EXPECT_EQ(Auth.Sent.size(), 2u);
    EXPECT_EQ(std::count(Events.Log.begin(), Events.Log.end(), u"ReadyToSendMessage"), 2);
    EXPECT_EQ(std::count(Events.Lines.begin(), Events.Lines.end(), u"Ready to send Message"), 2);
}

TEST_F(SMSSenderTest, FailedWriteReportsInsteadOfTheStageLine) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    Auth.FailWrites = true;
    Auth.Receive(frames::Hello());
    EXPECT_THAT(Events.Log, ElementsAre(u"NotReadyToSendMessage", u"line: Successfully connected",
                                        u"line: Connection error, must reconnect", u"MustReconnect"));
}

TEST_F(SMSSenderTest, SendingWithoutAServiceConnectionFails) {
    Send();
    Send(u"", u"");
    EXPECT_THAT(Events.Log, ElementsAre(u"line: Connection error, must reconnect", u"MustReconnect",
                                        u"line: Connection error, must reconnect", u"MustReconnect"));
    EXPECT_THAT(Service.Sent, IsEmpty());
}

TEST_F(SMSSenderTest, SocketErrorIsReportedWithItsOwnDescriptionOnly) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    Events.Log.clear();
    Auth.Fail(u"Connection refused");
    Service.Fail(u"The remote host closed the connection");
    EXPECT_THAT(Events.Log,
                ElementsAre(u"line: Connection refused", u"line: The remote host closed the connection"));
    EXPECT_EQ(Events.FullLines[0], u"12/5/2026 2:06:37 AM    Connection refused");
}

TEST_F(SMSSenderTest, ReconnectClosesBothAndContinuesTheSequenceNumbers) {
    LogIn();
    const auto lastSequence = SequenceOf(Service.Sent.back());
    const auto closes = Auth.Closes;
    Events.Log.clear();
    Sender.ConnectReconnect(u"login.example", u"5190");
    EXPECT_EQ(Auth.Closes, closes + 1);
    EXPECT_EQ(Service.Closes, closes + 1);
    EXPECT_THAT(Events.Log, ElementsAre(u"NotReadyToSendMessage"));
    Auth.Receive(frames::Hello());
    EXPECT_EQ(SequenceOf(Auth.Sent.back()), lastSequence + 1);
    // The meta request numbering starts again with the new session.
    Auth.Receive(frames::CookieReply("h:1", Cookie));
    Service.Receive(frames::Hello());
    Send();
    EXPECT_EQ(Service.Sent.back()[28], 0x01);
}

TEST_F(SMSSenderTest, LaterCookieReplacesTheEarlierOne) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    Auth.Receive(frames::CookieReply("h:1", Bytes("AAAA")));
    Auth.Receive(frames::CookieReply("h:2", Bytes("BBBB")));
    Service.Receive(frames::Hello());
    EXPECT_EQ(ClientFrames::Tlv(Service.Sent.at(0), 6), Bytes("BBBB"));
}

TEST_F(SMSSenderTest, FramesSplitAndJoinedInEveryWayAreEachHandled) {
    const auto serviceStream = Concat(
        {frames::Hello(), frames::ServiceFamilies(), frames::SmsReply("<deliverable>Yes</deliverable>")});
    const Lines expected{u"Redirected to another server", u"Sending Cookie", u"Ready to send Message",
                         u"Message successfully delivered"};
    for (std::size_t cut = 0; cut <= serviceStream.size(); ++cut) {
        Sender.ConnectReconnect(u"login.example", u"5190");
        Auth.Receive(Concat({frames::Hello(), frames::CookieReply("h:1", Cookie)}));
        Events.Lines.clear();
        Service.Receive(std::span(serviceStream).first(cut));
        Service.Receive(std::span(serviceStream).subspan(cut));
        EXPECT_EQ(Events.Lines, expected) << "cut at " << cut;
    }
    Sender.ConnectReconnect(u"login.example", u"5190");
    Auth.Receive(Concat({frames::Hello(), frames::CookieReply("h:1", Cookie)}));
    Events.Lines.clear();
    for (const auto byte : serviceStream) {
        Service.Receive(std::span(&byte, 1));
    }
    EXPECT_EQ(Events.Lines, expected);
}

TEST_F(SMSSenderTest, UnbuildableLoginSendsNothingAndNamesTheCause) {
    const struct {
        std::u16string uin;
        std::u16string password;
        std::u16string_view line;
    } cases[] = {
        {u"100200300", u"12345678901234567", u"Password is longer than 16 characters"},
        {u"100200300", u"p\u0416ss", u"Password holds a character that cannot be sent (Windows-1252 only)"},
        {u"1\u4E00", u"pass", u"ICQ number holds a character that cannot be sent (Windows-1252 only)"},
        {std::u16string(70000, u'1'), u"pass", u"ICQ number is too long"},
    };
    for (const auto& c : cases) {
        GlobalSettings.ICQUIN = c.uin;
        GlobalSettings.ICQPassword = c.password;
        Sender.ConnectReconnect(u"login.example", u"5190");
        Events.Lines.clear();
        Auth.Receive(frames::Hello());
        EXPECT_EQ(Events.Lines, (Lines{u"Successfully connected", std::u16string(c.line)}));
    }
    EXPECT_THAT(Auth.Sent, IsEmpty());
}

TEST_F(SMSSenderTest, UnbuildableMessageSendsNothingAndNamesTheCause) {
    LogIn();
    const auto sent = Service.Sent.size();
    const struct {
        std::u16string number;
        std::u16string text;
        std::u16string uin;
        std::u16string_view line;
    } cases[] = {
        {u"123", u"Hi", u"12x", u"ICQ number must be a whole number from 0 to 2147483647"},
        {u"123", u"Hi", u"2147483648", u"ICQ number must be a whole number from 0 to 2147483647"},
        {u"12\u0663", u"Hi", u"1",
         u"Telephone number holds a character that cannot be sent (Windows-1252 only)"},
        {u"123", u"\U0001F600", u"1", u"Message holds a character that cannot be sent (Windows-1252 only)"},
        {u"123", std::u16string(70000, u'x'), u"1", u"Message is too long to send"},
    };
    for (const auto& c : cases) {
        Events.Lines.clear();
        Sender.SendSMSMessage(c.number, c.text, u"1252", c.uin, u"TICQClient", u"Yes");
        EXPECT_EQ(Events.Lines, Lines{std::u16string(c.line)});
    }
    EXPECT_EQ(Service.Sent.size(), sent);
}

TEST_F(SMSSenderTest, PasswordNeverAppearsInAStatusLine) {
    GlobalSettings.ICQPassword = u"hunter2";
    LogIn();
    Send();
    Auth.Receive(frames::ErrorReply("0004"));
    GlobalSettings.ICQPassword = u"hunter2hunter2hunter2";
    Auth.Receive(frames::Hello());
    for (const auto& line : Events.FullLines) {
        EXPECT_EQ(line.find(u"hunter2"), std::u16string::npos);
    }
}

TEST_F(SMSSenderTest, ReconnectFromAnEventHandlerStopsTheOldStep) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    Events.OnReport = [this](const std::u16string& line) {
        if (line == u"Successfully connected") {
            Events.OnReport = nullptr;
            Sender.ConnectReconnect(u"other.example", u"5190");
        }
    };
    Auth.Receive(Concat({frames::Hello(), frames::Hello()}));
    EXPECT_THAT(Auth.Sent, IsEmpty());
    EXPECT_EQ(Auth.Connects.back().first, u"other.example");
    Auth.Receive(frames::Hello());
    EXPECT_EQ(Auth.Sent.size(), 1u);
}

} // namespace
