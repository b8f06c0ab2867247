#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

class QWidget;

namespace pagewing {

// The icon in the notification area. The desktop's activation reasons arrive as the classic mouse message
// numbers (513 to 518) and leave as six named events; a left click is 513 and 514, a right click 516 and
// 517, a double click 515.
class SysTray : public QObject {
    Q_OBJECT

public:
    explicit SysTray(QObject* parent = nullptr);

    void SysTrayInit(QWidget& Frm, const QString& Tip);
    // Changes the record's icon and tip; ModifyIconInSystemTray shows them.
    void SetIconAndTip(const QIcon& icon, const QString& tip);
    void AddIconToSystemTray();
    void ModifyIconInSystemTray();
    void RemoveIconFromSystemTray();
    // Raises the event whose message number equals Message exactly; anything else, 512 (a plain move over
    // the icon) and 513.5 included, raises nothing.
    void InterpretMouseCommand(float Message);

    QSystemTrayIcon& Icon() { return TrayIcon; }

signals:
    void MouseLeftButtonDown();
    void MouseLeftButtonUp();
    void MouseLeftButtonDblClick();
    void MouseRightButtonDown();
    void MouseRightButtonUp();
    void MouseRightButtonDblClick();

private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon TrayIcon;
    // What every add and modify shows.
    QIcon RecordIcon;
    QString RecordTip;
};

} // namespace pagewing
