#include "platform/DesktopIntegration.h"
#include "platform/SingleCopy.h"
#include "platform/WinVersion.h"
#include "ui/MainFrm.h"
#include "ui/ProductInfo.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void Refuse(const QString& text) {
    QMessageBox::information(nullptr, QStringLiteral("Important"), text);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(pagewing::ProductInfo::Name);
    QApplication::setOrganizationName(pagewing::ProductInfo::Name);
    QApplication::setApplicationVersion(QStringLiteral("1.87"));
    QApplication::setDesktopFileName(QStringLiteral("com.lumenfold.Pagewing"));
    // The About window may stay open after the main window closed; closing the main window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    if (pagewing::WinVersion::IsUnsupportedSystem()) {
        Refuse(pagewing::ProductInfo::NameAndVersion +
               QStringLiteral(" works only with Windows 2000/XP or later!"));
        return 1;
    }
    pagewing::SingleCopy copy;
    if (!copy.TryAcquire()) {
        copy.AskRunningCopyToShow();
        Refuse(pagewing::ProductInfo::NameAndVersion + QStringLiteral(" already running!"));
        return 0;
    }

    pagewing::DesktopIntegration desktop;
    pagewing::MainFrm window(desktop);
    QObject::connect(&copy, &pagewing::SingleCopy::ShowRequested, &window, &pagewing::MainFrm::BringToFront);
    window.Load();
    return QApplication::exec();
}
