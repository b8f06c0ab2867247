#include "ui/MainFrm.h"
#include "ui/platform/WinVersion.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumenfold Pagewing"));
    QApplication::setOrganizationName(QStringLiteral("Lumenfold Pagewing"));
    QApplication::setApplicationVersion(QStringLiteral("1.87"));
    QApplication::setDesktopFileName(QStringLiteral("com.lumenfold.Pagewing"));

    if (pagewing::WinVersion::IsUnsupportedSystem()) {
        QMessageBox::information(nullptr, QStringLiteral("Important"),
                                 QStringLiteral("Lumenfold Pagewing v1.87 works only with Windows 2000/XP or later!"));
        return 1;
    }

    pagewing::MainFrm window;
    window.Load();
    return QApplication::exec();
}
