#include "session/SMSSender.h"

#include "oscar/GlobalSequenceCounter.h"
#include "oscar/SplitSNAC.h"
#include "session/GlobalSettings.h"

#include "support/FakeSessionSocket.h"
#include "support/FakeSessionTimers.h"
#include "support/RecordingEvents.h"
#include "support/ServerFrames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace pagewing;
using namespace pagewing::test;
namespace frames = pagewing::test::ServerFrames;

namespace {

using Lines = std::vector<std::u16string>;

const std::vector<std::uint8_t> Cookie = Bytes("C0FFEE 0102030405060708 AB");

class SMSSenderTest : public ::testing::Test {
public:
    void SetUp() override {
        GlobalSequenceCounter::SequenceCounter = 0;
        GlobalSettings = {};
        GlobalSettings.ICQUIN = u"100200300";
        GlobalSettings.ICQPassword = u"secret";
    }

    // Everything up to the service hello, with both connects completed.
    void ConnectToService(std::string_view serviceAddress = "127.0.0.1:5191") {
        Sender.ConnectReconnect(u"login.example", u"5190");
        Auth.Accept();
        Auth.Receive(frames::Hello());
        Auth.Receive(frames::CookieReply(serviceAddress, Cookie));
        Service.Accept();
        Service.Receive(frames::Hello());
    }

    void LogIn() {
        ConnectToService();
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
    FakeSessionTimers Timers;
    RecordingEvents Events;
    SMSSender Sender{Auth, Service, Clock, Timers, Events};
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

    const auto closes = Auth.Closes;
    Auth.Receive(frames::CookieReply("127.0.0.1:5191", Cookie));
    EXPECT_THAT(Service.Connects,
                ElementsAre(std::pair{std::u16string(u"127.0.0.1"), std::u16string(u"5191")}));
    // The cookie was all the authorization connection had to give: it is closed, whatever the server does.
    EXPECT_EQ(Auth.Closes, closes + 1);
    EXPECT_FALSE(Auth.Open);

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
    EXPECT_THAT(std::vector(Events.Log.end() - 2, Events.Log.end()),
                ElementsAre(u"line: Message successfully delivered", u"answered: delivered"));
    EXPECT_EQ(Timers.RunningTimers(), 0u);
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
        Send();
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
        EXPECT_THAT(Events.Log, ElementsAre(u"line: " + std::u16string(c.line), u"SessionFailed")) << c.code;
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
        {frames::Tlv(5, AsciiBytes("h:1")), frames::Tlv(8, Bytes("0004")), frames::Tlv(6, Cookie)}));
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
        {u"h", u"005190", u"Login port must be a whole number from 1 to 65535"},
    };
    for (const auto& c : cases) {
        Events.Log.clear();
        Sender.ConnectReconnect(c.host, c.port);
        EXPECT_THAT(Events.Log, ElementsAre(u"NotReadyToSendMessage", u"line: " + std::u16string(c.line),
                                            u"SessionFailed"));
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
    Sender.ConnectReconnect(u"login.example", u"5190");
    Auth.Receive(Concat({frames::Hello(), frames::Hello()}));
    EXPECT_EQ(Auth.Sent.size(), 2u);
    LogIn();
    Service.Receive(frames::ServiceFamilies());
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

TEST_F(SMSSenderTest, NoRequestGoesOutBeforeTheLoginHasFinished) {
    Send();
    ConnectToService();
    const auto sent = Service.Sent.size();
    Events.Log.clear();
    Send();
    EXPECT_THAT(Events.Log, ElementsAre(u"line: Not logged in yet: the message was not sent"));
    EXPECT_EQ(Service.Sent.size(), sent);
    EXPECT_EQ(Events.Lines.front(), u"Not logged in yet: the message was not sent");

    Service.Receive(frames::ServiceFamilies());
    Service.FailWrites = true;
    Events.Log.clear();
    Send();
    EXPECT_THAT(Events.Log, ElementsAre(u"line: Connection error, must reconnect", u"MustReconnect"));
}

TEST_F(SMSSenderTest, SocketErrorIsReportedWithItsOwnDescriptionOnly) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    Events.Log.clear();
    Auth.Fail(u"Connection refused");
    Service.Fail(u"Network unreachable");
    EXPECT_THAT(Events.Log, ElementsAre(u"line: Connection refused", u"SessionFailed",
                                        u"line: Network unreachable", u"SessionFailed"));
    EXPECT_EQ(Events.FullLines[0], u"12/5/2026 2:06:37 AM    Connection refused");
}

