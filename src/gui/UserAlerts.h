#pragma once
// The program's modal message boxes and its short beep, each behind a replaceable
// handler so that tests can answer a box without a modal loop and count beeps.

#include "platform/Error.h"

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace tickforge {

// The application title: the caption of the error box and the program's name.
inline constexpr const char* ApplicationTitle = "Tickforge";

enum class AlertIcon { None, Stop };

struct AlertBox {
    QString text;
    QString title;
    AlertIcon icon = AlertIcon::None;
};

// A modal box with one OK button. An installed handler receives the box instead.
void ShowAlertBox(QWidget* parent, const AlertBox& box);

// The application's error box: captioned "Tickforge", a stop icon, one OK button, the
// message with its full stop (see ErrorBoxText).
void ShowErrorBox(QWidget* parent, const std::string& message);

// Runs step; an error it raises is shown in the application's error box (false then).
template <typename Step>
bool ShowErrorsOf(QWidget* parent, Step&& step)
{
    try {
        step();
        return true;
    } catch (...) {
        ShowErrorBox(parent, CurrentErrorMessage());
        return false;
    }
}

// A short system beep. An installed handler is called instead.
void SystemBeep();

// Installs a replacement (an empty function restores the real box / beep) and returns
// the one it replaces.
using AlertBoxHandler = std::function<void(const AlertBox&)>;
AlertBoxHandler SetAlertBoxHandler(AlertBoxHandler handler);
using BeepHandler = std::function<void()>;
BeepHandler SetBeepHandler(BeepHandler handler);

}  // namespace tickforge
