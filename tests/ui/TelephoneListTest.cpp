#include "ui/TelephoneList.h"

#include "support/QtTestEnvironment.h"

#include <QTest>

using namespace pagewing;

class TelephoneListTest : public QObject {
    Q_OBJECT

private slots:
    void entriesInStoredOrder() {
        QCOMPARE(TelephoneList::Entries(QString()), QStringList());
        QCOMPARE(TelephoneList::Entries(QStringLiteral("0123,4567")), (QStringList{"0123", "4567"}));
        QCOMPARE(TelephoneList::Entries(QStringLiteral("a,,b,")), (QStringList{"a", "b"}));
    }

    void adding_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("result"); // null: not added
        QTest::newRow("first entry, no comma") << ""
                                               << "0123"
                                               << "0123";
        QTest::newRow("appended at the end") << "0123,4567"
                                             << "89"
                                             << "0123,4567,89";
        QTest::newRow("the same entry twice") << "0123,4567"
                                              << "4567" << QString();
        QTest::newRow("part of a stored entry") << "012345"
                                                << "1234"
                                                << "012345,1234";
        QTest::newRow("a stored entry is part of it") << "1234"
                                                      << "012345"
                                                      << "1234,012345";
        QTest::newRow("letter case counts") << "Ann 0123"
                                            << "ann 0123"
                                            << "Ann 0123,ann 0123";
        QTest::newRow("empty") << "0123"
                               << "" << QString();
        QTest::newRow("blank") << "0123"
                               << "   " << QString();
        QTest::newRow("comma stored as a space") << "0123"
                                                 << "Smith, Ann 555"
                                                 << "0123,Smith  Ann 555";
        QTest::newRow("comma form already stored") << "Smith  Ann 555"
                                                   << "Smith, Ann 555" << QString();
        QTest::newRow("name and number") << ""
                                         << "Ann Lee 0123"
                                         << "Ann Lee 0123";
    }

    void adding() {
        QFETCH(QString, stored);
        QFETCH(QString, entry);
        QFETCH(QString, result);
        const auto added = TelephoneList::WithEntry(stored, entry);
        QCOMPARE(added.has_value(), !result.isNull());
        if (added) {
            QCOMPARE(*added, result);
            QCOMPARE(TelephoneList::Entries(*added).constLast(), QString(entry).replace(u',', u' '));
        }
    }

    void destinationIsTheLastWord_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("number");
        QTest::newRow("number only") << "0123456"
                                     << "0123456";
        QTest::newRow("name and number") << "Ann Lee +4915550123"
                                         << "+4915550123";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("trailing space") << "Ann 0123 "
                                        << "";
    }

    void destinationIsTheLastWord() {
        QFETCH(QString, text);
        QFETCH(QString, number);
        QCOMPARE(TelephoneList::DestinationNumber(text), number);
    }
};

PAGEWING_QTEST_MAIN(TelephoneListTest)
#include "TelephoneListTest.moc"