TEST_F(SMSSenderTest, ReconnectClosesBothAndContinuesTheSequenceNumbers) {
    LogIn();
    const auto lastSequence = SequenceOf(Service.Sent.back());
    const auto authCloses = Auth.Closes;
    const auto serviceCloses = Service.Closes;
    Events.Log.clear();
    Sender.ConnectReconnect(u"login.example", u"5190");
    EXPECT_EQ(Auth.Closes, authCloses + 1);
    EXPECT_EQ(Service.Closes, serviceCloses + 1);
    EXPECT_THAT(Events.Log, ElementsAre(u"NotReadyToSendMessage"));
    Auth.Receive(frames::Hello());
    EXPECT_EQ(SequenceOf(Auth.Sent.back()), lastSequence + 1);
    // The meta request numbering starts again with the new session.
    Auth.Receive(frames::CookieReply("h:1", Cookie));
    Service.Receive(Concat({frames::Hello(), frames::ServiceFamilies()}));
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
    const auto serviceStream =
        Concat({frames::Hello(), frames::ServiceFamilies(), frames::ServiceFamilies()});
    const Lines expected{u"Redirected to another server", u"Sending Cookie", u"Ready to send Message",
                         u"Ready to send Message"};
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

TEST_F(SMSSenderTest, BytesLeftFromAnEarlierConnectionAreDropped) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    Auth.Receive(Bytes("2A01 3039 00")); // the start of a hello
    Sender.ConnectReconnect(u"login.example", u"5190");
    Events.Lines.clear();
    Auth.Receive(frames::Hello());
    EXPECT_EQ(Events.Lines, (Lines{u"Successfully connected", u"Sending UIN and Password"}));
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
    const auto twoHellos = Concat({frames::Hello(), frames::Hello()});
    const auto bothAnswers = frames::SmsReply("<deliverable>Yes</deliverable><deliverable>No</deliverable>");
    const struct {
        std::u16string handler;
        std::function<void(SMSSenderTest&)> step;
        Lines expected;
    } cases[] = {
        {u"line: Successfully connected",
         [&](auto& t) { t.Auth.Receive(twoHellos); },
         {u"line: Successfully connected", u"NotReadyToSendMessage"}},
        {u"NotReadyToSendMessage",
         [](auto& t) { t.Service.Hangup(); },
         {u"line: The server closed the connection, must reconnect", u"NotReadyToSendMessage",
          u"NotReadyToSendMessage"}},
        {u"MustReconnect",
         [](auto& t) {
             t.Service.FailWrites = true;
             t.Service.Receive(frames::ServiceFamilies());
         },
         {u"line: Connection error, must reconnect", u"MustReconnect", u"NotReadyToSendMessage"}},
        {u"line: Message successfully delivered",
         [&](auto& t) { t.Service.Receive(bothAnswers); },
         {u"line: Message successfully delivered", u"NotReadyToSendMessage"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.handler));
        Service.FailWrites = false;
        LogIn();
        Send();
        Events.Log.clear();
        Events.OnEvent = [&](const std::u16string& entry) {
            if (entry == c.handler) {
                Events.OnEvent = nullptr;
                Sender.ConnectReconnect(u"other.example", u"5190");
            }
        };
        c.step(*this);
        EXPECT_EQ(Events.Log, c.expected);
        EXPECT_FALSE(Sender.IsReadyToSendMessage());
    }
}

TEST_F(SMSSenderTest, DestroyedSessionClosesBothConnectionsAndHearsNoMore) {
    FakeSessionSocket auth;
    FakeSessionSocket service;
    auto session = std::make_unique<SMSSender>(auth, service, Clock, Timers, Events);
    session->ConnectReconnect(u"login.example", u"5190");
    const auto authCloses = auth.Closes;
    const auto serviceCloses = service.Closes;
    session.reset();
    EXPECT_EQ(auth.Closes, authCloses + 1);
    EXPECT_EQ(service.Closes, serviceCloses + 1);
    Events.Log.clear();
    auth.Receive(frames::Hello());
    service.Fail(u"Connection reset by peer");
    EXPECT_THAT(Events.Log, IsEmpty());
}

