#include "WidgetPanel.h"

#include "UserAlerts.h"
#include "generation/DesignedPanel.h"
#include "platform/Error.h"

#include <QAbstractButton>
#include <QDateTimeEdit>
#include <QStringDecoder>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QWidget>

#include <cmath>
#include <utility>

namespace tickforge {

namespace {

template <typename T>
T& As(QWidget& widget, std::string_view control)
{
    if (auto* typed = qobject_cast<T*>(&widget))
        return *typed;
    throw Error("Control " + std::string(control) + " is of the wrong kind");
}

}  // namespace

QDate DateOfDays(DateTimeValue value)
{
    const CivilDate date = DecodeDate(value);
    return {date.year, date.month, date.day};
}

DateTimeValue DaysOfDate(QDate date) { return EncodeDate({date.year(), date.month(), date.day()}); }

WidgetPanel::WidgetPanel(QWidget& root, LocaleFormats formats) : formats_(std::move(formats))
{
    const auto children = root.findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (!child->objectName().isEmpty())
            widgets_.insert(child->objectName(), child);
    }
    for (QWidget* child : children) {
        if (auto* picker = qobject_cast<QDateTimeEdit*>(child))
            dates_.insert(picker, DaysOfDate(picker->date()));
    }
}

void WidgetPanel::CheckDesignedControls() const
{
    for (const DesignedControl& designed : DesignedPanel) {
        switch (designed.Kind) {
        case ControlKind::Text: Edit(designed.Name); break;
        case ControlKind::CheckBox:
        case ControlKind::Radio: Button(designed.Name); break;
        case ControlKind::Date: Picker(designed.Name); break;
        }
    }
}

QWidget& WidgetPanel::Widget(std::string_view control) const
{
    const auto found = widgets_.constFind(QString::fromUtf8(control.data(), static_cast<qsizetype>(control.size())));
    if (found == widgets_.constEnd())
        throw Error("The window has no control named " + std::string(control));
    return **found;
}

QLineEdit& WidgetPanel::Edit(std::string_view control) const { return As<QLineEdit>(Widget(control), control); }
QAbstractButton& WidgetPanel::Button(std::string_view control) const { return As<QAbstractButton>(Widget(control), control); }
QDateTimeEdit& WidgetPanel::Picker(std::string_view control) const { return As<QDateTimeEdit>(Widget(control), control); }

QString DecodedText(const std::string& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return text;
}

std::string WidgetPanel::Text(std::string_view control) const
{
    const QLineEdit& edit = Edit(control);
    // A text nobody edited goes back as the bytes it came from, whatever they were.
    const auto original = originals_.constFind(&edit);
    if (original != originals_.constEnd() && DecodedText(*original) == edit.text())
        return *original;
    return edit.text().toStdString();
}

void WidgetPanel::SetText(std::string_view control, const std::string& text)
{
    QLineEdit& edit = Edit(control);
    originals_.insert(&edit, text);
    const QString newText = DecodedText(text);
    if (edit.text() != newText)
        edit.setText(newText);  // textChanged runs the field's rule, nested if need be
}

bool WidgetPanel::Checked(std::string_view control) const
{
    return Button(control).isChecked();
}

void WidgetPanel::SetChecked(std::string_view control, bool checked)
{
    QAbstractButton& button = Button(control);
    if (button.isChecked() == checked)
        return;
    auto* radio = qobject_cast<QRadioButton*>(&button);
    if (radio && !checked && radio->autoExclusive()) {
        // An exclusive pair never lets go of its selection by itself; deselecting one
        // button is allowed to leave the pair empty.
        radio->setAutoExclusive(false);
        radio->setChecked(false);
        radio->setAutoExclusive(true);
        return;
    }
    button.setChecked(checked);  // toggled runs the box's rule
}

bool WidgetPanel::Enabled(std::string_view control) const
{
    return Widget(control).isEnabled();
}

void WidgetPanel::SetEnabled(std::string_view control, bool enabled)
{
    Widget(control).setEnabled(enabled);
}

DateTimeValue WidgetPanel::Date(std::string_view control) const
{
    const QDateTimeEdit& picker = Picker(control);
    return dates_.value(&picker, DaysOfDate(picker.date()));
}

void WidgetPanel::SetDate(std::string_view control, DateTimeValue value)
{
    QDateTimeEdit& picker = Picker(control);
    dates_.insert(&picker, value);
    const QSignalBlocker quiet(picker);  // a date set by code runs no rule
    picker.setDate(DateOfDays(value));
}

void WidgetPanel::AdoptPickedDate(QDateTimeEdit& picker)
{
    const DateTimeValue old = dates_.value(&picker, DaysOfDate(picker.date()));
    // Before day zero the fraction counts backwards, as the date-time values have it.
    const DateTimeValue timeOfDay = std::fabs(old - WholeDays(old));
    const DateTimeValue day = DaysOfDate(picker.date());
    dates_.insert(&picker, day < 0 ? day - timeOfDay : day + timeOfDay);
}

void WidgetPanel::Beep()
{
    SystemBeep();
}

}  // namespace tickforge
