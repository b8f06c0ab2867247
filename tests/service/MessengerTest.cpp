// The messaging service over a session whose servers the test plays, with timers on a fake clock and a real
// history in a private folder.

#include "service/Messenger.h"
#include "service/History.h"
#include "service/SessionRelay.h"
#include "service/StatusLine.h"
#include "session/GlobalSettings.h"
#include "session/SMSSender.h"

#include "support/FakeSessionSocket.h"
#include "support/FakeSessionTimers.h"
#include "support/QtTestEnvironment.h"
#include "support/RecordingEvents.h"
#include "support/ServerFrames.h"

#include <QTest>
#include <QUuid>

#include <memory>

using namespace std::chrono_literals;
using namespace pagewing;
using namespace pagewing::test;
using namespace pagewing::test::ServerFrames;

namespace {

const auto Yes = SmsReply("<deliverable>Yes</deliverable>");
const auto No = SmsReply("<deliverable>No</deliverable>");

// One run of the program: a session, its servers and the service over them, on a history file that outlives
// it, as the file outlives a killed program. Its name is nobody's lock, so to another run it is gone.
class Run {
public:
    explicit Run(const QString& historyFile, Messenger::Outbox outbox = Messenger::Outbox::Resumed)
        : Records(historyFile)
        , Messages(
              Session, Clock, Timers, Records, outbox, QUuid::createUuid().toString(),
              ReconnectBackoff([] { return 1.0; },
                               [this] { return ReconnectBackoff::Clock::time_point(Timers.Elapsed()); })) {
        Relay.RelayTo(Messages);
        QObject::connect(&Messages, &Messenger::Reported, [this](const StatusReport& report) {
            Lines.append(StatusLine::Undated(report.Shown()));
        });
        QObject::connect(
            &Messages, &Messenger::MessageFinished,
            [this](const MessageRecord& record, SendExit exit) { Ended.insert(record.Id, exit); });
    }

    void LogIn(bool byUser = true) {
        if (byUser) {
            Messages.LogIn();
        }
        Auth.Accept();
        Auth.Receive(Concat({Hello(), CookieReply("127.0.0.1:5191", Bytes("C0FFEE"))}));
        Service.Accept();
        Service.Receive(Concat({Hello(), ServiceFamilies()}));
    }

    std::optional<qint64> Submit(const QString& entry, MessageOrigin origin = MessageOrigin::Window) {
        return Messages.Submit({entry, QStringLiteral("Ann"), QStringLiteral("Hi"), origin});
    }

    // The destinations of the SMS requests written so far, on every connection, in order.
    QStringList Requests() const {
        QStringList destinations;
        for (const auto& frame : Service.Sent) {
            const auto text = QString::fromLatin1(reinterpret_cast<const char*>(frame.data()),
                                                  static_cast<qsizetype>(frame.size()));
            if (const auto at = text.indexOf(u"<destination>"); at >= 0) {
                destinations.append(text.mid(at + 13, text.indexOf(u"</destination>") - at - 13));
            }
        }
        return destinations;
    }

    MessageState StateOf(qint64 id) { return Records.Find(id).value().State; }

    FakeSessionSocket Auth;
    FakeSessionSocket Service;
    FixedClock Clock;
    FakeSessionTimers Timers;
    SessionRelay Relay;
    SMSSender Session{Auth, Service, Clock, Timers, Relay};
    History Records;
    Messenger Messages;
    QStringList Lines;
    // How each message ended for a command that waited for it.
    QHash<qint64, SendExit> Ended;
};

} // namespace

class MessengerTest : public QObject {
    Q_OBJECT

    QString File() const { return Folder.filePath(QStringLiteral("history.sqlite")); }

    QTemporaryDir Folder;

private slots:
    void init() {
        QFile::remove(File());
        GlobalSettings = {};
        GlobalSettings.LoginURL = u"login.example";
        GlobalSettings.LoginPort = u"5190";
        GlobalSettings.ICQUIN = u"100200300";
        GlobalSettings.ICQPassword = u"secret";
    }

    void outboxGoesOutOnceInOrderAfterTheLogin() {
        Run run(File());
        const auto first = run.Submit(QStringLiteral("Ann 5550101"));
        const auto second = run.Submit(QStringLiteral("5550102"));
        QVERIFY(!run.Submit(QStringLiteral("Ann")));
        QCOMPARE(run.Lines, (QStringList{"5550101: Queued: the message will be sent when connected",
                                         "5550102: Queued: the message will be sent when connected",
                                         "Not a phone number: Ann"}));
        QVERIFY(run.Requests().isEmpty());
        QCOMPARE(run.StateOf(*first), MessageState::Queued);

        run.LogIn();
        QCOMPARE(run.Requests(), (QStringList{"5550101", "5550102"}));
        QCOMPARE(run.StateOf(*second), MessageState::Sending);
        // Each answer goes to the request whose number it echoes, whatever the order.
        run.Service.Receive(Concat({MetaReply("DA07 0200 0100 46", AsciiBytes("No gateway")), Yes}));
        QCOMPARE(run.StateOf(*first), MessageState::Delivered);
        const auto refused = run.Records.Find(*second).value();
        QCOMPARE(refused.Outcome(), QStringLiteral("Refused (code 0x46): No gateway"));
        // Connected and idle: no timer of any kind.
        QCOMPARE(run.Timers.RunningTimers(), 0u);
        run.Submit(QStringLiteral("5550103"));
        QCOMPARE(run.Requests().size(), 3);
        // A request that cannot be built is not sent, for the session's reason.
        GlobalSettings.ICQUIN = u"12x";
        QCOMPARE(run.Records.Find(*run.Submit(QStringLiteral("5550104")))->Outcome(),
                 QStringLiteral("Not sent: ICQ number must be a whole number from 0 to 2147483647"));
    }