TEST_F(SMSSenderTest, ServiceHelloBeforeAnyCookieSendsNothing) {
    Sender.ConnectReconnect(u"login.example", u"5190");
    Events.Log.clear();
    Service.Receive(frames::Hello());
    EXPECT_THAT(Events.Log,
                ElementsAre(u"line: Redirected to another server",
                            u"line: No authorization cookie to present to this server", u"SessionFailed"));
    EXPECT_THAT(Service.Sent, IsEmpty());
}

TEST_F(SMSSenderTest, RefusalsWithoutAMarkerSayWhyAndAnswerTheirRequest) {
    const auto serverText = AsciiBytes("Sorry, but SMS messages not implemented yet...");
    const auto refusal = frames::MetaReply("DA07 0100 0100 46", {});
    const struct {
        std::string_view name;
        std::vector<std::uint8_t> reply;
        Lines expected;
    } cases[] = {
        {"result byte without text",
         frames::MetaReply("DA07 0100 AE01 32", {}),
         {u"Message was not delivered: the server refused it (code 0x32)"}},
        {"zero-terminated text",
         frames::MetaReply("DA07 0100 0100 46", Concat({serverText, Bytes("00 4142")})),
         {u"Message was not delivered: the server refused it (code 0x46): Sorry, but SMS messages not "
          u"implemented yet..."}},
        {"control characters dropped, Windows-1252 kept",
         frames::MetaReply("DA07 0100 0100 46", Bytes("20 4E 0A 6F 09 20 80 C4 7F 20")),
         {u"Message was not delivered: the server refused it (code 0x46): No \u20AC\u00C4"}},
        {"text cut at 120 characters",
         frames::MetaReply("DA07 0100 0100 FF", std::vector<std::uint8_t>(300, 'x')),
         {u"Message was not delivered: the server refused it (code 0xFF): " + std::u16string(120, u'x')}},
        {"behind optional SNAC data",
         frames::Frame(2, Concat({Bytes("0015 0003 8000 00000000 0004 00010000"),
                                  std::vector(refusal.begin() + 16, refusal.end())})),
         {u"Message was not delivered: the server refused it (code 0x46)"}},
        {"marker wins over the result byte",
         frames::MetaReply("DA07 0100 9600 32", AsciiBytes("<deliverable>No</deliverable>")),
         {u"Message was not delivered"}},
        {"success without a marker", frames::MetaReply("DA07 0100 9600 0A", AsciiBytes("accepted")), {}},
        {"not a meta reply", frames::MetaReply("D007 0100 0100 46", {}), {}},
        {"cut short", frames::Snac(0x15, 0x03, frames::Tlv(1, Bytes("0B00 ACE5F805 DA07 01"))), {}},
        {"no TLV 1", frames::Snac(0x15, 0x03, frames::Tlv(2, Bytes("0B00 ACE5F805 DA07 0100 0100 46"))), {}},
    };
    LogIn();
    for (const auto& c : cases) {
        Send();
        Events.Lines.clear();
        Service.Receive(c.reply);
        EXPECT_EQ(Events.Lines, c.expected) << c.name;
        if (c.expected.empty()) {
            // Still waiting: the next answer is this request's.
            Service.Receive(refusal);
        }
    }
    Events.Lines.clear();
    Service.Receive(refusal);
    EXPECT_THAT(Events.Lines, IsEmpty());
}

