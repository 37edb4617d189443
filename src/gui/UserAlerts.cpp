#include "UserAlerts.h"

#include "generation/GenerationRun.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace tickforge {

namespace {

AlertBoxHandler& InstalledBoxHandler()
{
    static AlertBoxHandler handler;
    return handler;
}

BeepHandler& InstalledBeepHandler()
{
    static BeepHandler handler;
    return handler;
}

}  // namespace

void ShowAlertBox(QWidget* parent, const AlertBox& box)
{
    if (const AlertBoxHandler& handler = InstalledBoxHandler()) {
        handler(box);
        return;
    }
    QMessageBox message(box.icon == AlertIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon, box.title, box.text,
                        QMessageBox::Ok, parent);
    message.exec();
}

void ShowErrorBox(QWidget* parent, const std::string& message)
{
    ShowAlertBox(parent, AlertBox{QString::fromStdString(ErrorBoxText(message)), QString::fromUtf8(ApplicationTitle),
                                  AlertIcon::Stop});
}

void SystemBeep()
{
    if (const BeepHandler& handler = InstalledBeepHandler()) {
        handler();
        return;
    }
    QApplication::beep();
}

AlertBoxHandler SetAlertBoxHandler(AlertBoxHandler handler)
{
    return std::exchange(InstalledBoxHandler(), std::move(handler));
}

BeepHandler SetBeepHandler(BeepHandler handler)
{
    return std::exchange(InstalledBeepHandler(), std::move(handler));
}

}  // namespace tickforge