    void reconnectWaitsLongerEachTimeButNeverForARefusedAccount() {
        Run run(File());
        run.LogIn();
        const auto waitAfter = [&](const std::function<void()>& failure) {
            run.Lines.clear();
            failure();
            return run.Lines.isEmpty() ? QString() : run.Lines.constLast();
        };
        const auto lose = [&] {
            run.Service.Hangup();
        };
        QCOMPARE(waitAfter(lose), QStringLiteral("Reconnecting in 2 seconds"));
        run.Timers.Advance(1999ms);
        QCOMPARE(run.Auth.Connects.size(), 1u);
        run.Timers.Advance(1ms);
        QCOMPARE(run.Auth.Connects.size(), 2u);
        QCOMPARE(waitAfter([&] { run.Auth.Fail(u"Connection refused"); }),
                 QStringLiteral("Reconnecting in 4 seconds"));
        // The network coming back cuts the wait short.
        run.Messages.NetworkReachable();
        QCOMPARE(run.Auth.Connects.size(), 3u);
        // A server that drops the connection right after the login does not make the waits short again.
        run.LogIn(false);
        QCOMPARE(waitAfter(lose), QStringLiteral("Reconnecting in 8 seconds"));
        run.Timers.Advance(8s);
        run.LogIn(false);
        run.Timers.Advance(ReconnectBackoff::StableConnection);
        QCOMPARE(waitAfter(lose), QStringLiteral("Reconnecting in 2 seconds"));
        run.Timers.Advance(2s);
        QCOMPARE(waitAfter([&] { run.Auth.Receive(ErrorReply("0018")); }),
                 QStringLiteral("Reconnecting in 10 minutes"));
        run.Messages.NetworkReachable();
        QCOMPARE(run.Auth.Connects.size(), 5u);
        // The user's Reconnect starts over at once; a refused account then waits for the user, and a
        // command's message is not sent, for the reason the session gave.
        run.Messages.LogIn();
        const auto command = run.Submit(QStringLiteral("5550101"), MessageOrigin::CommandLine);
        const auto refused = QStringLiteral("Bad password (code 0x0005): Login failed");
        QCOMPARE(waitAfter([&] { run.Auth.Receive(ErrorReply("0005")); }),
                 QStringLiteral("5550101: The message was not sent: ") + refused);
        QCOMPARE(run.Records.Find(*command)->Detail, refused);
        QCOMPARE(run.Ended.value(*command), SendExit::LoginFailed);
        QCOMPARE(run.Messages.State(), Messenger::Connection::WaitingForUser);
        QCOMPARE(run.Timers.RunningTimers(), 0u);
        QCOMPARE(run.Auth.Connects.size(), 6u);
    }

    void aSecondLogOffForAnotherLoginWithinTenMinutesWaitsForTheUser() {
        Run run(File());
        run.Messages.LogIn();
        // Logged in 2 seconds on, then logged off for another login after being idle; the line that says
        // what follows.
        const auto loggedOffAfter = [&](std::chrono::milliseconds idle) {
            run.Timers.Advance(2s);
            run.LogIn(false);
            run.Timers.Advance(idle);
            run.Service.Receive(LogOff("0001", "New client with same uin connected"));
            return run.Lines.constLast();
        };
        const auto reconnecting = QStringLiteral("Reconnecting in 2 seconds");
        QCOMPARE(loggedOffAfter(0s), reconnecting);
        QCOMPARE(loggedOffAfter(Messenger::AnotherLoginWindow - 2s), reconnecting);
        QCOMPARE(loggedOffAfter(0s),
                 QStringLiteral("Not logging in again: another login with this account logged "
                                "this one off twice in 10 minutes; choose Reconnect to take "
                                "the account back"));
        run.Timers.Advance(Messenger::AnotherLoginWindow);
        QCOMPARE(std::pair(run.Messages.State(), run.Auth.Connects.size()),
                 std::pair(Messenger::Connection::WaitingForUser, std::size_t{3}));
    }

    void waitsAreToldToTheSecondUnderTenMinutes() {
        const std::chrono::milliseconds waits[] = {0ms,       1499ms,    59'000ms,  60'000ms, 61'000ms,
                                                   150'000ms, 599'000ms, 600'000ms, 630'000ms};
        const auto told =
            QStringList({"1 second", "1 second", "59 seconds", "1 minute", "1 minute 1 second",
                         "2 minutes 30 seconds", "9 minutes 59 seconds", "10 minutes", "11 minutes"});
        for (qsizetype i = 0; i < told.size(); ++i) {
            QCOMPARE(DurationText(waits[i]), told[i]);
        }
    }

