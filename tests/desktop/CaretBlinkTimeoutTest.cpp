#include "desktop/CaretBlinkTimeout.h"

#include "support/QtTestEnvironment.h"

#include <QLineEdit>
#include <QStyleHints>
#include <QTest>

using namespace pagewing;

class CaretBlinkTimeoutTest : public QObject {
    Q_OBJECT

private slots:
    void caretRestsWhenLeftAloneAndBlinksAgainAtTheNextKey() {
        auto* hints = QGuiApplication::styleHints();
        const auto flashTime = hints->cursorFlashTime();
        QVERIFY(flashTime > 0);
        QLineEdit field;
        field.show();
        {
            CaretBlinkTimeout caret(std::chrono::milliseconds(50));
            QCOMPARE(hints->cursorFlashTime(), flashTime);
            QTRY_COMPARE(hints->cursorFlashTime(), 0);
            // The key wakes the caret and still reaches the field.
            QTest::keyClick(&field, Qt::Key_A);
            QCOMPARE(hints->cursorFlashTime(), flashTime);
            QCOMPARE(field.text(), QStringLiteral("a"));
            QTRY_COMPARE(hints->cursorFlashTime(), 0);
        }
        // Gone, it leaves the desktop's flash time as it found it.
        QCOMPARE(hints->cursorFlashTime(), flashTime);
    }
};

PAGEWING_QTEST_MAIN(CaretBlinkTimeoutTest)
#include "CaretBlinkTimeoutTest.moc"