TEST_F(SMSSenderTest, OnlyRequestsThatWaitGetAReport) {
    const auto yes = frames::SmsReply("<deliverable>Yes</deliverable>");
    const auto no = frames::SmsReply("<deliverable>No</deliverable>");
    const auto both = frames::SmsReply("<deliverable>Yes</deliverable><deliverable>No</deliverable>");
    const struct {
        int requests;
        std::vector<std::vector<std::uint8_t>> replies;
        std::vector<std::u16string> expected;
    } cases[] = {
        {0, {yes, no}, {}},
        {1, {yes, yes, no}, {u"line: Message successfully delivered", u"answered: delivered"}},
        {2,
         {no, yes, yes},
         {u"line: Message was not delivered", u"answered: not delivered",
          u"line: Message successfully delivered", u"answered: delivered"}},
        {1,
         {both, yes},
         {u"line: Message successfully delivered", u"line: Message was not delivered",
          u"answered: not delivered"}},
    };
    for (const auto& c : cases) {
        LogIn();
        for (int i = 0; i < c.requests; ++i) {
            Send();
        }
        Events.Log.clear();
        for (const auto& reply : c.replies) {
            Service.Receive(reply);
        }
        EXPECT_EQ(Events.Log, c.expected) << c.requests << " requests";
    }
}

TEST_F(SMSSenderTest, TheEndOfTheServiceConnectionIsReportedOnlyAfterLogin) {
    using Step = std::function<void(SMSSenderTest&)>;
    const Step logIn = [](auto& t) {
        t.LogIn();
    };
    const struct {
        std::string_view name;
        Step before;
        Step end;
        std::vector<std::u16string> expected;
    } cases[] = {
        {"closed after ready",
         logIn,
         [](auto& t) { t.Service.Hangup(); },
         {u"line: The server closed the connection, must reconnect", u"NotReadyToSendMessage",
          u"SessionFailed"}},
        {"reset with a socket error after ready",
         logIn,
         [](auto& t) {
             t.Service.Fail(u"Connection reset by peer");
             t.Service.Hangup();
         },
         {u"line: Connection reset by peer", u"SessionFailed",
          u"line: The server closed the connection, must reconnect", u"NotReadyToSendMessage",
          u"SessionFailed"}},
        {"closed before ready",
         [](auto& t) { t.ConnectToService(); },
         [](auto& t) { t.Service.Hangup(); },
         {}},
        {"authorization server closed", logIn, [](auto& t) { t.Auth.Hangup(); }, {}},
        {"our own reconnect",
         logIn,
         [](auto& t) { t.Sender.ConnectReconnect(u"h", u"1"); },
         {u"NotReadyToSendMessage"}},
    };
    for (const auto& c : cases) {
        c.before(*this);
        Events.Log.clear();
        c.end(*this);
        EXPECT_EQ(Events.Log, c.expected) << c.name;
    }
    LogIn();
    Send();
    Service.Hangup();
    Events.Lines.clear();
    Send();
    Timers.Advance(SMSSender::AnswerTimeout);
    EXPECT_EQ(Events.Lines, Lines{u"Not logged in yet: the message was not sent"});
}

TEST_F(SMSSenderTest, SilenceAtEachStageGivesItsLineAfterItsTime) {
    const Lines loginLines{u"Successfully connected", u"Sending UIN and Password",
                           u"Cookie successfully received", u"Redirected to another server",
                           u"Sending Cookie"};
    const auto connectOnly = [](auto& t) {
        t.Sender.ConnectReconnect(u"login.example", u"5190");
        t.Auth.Accept();
    };
    const struct {
        std::string_view name;
        std::function<void(SMSSenderTest&)> stage;
        std::chrono::milliseconds wait;
        Lines before;
        std::u16string_view timeout;
    } cases[] = {
        {"no TCP connection",
         [](auto& t) { t.Sender.ConnectReconnect(u"login.example", u"5190"); },
         20s,
         {},
         u"No connection to login.example:5190 after 20 seconds"},
        {"no service connection",
         [&](auto& t) {
             connectOnly(t);
             t.Auth.Receive(frames::CookieReply("[::1]:5191", Cookie));
         },
         20s,
         {u"Cookie successfully received"},
         u"No connection to [::1]:5191 after 20 seconds"},
        {"no hello", connectOnly, 30s, {}, u"The server stopped answering during login"},
        {"no SNAC 01,03", [](auto& t) { t.ConnectToService(); }, 30s, loginLines,
         u"The server stopped answering during login"},
        {"login refused",
         [&](auto& t) {
             connectOnly(t);
             t.Auth.Receive(frames::ErrorReply("0005"));
         },
         10min,
         {u"Bad password"},
         {}},
        {"connection refused",
         [](auto& t) {
             t.Sender.ConnectReconnect(u"login.example", u"5190");
             t.Auth.Fail(u"Connection refused");
         },
         10min,
         {u"Connection refused"},
         {}},
        {"logged in", [](auto& t) { t.LogIn(); }, 10min, {}, {}},
    };
    for (const auto& c : cases) {
        Events.Lines.clear();
        c.stage(*this);
        auto expected = c.name == "logged in" ? Lines(loginLines) : c.before;
        if (c.name == "logged in") {
            expected.push_back(u"Ready to send Message");
        }
        Timers.Advance(c.wait - 1ms);
        EXPECT_EQ(Events.Lines, expected) << c.name;
        Timers.Advance(1ms);
        if (!c.timeout.empty()) {
            expected.emplace_back(c.timeout);
        }
        EXPECT_EQ(Events.Lines, expected) << c.name;
        // Nothing runs while nothing is pending, and only a new login does anything about the silence.
        EXPECT_EQ(Timers.RunningTimers(), 0u) << c.name;
    }
    Sender.ConnectReconnect(u"login.example", u"5190");
    EXPECT_TRUE(Auth.Open);
    Timers.Advance(20s);
    EXPECT_FALSE(Auth.Open);
}

