#include "ui/MinMaxCloseButtons.h"
#include "ui/SendButton.h"

#include "support/QtTestEnvironment.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

using namespace pagewing;

namespace {

void Enter(QWidget& widget) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&widget, &event);
}

void Leave(QWidget& widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&widget, &event);
}

} // namespace

class ImageButtonTest : public QObject {
    Q_OBJECT

private slots:
    void sizeComesFromThePicture() {
        SendButton send;
        QCOMPARE(send.size(), QSize(100, 20));
        send.resize(300, 300);
        QCOMPARE(send.size(), QSize(100, 20));
        MinMaxCloseButtons caption;
        QCOMPARE(caption.size(), QSize(16, 16));
    }

    void statesFollowPointerButtonAndEnable() {
        SendButton button;
        button.show();
        QCOMPARE(button.ButtonState(), ImageButton::Normal);
        Enter(button);
        QCOMPARE(button.ButtonState(), ImageButton::Hover);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(button.ButtonState(), ImageButton::Pressed);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(button.ButtonState(), ImageButton::Hover);

        button.SetEnable(false);
        QCOMPARE(button.ButtonState(), ImageButton::Disabled);
        button.SetEnable(true);
        QCOMPARE(button.ButtonState(), ImageButton::Hover);
        Leave(button);
        QCOMPARE(button.ButtonState(), ImageButton::Normal);
        button.SetEnable(false);
        button.SetEnable(true);
        QCOMPARE(button.ButtonState(), ImageButton::Normal);
    }

    void disabledButtonStillClicks() {
        SendButton button;
        button.show();
        button.SetEnable(false);
        QSignalSpy down(&button, &ImageButton::OnMouseDown);
        QSignalSpy up(&button, &ImageButton::OnMouseUp);
        QSignalSpy click(&button, &ImageButton::Click);
        QTest::mouseClick(&button, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(30, 7));
        QCOMPARE(down.count(), 1);
        QCOMPARE(up.count(), 1);
        QCOMPARE(click.count(), 1);
        QCOMPARE(down.at(0).at(0).toInt(), 1);
        QCOMPARE(down.at(0).at(1).toInt(), 3);
        QCOMPARE(down.at(0).at(2).toDouble(), 30.0);
        QCOMPARE(down.at(0).at(3).toDouble(), 7.0);
        QCOMPARE(button.ButtonState(), ImageButton::Disabled);
    }

    void rightAndMiddleButtonsRaiseNothingAndKeepThePicture() {
        SendButton button;
        button.show();
        Enter(button);
        QSignalSpy down(&button, &ImageButton::OnMouseDown);
        QSignalSpy up(&button, &ImageButton::OnMouseUp);
        QSignalSpy click(&button, &ImageButton::Click);
        for (const auto which : {Qt::RightButton, Qt::MiddleButton}) {
            QTest::mousePress(&button, which, {}, QPoint(10, 10));
            QCOMPARE(button.ButtonState(), ImageButton::Hover);
            QTest::mouseRelease(&button, which, {}, QPoint(10, 10));
        }
        QCOMPARE(down.count(), 0);
        QCOMPARE(up.count(), 0);
        QCOMPARE(click.count(), 0);
    }

    void keyboardClicks() {
        SendButton button;
        button.show();
        QVERIFY(button.focusPolicy() & Qt::TabFocus);
        QSignalSpy click(&button, &ImageButton::Click);
        QTest::keyClick(&button, Qt::Key_Space);
        QTest::keyClick(&button, Qt::Key_Return);
        QTest::keyClick(&button, Qt::Key_Enter);
        QTest::keyClick(&button, Qt::Key_A);
        QCOMPARE(click.count(), 3);
    }

    void captionButtonTypes() {
        MinMaxCloseButtons button;
        QCOMPARE(button.ButtonType(), 3);
        QCOMPARE(button.toolTip(), QStringLiteral("Close"));
        QCOMPARE(button.focusPolicy(), Qt::NoFocus);
        button.SetButtonType(1);
        QCOMPARE(button.toolTip(), QStringLiteral("Minimize"));
        button.SetButtonType(2);
        QCOMPARE(button.toolTip(), QStringLiteral("Maximize"));
        button.SetButtonType(7);
        QCOMPARE(button.ButtonType(), 7);
        QCOMPARE(button.toolTip(), QStringLiteral("Maximize"));
    }
};

PAGEWING_QTEST_MAIN(ImageButtonTest)
#include "ImageButtonTest.moc"