    void requestLostWithItsConnectionIsUnknownAndNeverSentAgain() {
        Run run(File());
        run.LogIn();
        const auto id = run.Submit(QStringLiteral("5550101"));
        run.Timers.Advance(SMSSender::AnswerTimeout);
        QCOMPARE(run.StateOf(*id), MessageState::NoAnswerYet);
        run.Service.Hangup();
        QCOMPARE(run.StateOf(*id), MessageState::Unknown);
        QVERIFY(
            run.Lines.contains("5550101: The message may not have been delivered: the connection was lost "
                               "before the SMS gateway answered; Message History can send it again"));
        run.Timers.Advance(2s);
        run.LogIn(false);
        QCOMPARE(run.Requests(), QStringList{"5550101"});
    }

    void aRestartTakesUpWhatTheLastRunLeft() {
        {
            // The file as a killed run leaves it: every row as it was last written.
            History last(File());
            const std::tuple<const char*, MessageOrigin, MessageState> rows[] = {
                {"5550101", MessageOrigin::Window, MessageState::Queued},
                {"5550102", MessageOrigin::Window, MessageState::Queued},
                {"5550109", MessageOrigin::HandedOver, MessageState::Queued},
                {"5550108", MessageOrigin::Window, MessageState::Sending},
                {"5550103", MessageOrigin::Window, MessageState::Queued},
                {"5550107", MessageOrigin::CommandLine, MessageState::NoAnswerYet},
                // A command that still runs owns these: nobody else touches them.
                {"5550106", MessageOrigin::CommandLine, MessageState::Queued},
                {"5550105", MessageOrigin::Window, MessageState::Sending},
            };
            for (const auto& [number, origin, state] : rows) {
                MessageRecord record;
                record.Entry = record.Destination = QLatin1String(number);
                record.Text = QStringLiteral("Hi");
                record.Origin = origin;
                record.State = state;
                record.Run = QStringView(u"5550106 5550105").contains(record.Destination) ? ProgramRun::Own()
                                                                                          : QString();
                QVERIFY(last.Add(record));
            }
        }
        Run restarted(File());
        restarted.Messages.OpenHistory();
        QCOMPARE(restarted.Lines,
                 (QStringList{"2 messages of the last run may not have been delivered: see Message "
                              "History",
                              "3 messages queued in the last run will be sent when connected"}));
        restarted.LogIn();
        QCOMPARE(restarted.Requests(), (QStringList{"5550101", "5550102", "5550103"}));
        const auto destinations = [&](MessageState state) {
            QStringList numbers;
            for (const auto& record : restarted.Records.InState(state)) {
                numbers.append(record.Destination);
            }
            return numbers;
        };
        QCOMPARE(destinations(MessageState::NotSent), QStringList{"5550109"});
        QCOMPARE(destinations(MessageState::Unknown), (QStringList{"5550108", "5550107"}));
        QCOMPARE(destinations(MessageState::Queued), QStringList{"5550106"});
        QCOMPARE(destinations(MessageState::Sending),
                 (QStringList{"5550101", "5550102", "5550103", "5550105"}));
    }

    void aMessageEndedByAnotherRunEndsForItsCommandToo() {
        Run command(File(), Messenger::Outbox::OwnOnly);
        const auto id = command.Submit(QStringLiteral("Ann 5550101"), MessageOrigin::CommandLine);
        auto record = command.Records.Find(*id).value();
        record.State = MessageState::NotSent;
        record.Detail = QStringLiteral("withdrawn elsewhere");
        History elsewhere(File());
        QVERIFY(elsewhere.Open() && elsewhere.Update(record));
        command.LogIn();
        QVERIFY(command.Requests().isEmpty());
        QCOMPARE(command.Ended.value(*id), SendExit::LoginFailed);
        QCOMPARE(command.Lines.constLast(),
                 QStringLiteral("5550101: The message was not sent: withdrawn elsewhere"));
    }

    void aHistoryThatCannotBeWrittenSaysSoOnceAndSendingGoesOn() {
        QFile blocker(Folder.filePath(QStringLiteral("blocked")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        Run run(blocker.fileName() + QStringLiteral("/history.sqlite"));
        run.LogIn();
        run.Submit(QStringLiteral("5550101"));
        run.Submit(QStringLiteral("5550102"));
        QCOMPARE(run.Requests().size(), 2);
        QCOMPARE(run.Lines.filter(u"Message history cannot be kept").size(), 1);
        run.Service.Receive(Concat({Yes, SmsReply("<deliverable>No</deliverable>", 2)}));
        QCOMPARE(run.Lines.constLast(), QStringLiteral("5550102: Message was not delivered"));
    }
};

PAGEWING_QTEST_MAIN(MessengerTest)
#include "MessengerTest.moc"
