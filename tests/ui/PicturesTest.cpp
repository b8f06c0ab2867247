#include "ui/Pictures.h"
#include "ui/AboutFrm.h"
#include "ui/MainFrm.h"
#include "ui/MinMaxCloseButtons.h"
#include "ui/OkButton.h"
#include "ui/SendButton.h"
#include "ui/UserServerInfo.h"

#include "support/FakeDesktopIntegration.h"
#include "support/QtTestEnvironment.h"

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace pagewing;

namespace {

// The same pixels in one pixel format, so that two pictures compare by what they show.
QImage Pixels(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

// What a window draws in a rectangle given in logical pixels.
QImage Drawn(QWidget& window, const QRect& area) {
    return Pixels(window.grab(area).toImage());
}

// A 2x picture's pixels under a rectangle given in logical pixels.
QImage Dense(const char* path, const QRect& area) {
    return Pixels(
        QImage(QLatin1String(path)).copy(area.x() * 2, area.y() * 2, area.width() * 2, area.height() * 2));
}

void WriteImage(const QString& path, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(path));
}

} // namespace

// Runs as on a screen scaled to 200% (see main), where the windows must draw the 2x pictures one to one.
class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureKeepsItsLogicalSizeAtEachRatio_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("main background") << QStringLiteral(":/skins/main-background.png") << QSize(342, 459);
        QTest::newRow("main title") << QStringLiteral(":/skins/main-title.png") << QSize(342, 24);
        QTest::newRow("options") << QStringLiteral(":/skins/options.png") << QSize(245, 194);
        QTest::newRow("about") << QStringLiteral(":/skins/about.png") << QSize(365, 370);
        QTest::newRow("hand cursor") << QStringLiteral(":/cursors/hand.png") << QSize(32, 32);
        const std::pair<const char*, QSize> buttons[] = {{"buttons/send", {100, 20}},
                                                         {"buttons/clear", {100, 20}},
                                                         {"buttons/ok", {88, 18}},
                                                         {"buttons/cancel", {88, 18}},
                                                         {"buttons/close", {88, 18}}};
        for (const auto* state : {"normal", "hover", "pressed", "disabled"}) {
            for (const auto& [stem, size] : buttons) {
                const auto path =
                    QStringLiteral(":/%1-%2.gif").arg(QLatin1String(stem), QLatin1String(state));
                QTest::newRow(qPrintable(path)) << path << size;
            }
            for (const auto* caption : {"minimize", "maximize", "close"}) {
                const auto path =
                    QStringLiteral(":/caption/%1-%2.bmp").arg(QLatin1String(caption), QLatin1String(state));
                QTest::newRow(qPrintable(path)) << path << QSize(16, 16);
            }
        }
    }

    void everyPictureKeepsItsLogicalSizeAtEachRatio() {
        QFETCH(QString, path);
        QFETCH(QSize, size);

        const auto single = Pictures::Load(path, 1);
        QCOMPARE(single.size(), size);
        QCOMPARE(single.devicePixelRatio(), 1.0);
        QCOMPARE(Pixels(single.toImage()), Pixels(QImage(path)));

        // Ratio 2 must come from the 2x file itself, not from the 1x picture marked or scaled.
        const auto dense = Pictures::Load(path, 2);
        QCOMPARE(dense.devicePixelRatio(), 2.0);
        QCOMPARE(dense.size(), size * 2);
        QCOMPARE(dense.deviceIndependentSize().toSize(), size);

        const auto between = Pictures::Load(path, 1.5);
        QCOMPARE(between.devicePixelRatio(), 1.5);
        QCOMPARE(between.deviceIndependentSize().toSize(), size);
    }

    void anUnfit2xSiblingIsPassedOver_data() {
        QTest::addColumn<QSize>("sibling");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("missing") << QSize() << 1.0;
        QTest::newRow("too small") << QSize(15, 10) << 1.0;
        QTest::newRow("twice but not in height") << QSize(20, 12) << 1.0;
        QTest::newRow("twice") << QSize(20, 14) << 2.0;
    }

    void anUnfit2xSiblingIsPassedOver() {
        QFETCH(QSize, sibling);
        QFETCH(qreal, ratio);
        const QTemporaryDir folder;
        const auto path = folder.filePath(QStringLiteral("picture.bmp"));
        WriteImage(path, QSize(10, 7));
        if (sibling.isValid()) {
            WriteImage(folder.filePath(QStringLiteral("picture@2x.png")), sibling);
        }
        const auto picture = Pictures::Load(path, 2);
        QCOMPARE(picture.devicePixelRatio(), ratio);
        QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(10, 7));
    }

    void buttonsKeepTheirSizeAndClickAreaAndDrawThe2xPicture() {
        QCOMPARE(Pictures::ScreenRatio(), 2.0);
        SendButton send;
        QCOMPARE(send.size(), QSize(100, 20));
        QCOMPARE(send.sizeHint(), QSize(100, 20));
        QCOMPARE(OkButton().size(), QSize(88, 18));
        MinMaxCloseButtons caption;
        caption.SetButtonType(MinMaxCloseButtons::Minimize);
        QCOMPARE(caption.size(), QSize(16, 16));

        send.show();
        QSignalSpy click(&send, &ImageButton::Click);
        QTest::mouseClick(&send, Qt::LeftButton, {}, QPoint(99, 19));
        QCOMPARE(click.count(), 1);
        QCOMPARE(Drawn(send, send.rect()), Dense(":/buttons/send-normal@2x.png", send.rect()));
        QCOMPARE(Drawn(caption, caption.rect()), Dense(":/caption/minimize-normal@2x.png", caption.rect()));
    }

    void windowsKeepTheirSizeAndDrawThe2xSkins() {
        test::FakeDesktopIntegration desktop;
        AboutFrm about(desktop);
        QCOMPARE(about.size(), QSize(365, 370));
        const QRect aboutTitle(0, 0, 300, 24);
        QCOMPARE(Drawn(about, aboutTitle), Dense(":/skins/about@2x.png", aboutTitle));
        QCOMPARE(UserServerInfo(desktop).size(), QSize(245, 194));

        MainFrm main(desktop);
        QCOMPARE(main.size(), QSize(342, 459));
        const QRect title(0, 0, 280, 24);
        QCOMPARE(Drawn(main, title), Dense(":/skins/main-title@2x.png", title));
        // The card between the title strip and the number box, drawn by the background alone.
        const QRect card(11, 28, 300, 14);
        QCOMPARE(Drawn(main, card), Dense(":/skins/main-background@2x.png", card));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    test::IsolateUserFolders();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumenfold Pagewing"));
    QApplication::setOrganizationName(QStringLiteral("Lumenfold Pagewing"));
    PicturesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PicturesTest.moc"
