// Runs as on a screen scaled to 200%, where the windows must draw the 2x pictures one to one and keep their
// sizes and click areas in logical pixels.

#include "ui/Pictures.h"
#include "ui/AboutFrm.h"
#include "ui/MainFrm.h"
#include "ui/PictureButton.h"

#include "support/FakeDesktopIntegration.h"
#include "support/QtTestEnvironment.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

using namespace pagewing;

namespace {

// Read by the application that main() makes.
[[maybe_unused]] const bool ScaledScreen = qputenv("QT_SCALE_FACTOR", "2");

// The same pixels in one pixel format, so that two pictures compare by what they show.
QImage Pixels(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

// What a window draws in a rectangle given in logical pixels.
QImage Drawn(QWidget& window, const QRect& area) {
    return Pixels(window.grab(area).toImage());
}

// A 2x picture's pixels under a rectangle given in logical pixels.
QImage Dense(const QString& path, const QRect& area) {
    return Pixels(QImage(path).copy(area.x() * 2, area.y() * 2, area.width() * 2, area.height() * 2));
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureComesAtTwiceTheDensity() {
        QCOMPARE(Pictures::ScreenRatio(), 2.0);
        for (const auto* folder : {":/skins", ":/buttons", ":/caption", ":/cursors"}) {
            const QDir pictures(QLatin1String(folder), QStringLiteral("*"), QDir::Name, QDir::Files);
            QVERIFY(!pictures.isEmpty());
            for (const auto& path : pictures.entryList()) {
                if (path.contains(u"@2x")) {
                    continue;
                }
                const auto picture = pictures.filePath(path);
                // At 100% the 1x picture as it is; at 200% the 2x file itself, not the 1x picture marked or
                // scaled; in between, the 2x file resampled to the same logical size.
                QCOMPARE(Pixels(Pictures::Load(picture, 1).toImage()), Pixels(QImage(picture)));
                const auto dense = Pictures::Load(picture, 2);
                const auto sibling = picture.left(picture.lastIndexOf(u'.')) + QStringLiteral("@2x.png");
                QVERIFY2(dense.devicePixelRatio() == 2 && Pixels(dense.toImage()) == Pixels(QImage(sibling)),
                         qPrintable(picture));
                QCOMPARE(Pictures::Load(picture, 1.5).deviceIndependentSize().toSize(),
                         QImage(picture).size());
            }
        }
    }

    void buttonsDrawTheirStateAndClickWithTheLeftButtonOnly() {
        PictureButton send(PictureButton::SendButton, nullptr);
        send.show();
        QCOMPARE(send.size(), QSize(100, 20));
        // Inside the dotted frame that marks the focus.
        const auto inner = send.rect().adjusted(2, 2, -2, -2);
        const auto shows = [&](const char* state) {
            return Drawn(send, inner) ==
                   Dense(QStringLiteral(":/buttons/send-%1@2x.png").arg(QLatin1String(state)), inner);
        };
        QSignalSpy clicks(&send, &ImageButton::Click);
        QVERIFY(shows("normal"));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&send, &enter);
        QVERIFY(shows("hover"));
        for (const auto button : {Qt::RightButton, Qt::MiddleButton}) {
            QTest::mousePress(&send, button, {}, QPoint(10, 10));
            QVERIFY(shows("hover"));
            QTest::mouseRelease(&send, button, {}, QPoint(10, 10));
        }
        QTest::mousePress(&send, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(shows("pressed"));
        QTest::mouseRelease(&send, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(shows("hover"));
        // Disabled in its looks only; its far corner in logical pixels still clicks.
        send.SetEnable(false);
        QVERIFY(shows("disabled"));
        QTest::mouseClick(&send, Qt::LeftButton, {}, QPoint(99, 19));
        QCOMPARE(clicks.count(), 2);
        send.SetEnable(true);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&send, &leave);
        QVERIFY(shows("normal"));
    }

    void windowsKeepTheirSizeAndDrawThe2xSkins() {
        test::FakeDesktopIntegration desktop;
        AboutFrm about(desktop);
        const QRect aboutTitle(0, 0, 300, 24);
        QCOMPARE(Drawn(about, aboutTitle), Dense(QStringLiteral(":/skins/about@2x.png"), aboutTitle));
        MainFrm main(desktop);
        QCOMPARE(main.size(), QSize(342, 459));
        const QRect title(0, 0, 280, 24);
        QCOMPARE(Drawn(main, title), Dense(QStringLiteral(":/skins/main-title@2x.png"), title));
        // The card between the title strip and the number box, drawn by the background alone.
        const QRect card(11, 28, 300, 14);
        QCOMPARE(Drawn(main, card), Dense(QStringLiteral(":/skins/main-background@2x.png"), card));
    }
};

PAGEWING_QTEST_MAIN(PicturesTest)
#include "PicturesTest.moc"
