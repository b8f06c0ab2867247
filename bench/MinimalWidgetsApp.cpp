// The smallest Qt Widgets program that shows a window: the yardstick for Pagewing's start-up time and memory.

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Minimal Qt Widgets program"));
    window.setWindowTitle(QStringLiteral("Minimal Widgets"));
    window.resize(342, 459);
    window.show();
    return QApplication::exec();
}
