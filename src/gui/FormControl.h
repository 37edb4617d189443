#pragma once
// A form's control found by its object name. A form that lacks it, or has it of
// another kind, is refused at once rather than when the control is first used.

#include "platform/Error.h"

#include <QString>
#include <QWidget>

namespace tickforge {

template <typename T>
T* FormControl(QWidget& form, const QString& name)
{
    T* control = form.findChild<T*>(name);
    if (control == nullptr)
        throw Error("The form " + form.objectName().toStdString() + " has no control " + name.toStdString() +
                    " of the expected kind");
    return control;
}

}  // namespace tickforge
