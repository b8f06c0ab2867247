#include "session/SMSSender.h"

#include "oscar/GlobalSequenceCounter.h"
#include "session/GlobalSettings.h"

#include "support/FakeSessionSocket.h"
#include "support/FakeSessionTimers.h"
#include "support/RecordingEvents.h"
#include "support/ServerFrames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <tuple>
#include <utility>

using namespace std::chrono_literals;
using namespace pagewing;
using namespace pagewing::test;
using namespace pagewing::test::ServerFrames;

namespace {

using Lines = std::vector<std::u16string>;
using Packet = std::vector<std::uint8_t>;

const Packet Cookie = Bytes("C0FFEE 0102030405060708 AB");
const Packet Yes = SmsReply("<deliverable>Yes</deliverable>");
const Packet No = SmsReply("<deliverable>No</deliverable>");
const Packet Refusal = MetaReply("DA07 0100 0100 46", {});
const Packet Denied = Snac(0x15, 0x01, Bytes("000D"));
const std::u16string Delivered = u"line #1: Message successfully delivered";
const std::u16string NotDelivered = u"line #1: Message was not delivered";
const std::u16string Closed = u"line: The server closed the connection, must reconnect";
const std::u16string Unasked =
    u"line: The SMS gateway sent a report for no message sent on this connection; it was ignored";

Lines Failed(std::u16string_view line, std::u16string_view why = {}) {
    return {u"line: " + std::u16string(line), u"SessionFailed" + std::u16string(why)};
}

Lines Refused(std::u16string_view line) {
    return Failed(line, u": account refused");
}

bool Holds(const Packet& packet, const Packet& part) {
    return std::search(packet.begin(), packet.end(), part.begin(), part.end()) != packet.end();
}

class SMSSenderTest : public ::testing::Test {
public:
    void SetUp() override {
        GlobalSequenceCounter::SequenceCounter = 0;
        GlobalSettings = {};
        GlobalSettings.ICQUIN = u"100200300";
        GlobalSettings.ICQPassword = u"secret";
    }

    void Connect() { Sender.ConnectReconnect(u"login.example", u"5190"); }

    // Connects to the authorization server, which then sends these bytes.
    void ConnectAndReceive(const Packet& bytes) {
        Connect();
        Auth.Accept();
        Auth.Receive(bytes);
    }

    // Everything up to the service hello, with both connects completed.
    void ConnectToService() {
        ConnectAndReceive(Concat({Hello(), CookieReply("127.0.0.1:5191", Cookie)}));
        Service.Accept();
        Service.Receive(Hello());
    }

    void LogIn() {
        ConnectToService();
        Service.Receive(ServiceFamilies());
    }

    SendAttempt Send(RequestTag tag = 1, const std::u16string& number = u"+15551234567",
                     const std::u16string& text = u"Ann:\r\nHi", const std::u16string& uin = u"100200300") {
        return Sender.SendSMSMessage(number, text, u"1252", uin, u"TICQClient", u"Yes", tag);
    }

    // The events that the replies raise after that many requests, tagged from 1 up.
    Lines Answers(int requests, const std::vector<Packet>& replies) {
        LogIn();
        for (int tag = 1; tag <= requests; ++tag) {
            Send(tag);
        }
        return LogOf([&] {
            for (const auto& reply : replies) {
                Service.Receive(reply);
            }
        });
    }

    // The events that one step raised.
    Lines LogOf(const std::function<void()>& step) {
        Events.Log.clear();
        step();
        return Events.Log;
    }