TEST_F(SMSSenderTest, EachUnansweredRequestIsReportedOnceAfterAMinute) {
    LogIn();
    Events.Lines.clear();
    Send();
    Timers.Advance(30s);
    Send();
    Timers.Advance(30s);
    Service.Receive(frames::SmsReply("<deliverable>Yes</deliverable>"));
    Timers.Advance(10min);
    // A late answer still counts for the oldest request.
    Service.Receive(frames::SmsReply("<deliverable>No</deliverable>"));
    EXPECT_EQ(Events.Lines, (Lines{u"Sending message", u"Sending message",
                                   u"No answer from the SMS gateway yet", u"Message successfully delivered",
                                   u"No answer from the SMS gateway yet", u"Message was not delivered"}));
    EXPECT_EQ(Timers.RunningTimers(), 0u);
}

TEST_F(SMSSenderTest, BracketedServiceAddressIsAnIPv6Host) {
    const struct {
        std::string_view address;
        std::optional<std::pair<std::u16string, std::u16string>> connect;
    } cases[] = {
        {"[::1]:5191", std::pair{u"::1", u"5191"}},
        {"[2001:db8::7]:443", std::pair{u"2001:db8::7", u"443"}},
        {"[::1]5191", std::nullopt},
        {"[::1", std::nullopt},
    };
    for (const auto& c : cases) {
        Service.Connects.clear();
        Sender.ConnectReconnect(u"login.example", u"5190");
        Events.Lines.clear();
        Auth.Receive(frames::CookieReply(c.address, Cookie));
        if (c.connect) {
            EXPECT_THAT(Service.Connects, ElementsAre(*c.connect)) << c.address;
        } else {
            EXPECT_THAT(Service.Connects, IsEmpty()) << c.address;
            EXPECT_EQ(Events.Lines, Lines{u"Login server did not name a service server"}) << c.address;
        }
    }
}

TEST_F(SMSSenderTest, FrameTooShortForASnacIsNotTakenForTheOneBefore) {
    LogIn();
    Send();
    Send();
    Events.Lines.clear();
    Service.Receive(
        Concat({frames::SmsReply("<deliverable>Yes</deliverable>"), Bytes("2A02 0000 0002 0015")}));
    EXPECT_EQ(Events.Lines, Lines{u"Message successfully delivered"});
}

TEST_F(SMSSenderTest, GarbageBeforeAReportIsSkippedAtEveryCut) {
    const auto stream =
        Concat({Bytes("2A 2A 00 41 2A 20 2A FF 10"), frames::SmsReply("<deliverable>Yes</deliverable>")});
    LogIn();
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        Send();
        Events.Lines.clear();
        Service.Receive(std::span(stream).first(cut));
        Service.Receive(std::span(stream).subspan(cut));
        EXPECT_EQ(Events.Lines, Lines{u"Message successfully delivered"}) << "cut at " << cut;
        EXPECT_EQ(Sender.HeldBytes(), 0u);
    }
}

} // namespace