    FakeSessionSocket Auth;
    FakeSessionSocket Service;
    FixedClock Clock;
    FakeSessionTimers Timers;
    RecordingEvents Events;
    SMSSender Sender{Auth, Service, Clock, Timers, Events};
};

// Login

TEST_F(SMSSenderTest, LoginWalksEveryStageAndTheFirstMessageGoesOut) {
    Connect();
    EXPECT_EQ(Auth.Connects, Lines{u"login.example 5190"});
    // The account is read when the hello arrives: the options may have changed it since the connect.
    GlobalSettings.ICQUIN = u"424242";
    Auth.Receive(Hello());
    ASSERT_EQ(Auth.Sent.size(), 1u);
    EXPECT_TRUE(Holds(Auth.Sent[0], Concat({Bytes("0001 0006"), AsciiBytes("424242")})));

    Auth.Receive(Concat({CookieReply("127.0.0.1:5191", Cookie), Bytes("2A04")}));
    EXPECT_EQ(Service.Connects, Lines{u"127.0.0.1 5191"});
    // The cookie was all the authorization connection had to give: it is closed, whatever the server does.
    EXPECT_EQ(std::pair(Auth.Open, Sender.HeldBytes()), std::pair(false, std::size_t{0}));

    Service.Receive(Hello());
    ASSERT_EQ(Service.Sent.size(), 1u);
    EXPECT_TRUE(Holds(Service.Sent[0], Concat({Bytes("0006 000C"), Cookie})));
    // Too short for a SNAC, the second frame must not be taken for the first.
    Service.Receive(Concat({ServiceFamilies(), Bytes("2A02 0000 0002 0001")}));
    ASSERT_EQ(Service.Sent.size(), 2u);
    EXPECT_EQ(Packet(Service.Sent[1].begin() + 6, Service.Sent[1].begin() + 10), Bytes("0001 0002"));
    EXPECT_EQ(Timers.RunningTimers(), 0u) << "ready, though neither connect was ever confirmed";

    EXPECT_EQ(Send().What, SendAttempt::Kind::Written);
    EXPECT_EQ(Packet(Service.Sent[2].begin() + 6, Service.Sent[2].begin() + 10), Bytes("0015 0002"));
    EXPECT_TRUE(Holds(Service.Sent[2], AsciiBytes("<destination>+15551234567</destination>")));
    EXPECT_EQ(Events.Log,
              (Lines{u"NotReadyToSendMessage", u"line: Successfully connected",
                     u"line: Sending UIN and Password", u"line: Cookie successfully received",
                     u"line: Redirected to another server", u"line: Sending Cookie",
                     u"line: Ready to send Message", u"ReadyToSendMessage", u"line #1: Sending message"}));
}

TEST_F(SMSSenderTest, AuthorizationReplyGivesItsLinesAndItsConnect) {
    const auto noService = Failed(u"Login server did not name a service server");
    const std::u16string received = u"line: Cookie successfully received";
    auto pastItsFrame = CookieReply("h:1", Cookie);
    pastItsFrame[pastItsFrame.size() - Cookie.size() - 1] = 0xFF; // the cookie's length now claims 255 bytes
    const struct {
        std::string_view name;
        Packet reply;
        Lines log;
        Lines connects;
    } cases[] = {
        {"port after the first colon", CookieReply("bos:5191:x", Cookie), {received}, {u"bos 5191:x"}},
        {"IPv6 service address", CookieReply("[::1]:5191", Cookie), {received}, {u"::1 5191"}},
        {"no colon", CookieReply("bos", Cookie), noService, {}},
        {"IPv6 address without a port", CookieReply("[::1]5191", Cookie), noService, {}},
        {"no address", AuthorizationReply({Tlv(6, Cookie)}), noService, {}},
        // An empty TLV at the very end of a frame is not enumerated, so the empty cookie comes first.
        {"empty cookie",
         AuthorizationReply({Tlv(6, {}), Tlv(5, AsciiBytes("h:5191")), Tlv(8, Bytes("0005"))}),
         Failed(u"Login server sent an empty cookie"),
         {}},
        {"TLV past its frame", pastItsFrame, {}, {}},
        {"no hello on the login channel", Frame(1, Concat({Tlv(0, {1}), Tlv(5, {1})})), {}, {}},
        {"error code alone",
         AuthorizationReply({Tlv(8, Bytes("0007"))}),
         Refused(u"Non existant ICQ# (code 0x0007)"),
         {}},
        {"cookie and error",
         AuthorizationReply({Tlv(5, AsciiBytes("h:1")), Tlv(8, Bytes("0004")), Tlv(6, Cookie)}),
         {received, u"line: Bad password (code 0x0004)"},
         {u"h 1"}},
        {"cookie and code 0",
         AuthorizationReply({Tlv(5, AsciiBytes("h:1")), Tlv(8, Bytes("0000")), Tlv(6, Cookie)}),
         {received},
         {u"h 1"}},
    };
    for (const auto& c : cases) {
        Connect();
        Service.Connects.clear();
        EXPECT_EQ(LogOf([&] { Auth.Receive(c.reply); }), c.log) << c.name;
        EXPECT_EQ(Service.Connects, c.connects) << c.name;
    }
    // Each refusal names its code and the server's words, and says whether trying again can help.
    const std::tuple<std::string_view, std::u16string_view, std::u16string_view> refusals[] = {
        {"0001", u"Multiple logins on same UIN (code 0x0001)", u""},
        {"0005", u"Bad password (code 0x0005)", u": account refused"},
        {"0008", u"Non existant ICQ# (code 0x0008)", u": account refused"},
        {"0011", u"Account suspended (code 0x0011)", u": account refused"},
        {"0015", u"Too many clients from the same IP (code 0x0015)", u": rate limited"},
        {"0016", u"Too many clients from the same IP (code 0x0016)", u": rate limited"},
        {"0018", u"Connecting and disconnecting too quickly with the same login (code 0x0018)",
         u": rate limited"},
        {"001B", u"Old version of ICQ, need to upgrade (code 0x001B)", u": account refused"},
        {"001D", u"Probably you are disconnected too fast (code 0x001D)", u": rate limited"},
        {"001E", u"Can't register on ICQ network, try again soon (code 0x001E)", u""},
        {"0000", u"The server refused the login (code 0x0000)", u""},
        {"0000001B00", u"The server refused the login", u""},
        {"0142", u"The server refused the login (code 0x0142)", u""},
    };
    for (const auto& [code, line, why] : refusals) {
        Connect();
        EXPECT_EQ(LogOf([&] { Auth.Receive(ErrorReply(code)); }),
                  Failed(std::u16string(line) + u": Login failed", why));
    }
    EXPECT_EQ(std::pair(Events.LastEnd.Code, Events.LastEnd.ServerText),
              std::pair(0x142, std::u16string(u"Login failed")));
}

TEST_F(SMSSenderTest, UnusableLoginAddressGivesOneLineAndNoConnection) {
    const std::u16string noName = u"Login server name is empty";
    const std::u16string badPort = u"Login port must be a whole number from 1 to 65535";
    const struct {
        std::u16string host, port, line;
    } cases[] = {{u"", u"5190", noName},    {u"  ", u"5190", noName},  {u"h", u"", badPort},
                 {u"h", u"0", badPort},     {u"h", u"65536", badPort}, {u"h", u"51 90", badPort},
                 {u"h", u"005190", badPort}};
    for (const auto& c : cases) {
        EXPECT_EQ(LogOf([&] { Sender.ConnectReconnect(c.host, c.port); }),
                  (Lines{u"NotReadyToSendMessage", u"line: " + c.line, u"SessionFailed: account refused"}));
    }
    EXPECT_TRUE(Auth.Connects.empty());
    Sender.ConnectReconnect(u"h", u"1");
    Sender.ConnectReconnect(u"h", u"65535");
    EXPECT_EQ(Auth.Connects, (Lines{u"h 1", u"h 65535"}));
}

TEST_F(SMSSenderTest, UnbuildableLoginSendsNothingAndNamesTheCause) {
    const struct {
        std::u16string uin, password, line;
    } logins[] = {
        {u"100200300", u"12345678901234567", u"Password is longer than 16 characters"},
        {u"100200300", u"p\u0416ss", u"Password holds a character that cannot be sent (Windows-1252 only)"},
        {u"1\u4E00", u"pass", u"ICQ number holds a character that cannot be sent (Windows-1252 only)"},
        {std::u16string(70000, u'1'), u"pass", u"ICQ number is too long"},
    };
    for (const auto& c : logins) {
        GlobalSettings.ICQUIN = c.uin;
        GlobalSettings.ICQPassword = c.password;
        EXPECT_EQ(LogOf([&] { ConnectAndReceive(Hello()); }),
                  (Lines{u"NotReadyToSendMessage", u"line: Successfully connected", u"line: " + c.line,
                         u"SessionFailed: account refused"}));
    }
    EXPECT_TRUE(Auth.Sent.empty());
}

TEST_F(SMSSenderTest, MessageThatCannotGoOutSendsNothingAndSaysWhy) {
    const std::u16string badUin = u"ICQ number must be a whole number from 0 to 2147483647";
    const std::u16string notLoggedIn = u"Not logged in yet: the message was not sent";
    const struct {
        std::u16string number, text, uin, line;
    } messages[] = {
        // Never logged in yet; before client ready the server would take it for part of the login.
        {u"123", u"Hi", u"1", notLoggedIn},
        {u"123", u"Hi", u"", badUin},
        {u"123", u"Hi", u"12x", badUin},
        {u"123", u"Hi", u"2147483648", badUin},
        {u"12\u0663", u"Hi", u"1",
         u"Telephone number holds a character that cannot be sent (Windows-1252 only)"},
        {u"123", u"\U0001F600", u"1", u"Message holds a character that cannot be sent (Windows-1252 only)"},
        {u"123", std::u16string(70000, u'x'), u"1", u"Message is too long to send"},
    };
    for (const auto& c : messages) {
        const auto sent = Service.Sent.size();
        SendAttempt attempt;
        EXPECT_EQ(LogOf([&] { attempt = Send(9, c.number, c.text, c.uin); }), Lines{u"line #9: " + c.line});
        const auto kind =
            c.line == notLoggedIn ? SendAttempt::Kind::NotConnected : SendAttempt::Kind::NotBuilt;
        EXPECT_EQ(std::pair(attempt.What, attempt.Reason), std::pair(kind, c.line));
        EXPECT_EQ(Service.Sent.size(), sent);
        LogIn();
    }
}

TEST_F(SMSSenderTest, TheServiceServerGetsTheLatestCookieAndNothingBeforeOne) {
    Connect();
    EXPECT_EQ(LogOf([&] { Service.Receive(Hello()); }),
              (Lines{u"line: Redirected to another server",
                     u"line: No authorization cookie to present to this server", u"SessionFailed"}));
    EXPECT_TRUE(Service.Sent.empty());
    Auth.Receive(CookieReply("h:1", Bytes("AAAA")));
    Auth.Receive(CookieReply("h:2", Bytes("BBBB")));
    Service.Receive(Hello());
    EXPECT_TRUE(Holds(Service.Sent.at(0), Bytes("0006 0002 BBBB")));
}

// Streams and connections

TEST_F(SMSSenderTest, ReportBehindGarbageAndCutAnywhereIsHeard) {
    // Random bytes hold a '*' followed by a channel byte now and then; taken for a frame header, one would
    // have the session wait for a made-up frame and swallow the report behind it.
    for (const std::size_t length : {1u, 5u, 300u, 8000u, 30000u}) {
        for (unsigned seed = 1; seed <= 6; ++seed) {
            std::mt19937 random(seed);
            Packet stream(length);
            std::generate(stream.begin(), stream.end(), [&] { return static_cast<std::uint8_t>(random()); });
            LogIn();
            Send();
            Events.Lines.clear();
            stream = Concat({stream, Service.Numbered(No)});
            const auto cut = random() % stream.size();
            Service.ReceiveBytes(std::span(stream).first(cut));
            Service.ReceiveBytes(std::span(stream).subspan(cut));
            EXPECT_EQ(Events.Lines, Lines{u"Message was not delivered"})
                << length << " bytes, seed " << seed << ", cut at " << cut;
            EXPECT_EQ(Sender.HeldBytes(), 0u);
        }
    }
}

TEST_F(SMSSenderTest, AnswersAreReadAfterAFrameTooLongOrAJumpInTheNumbers) {
    LogIn();
    for (RequestTag tag = 1; tag <= 4; ++tag) {
        Send(tag);
    }
    Events.Lines.clear();
    const Packet garbage(FlapStreamReassembler::LongestLostStretch, 'A');
    Service.ReceiveBytes(garbage);
    // A reply whose frame has a payload of this many bytes; 27 of them come before the XML.
    const auto ofPayload = [](std::size_t size, std::string xml, std::uint8_t sequence) {
        xml.resize(size - 27, ' ');
        return SmsReply(xml, sequence);
    };
    // Longer than a server sends, and cut in two: skipped by its length.
    const auto tooLong = Service.Numbered(ofPayload(8193, "<deliverable>No</deliverable>", 1));
    Service.ReceiveBytes(std::span(tooLong).first(100));
    Service.ReceiveBytes(std::span(tooLong).subspan(100));
    ++Service.NextSequence;
    for (std::uint8_t sequence = 1; sequence <= 3; ++sequence) {
        Service.Receive(ofPayload(8192, "<deliverable>Yes</deliverable>", sequence));
    }
    Service.Receive(Snac(0x15, 0x03, Packet(64990, '<')));
    Service.Receive(SmsReply("<deliverable>No</deliverable>", 4));
    EXPECT_EQ(Events.Lines, (Lines{u"Message successfully delivered", u"Message successfully delivered",
                                   u"Message successfully delivered", u"Message was not delivered"}));
    // Bytes that hold no frame at all, more than any frame: the session must not stay ready and deaf.
    Service.ReceiveBytes(garbage);
    EXPECT_EQ(LogOf([&] { Service.ReceiveBytes(Bytes("41")); }),
              (Lines{u"line: The server sent data that cannot be read, must reconnect",
                     u"NotReadyToSendMessage", u"SessionFailed"}));
    EXPECT_FALSE(Service.Open);
}

TEST_F(SMSSenderTest, TheEndOfAConnectionOrAFailedWriteIsReportedWhileItMatters) {
    EXPECT_TRUE(LogOf([&] { Auth.Hangup(); }).empty()) << "no login yet";
    // Only a new login helps after a failed write.
    const Lines mustReconnect{u"line: Connection error, must reconnect", u"MustReconnect"};
    Auth.FailWrites = true;
    EXPECT_EQ(LogOf([&] { ConnectAndReceive(Hello()); }),
              (Lines{u"NotReadyToSendMessage", u"line: Successfully connected", mustReconnect[0],
                     mustReconnect[1]}));
    Auth.FailWrites = false;
    LogIn();
    Service.FailWrites = true;
    EXPECT_EQ(LogOf([&] { EXPECT_EQ(Send().What, SendAttempt::Kind::NotConnected); }), mustReconnect);
    Service.FailWrites = false;
    const Lines closed{Closed, u"NotReadyToSendMessage", u"SessionFailed"};
    const auto duringLogin = Failed(u"The server closed the connection during login");
    // The socket's own description, and which server it is about.
    Connect();
    EXPECT_EQ(LogOf([&] { Auth.Fail(u"Connection refused"); }),
              Failed(u"Connection refused by login.example:5190"));
    LogIn();
    EXPECT_EQ(LogOf([&] { Service.Hangup(); }), closed);
    LogIn();
    EXPECT_EQ(LogOf([&] { Service.Fail(u"Connection reset by peer"); }),
              (Lines{u"line: Connection reset by peer: 127.0.0.1:5191", u"NotReadyToSendMessage",
                     u"SessionFailed"}));
    EXPECT_TRUE(LogOf([&] { Service.Hangup(); }).empty()) << "the close after a reset";
    ConnectToService();
    EXPECT_EQ(LogOf([&] { Service.Hangup(); }), duringLogin) << "service closed before ready";
    ConnectAndReceive(Hello());
    EXPECT_EQ(LogOf([&] { Auth.Hangup(); }), duringLogin) << "authorization closed before its reply";
    EXPECT_EQ(Timers.RunningTimers(), 0u);
    ConnectAndReceive(ErrorReply("0005"));
    EXPECT_TRUE(LogOf([&] { Auth.Hangup(); }).empty()) << "the close after a refusal";
    LogIn();
    Send();
    EXPECT_TRUE(LogOf([&] { Auth.Hangup(); }).empty()) << "the authorization server closed";
    EXPECT_EQ(LogOf([&] { Connect(); }), Lines{u"NotReadyToSendMessage"}) << "our own reconnect";
    // The requests that waited are forgotten, and no new one goes out.
    LogIn();
    EXPECT_EQ(LogOf([&] { Service.Receive(Yes); }), Lines{Unasked})
        << "the request sent before our reconnect";
    Send();
    Service.Hangup();
    EXPECT_EQ(LogOf([&] { Send(); }), Lines{u"line #1: Not logged in yet: the message was not sent"});
    EXPECT_TRUE(LogOf([&] { Timers.Advance(SMSSender::AnswerTimeout); }).empty());
}

TEST_F(SMSSenderTest, ReconnectFromAnEventHandlerStopsTheOldStep) {
    // Logs in and sends a message, then runs the step with a handler that starts a new login on the event.
    const auto reconnectingOn = [&](const std::u16string& event, const std::function<void()>& step) {
        Service.FailWrites = false;
        LogIn();
        Send();
        bool reconnected = false;
        Events.OnEvent = [&](const std::u16string& entry) {
            if (entry == event && !std::exchange(reconnected, true)) {
                Connect();
            }
        };
        const auto log = LogOf(step);
        Events.OnEvent = nullptr;
        EXPECT_FALSE(Sender.IsReadyToSendMessage()) << "after " << testing::PrintToString(event);
        return log;
    };
    const auto twoHellos = Concat({Hello(), Hello()});
    EXPECT_EQ(reconnectingOn(u"line: Successfully connected", [&] { Auth.Receive(twoHellos); }),
              (Lines{u"line: Successfully connected", u"NotReadyToSendMessage"}));
    EXPECT_EQ(reconnectingOn(u"line: Redirected to another server", [&] { Service.Receive(Hello()); }),
              (Lines{u"line: Redirected to another server", u"NotReadyToSendMessage"}));
    EXPECT_EQ(reconnectingOn(u"NotReadyToSendMessage", [&] { Service.Hangup(); }),
              (Lines{Closed, u"NotReadyToSendMessage", u"NotReadyToSendMessage"}));
    // A new login started from the event of our own reconnect is the only login that goes on.
    const auto logins = Auth.Connects.size() + 2;
    EXPECT_EQ(reconnectingOn(u"NotReadyToSendMessage", [&] { Connect(); }),
              (Lines{u"NotReadyToSendMessage", u"NotReadyToSendMessage"}));
    EXPECT_EQ(Auth.Connects.size(), logins);
    const auto failingWrite = [&] {
        Service.FailWrites = true;
        Service.Receive(ServiceFamilies());
    };
    EXPECT_EQ(reconnectingOn(u"MustReconnect", failingWrite),
              (Lines{u"line: Connection error, must reconnect", u"MustReconnect", u"NotReadyToSendMessage"}));
    // Letter case ignored.
    const auto bothAnswers = SmsReply("<DELIVERABLE>YES</DELIVERABLE><deliverable>No</deliverable>");
    EXPECT_EQ(reconnectingOn(Delivered, [&] { Service.Receive(bothAnswers); }),
              (Lines{Delivered, u"NotReadyToSendMessage"}));
}

TEST_F(SMSSenderTest, DestroyedSessionClosesBothConnectionsAndHearsNoMore) {
    FakeSessionSocket auth;
    FakeSessionSocket service;
    {
        SMSSender session(auth, service, Clock, Timers, Events);
        session.ConnectReconnect(u"login.example", u"5190");
        auth.Closes = service.Closes = 0;
    }
    EXPECT_EQ(std::pair(auth.Closes, service.Closes), std::pair(1, 1));
    EXPECT_TRUE(LogOf([&] {
                    auth.Receive(Hello());
                    service.Fail(u"Connection reset by peer");
                }).empty());
}

// Requests and their answers

TEST_F(SMSSenderTest, EachReplyAnswersTheRequestWhoseNumberItEchoes) {
    EXPECT_EQ(Answers(1, {SmsReply("<deliverable>No</deliverable><deliverable>yes</deliverable>")}),
              (Lines{Delivered, NotDelivered, u"answered #1: not delivered"}));
    EXPECT_EQ(Events.LastAnswer.Code, 0) << "only a refusal has a code";
    // An SMS response without a marker answers all the same: the wait is over.
    EXPECT_EQ(
        Answers(1, {SmsReply("<deliverable>Maybe</deliverable>")}),
        (Lines{u"line #1: The SMS gateway answered without a delivery result", u"answered #1: no result"}));
    // A report no request waits for answers nothing, and says so once on each connection: one before any
    // answer, one addressed to another account, one repeated. A SNAC error names no request and answers the
    // oldest waiting; one too short to hold a code answers nothing.
    const auto otherAccount = Snac(0x15, 0x03, Tlv(1, Bytes("0B00 6DEFF805 DA07 0300 9600 0A")));
    const std::u16string denied = u": Message was not delivered: the server denied the request (code 0x000D)";
    EXPECT_EQ(
        Answers(3, {SmsReply("<deliverable>Yes</deliverable>", 7),
                    SmsReply("<deliverable>No</deliverable>", 2), otherAccount, Snac(0x15, 0x01, Bytes("00")),
                    Denied, No, SmsReply("", 2), SmsReply("<deliverable>Yes</deliverable>", 3)}),
        (Lines{Unasked, u"line #2: Message was not delivered", u"answered #2: not delivered",
               u"line #1" + denied, u"answered #1: refused", u"line #3: Message successfully delivered",
               u"answered #3: delivered"}));
    EXPECT_EQ(
        Answers(2, {Yes, Denied, Denied, Yes}),
        (Lines{Delivered, u"answered #1: delivered", u"line #2" + denied, u"answered #2: refused", Unasked}));
    EXPECT_EQ(Events.LastAnswer.Code, 0x0D);
    EXPECT_TRUE(LogOf([&] { Timers.Advance(SMSSender::AnswerTimeout); }).empty());
}

TEST_F(SMSSenderTest, RefusalsWithoutAMarkerSayWhy) {
    // The events that a reply to one request raises, followed by a refusal.
    const auto answerTo = [&](const Packet& reply) {
        return Answers(1, {reply, Refusal});
    };
    // The lines of a refusal, and then those of the refusal that follows it, which only a request still
    // waiting hears.
    const auto refused = [](const std::u16string& codeAndText, const Lines& after = {Unasked}) {
        auto lines = Lines{u"line #1: Message was not delivered: the server refused it (code " + codeAndText,
                           u"answered #1: refused"};
        lines.insert(lines.end(), after.begin(), after.end());
        return lines;
    };
    EXPECT_EQ(answerTo(MetaReply("DA07 0100 AE01 32", {})), refused(u"0x32)"));
    const auto text = AsciiBytes("Sorry, but SMS messages not implemented yet...");
    EXPECT_EQ(answerTo(MetaReply("DA07 0100 0100 46", Concat({text, Bytes("00 4142")}))),
              refused(u"0x46): Sorry, but SMS messages not implemented yet..."));
    EXPECT_EQ(Events.LastAnswer.Code, 0x46);
    EXPECT_EQ(Events.LastAnswer.ServerText, u"Sorry, but SMS messages not implemented yet...");
    EXPECT_EQ(answerTo(MetaReply("DA07 0100 0100 46", Bytes("20 4E 0A 6F 1F 20 80 C4 7F 20"))),
              refused(u"0x46): No \u20AC\u00C4"))
        << "control characters dropped, Windows-1252 kept";
    EXPECT_EQ(answerTo(MetaReply("DA07 0100 0100 FF", Packet(300, 'x'))),
              refused(u"0xFF): " + std::u16string(120, u'x')));
    const auto optionalData = Bytes("0015 0003 8000 00000000 0004 00010000");
    EXPECT_EQ(answerTo(Frame(2, Concat({optionalData, Packet(Yes.begin() + 16, Yes.end())}))),
              (Lines{Delivered, u"answered #1: delivered", Unasked}));
    // The server's own text is shown, never searched: it cannot fake a delivery.
    EXPECT_EQ(answerTo(MetaReply("DA07 0100 0100 46", AsciiBytes("<deliverable>Yes</deliverable>"))),
              refused(u"0x46): <deliverable>Yes</deliverable>"));
    // None of these parses as a meta reply, so none answers the request: the wrong meta type, a TLV or a
    // meta header cut short, a chunk size that disagrees with its TLV, another TLV.
    for (const auto& reply : {MetaReply("D007 0100 0100 46", {}), Snac(0x15, 0x03, Bytes("0001 00FF 0B00")),
                              Snac(0x15, 0x03, Tlv(1, Bytes("0700 6CEFF805 DA07 01"))),
                              Snac(0x15, 0x03, Tlv(1, Bytes("FFFF 6CEFF805 DA07 0100 0100 46"))),
                              Snac(0x15, 0x03, Tlv(2, Bytes("0B00 6CEFF805 DA07 0100 0100 46")))}) {
        EXPECT_EQ(answerTo(reply), refused(u"0x46)", {}));
    }
}

TEST_F(SMSSenderTest, LoggedOffByTheServerTheSessionEndsAndItsRequestsWithIt) {
    const std::tuple<Packet, std::u16string, std::u16string, int> cases[] = {
        {LogOff("0001", "New client with same uin connected"),
         u"Logged off by the server: another login with this account", u": another login", 1},
        {LogOff("0002", "Going down"), u"Logged off by the server (code 0x0002): Going down", u"", 2},
        {Frame(4, {}), u"Logged off by the server", u"", 0},
    };
    for (const auto& [frame, line, why, code] : cases) {
        LogIn();
        Send();
        // The server leaves the connection open and denies what comes after: the session hears none of it.
        EXPECT_EQ(LogOf([&] {
                      Service.Receive(Concat({frame, Denied}));
                      Timers.Advance(SMSSender::AnswerTimeout);
                  }),
                  (Lines{u"line: " + line, u"NotReadyToSendMessage", u"SessionFailed" + why}));
        EXPECT_EQ(std::pair(Service.Open, Events.LastEnd.Code), std::pair(false, code));
    }
    ConnectToService();
    EXPECT_EQ(LogOf([&] { Service.Receive(LogOff("0001", "New client with same uin connected")); }),
              Failed(u"Logged off by the server: another login with this account", u": another login"));
    EXPECT_EQ(Events.LastEnd.ServerText, u"New client with same uin connected");
}

// Silence

TEST_F(SMSSenderTest, SilenceAtEachStageGivesItsLineAfterItsTime) {
    // The events that the wait after a stage raised; none may come a millisecond early, and afterwards no
    // timer runs: nothing is pending, and only a new login does anything about the silence.
    const auto silence = [&](std::string_view stage, auto wait, const std::function<void()>& reach) {
        SCOPED_TRACE(stage);
        reach();
        EXPECT_TRUE(LogOf([&] { Timers.Advance(wait - 1ms); }).empty());
        const auto log = LogOf([&] { Timers.Advance(1ms); });
        EXPECT_EQ(Timers.RunningTimers(), 0u);
        return log;
    };
    EXPECT_EQ(silence("no TCP connection", 20s, [&] { Connect(); }),
              Failed(u"No connection to login.example:5190 after 20 seconds"));
    EXPECT_FALSE(Auth.Open) << "the connect that timed out is abandoned";
    EXPECT_EQ(
        silence("no service connection", 20s, [&] { ConnectAndReceive(CookieReply("[::1]:5191", Cookie)); }),
        Failed(u"No connection to [::1]:5191 after 20 seconds"));
    const auto stalled = Failed(u"The server stopped answering during login");
    EXPECT_EQ(silence("no hello", 30s, [&] { ConnectAndReceive({}); }), stalled);
    EXPECT_EQ(silence("no SNAC 01,03", 30s, [&] { ConnectToService(); }), stalled);
    EXPECT_TRUE(silence("login refused", 10min, [&] { ConnectAndReceive(ErrorReply("0005")); }).empty());
    EXPECT_TRUE(silence("login unbuildable", 10min, [&] {
                    GlobalSettings.ICQPassword = u"12345678901234567";
                    ConnectAndReceive(Hello());
                    GlobalSettings.ICQPassword = u"secret";
                }).empty());
    EXPECT_TRUE(silence("logged in", 10min, [&] { LogIn(); }).empty());
}

TEST_F(SMSSenderTest, EachUnansweredRequestIsReportedOnceAfterAMinute) {
    LogIn();
    Events.Lines.clear();
    Send(1);
    Timers.Advance(30s);
    Send(2);
    Timers.Advance(30s);
    Service.Receive(Yes);
    Timers.Advance(10min);
    // A late answer still counts.
    Service.Receive(SmsReply("<deliverable>No</deliverable>", 2));
    EXPECT_EQ(Events.Lines, (Lines{u"Sending message", u"Sending message",
                                   u"No answer from the SMS gateway yet", u"Message successfully delivered",
                                   u"No answer from the SMS gateway yet", u"Message was not delivered"}));
    EXPECT_EQ(std::count(Events.Log.begin(), Events.Log.end(), u"AnswerOverdue #1"), 1);
    EXPECT_EQ(std::count(Events.Log.begin(), Events.Log.end(), u"AnswerOverdue #2"), 1);
    EXPECT_EQ(Timers.RunningTimers(), 0u);
}

} // namespace
