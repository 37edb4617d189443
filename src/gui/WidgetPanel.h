#pragma once
// The parameter panel over the real widgets of a window, addressed by object name:
// QLineEdit for texts, QCheckBox and QRadioButton for ticks, QDateTimeEdit (or
// QDateEdit) for dates. Text and tick changes go through the widgets, so their change
// signals run the window's handlers exactly as a user's edit would.

#include "generation/PanelControls.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <string>

class QAbstractButton;
class QDateTimeEdit;
class QLineEdit;
class QWidget;

namespace tickforge {

class WidgetPanel final : public PanelControls {
public:
    TICKFORGE_PANEL_CONTROL_CALLS;

    WidgetPanel(QWidget& root, LocaleFormats formats);

    std::string Text(std::string_view control) const override;
    void SetText(std::string_view control, const std::string& text) override;
    bool Checked(std::string_view control) const override;
    void SetChecked(std::string_view control, bool checked) override;
    bool Enabled(std::string_view control) const override;
    void SetEnabled(std::string_view control, bool enabled) override;
    DateTimeValue Date(std::string_view control) const override;
    void SetDate(std::string_view control, DateTimeValue value) override;
    void Beep() override;
    const LocaleFormats& Formats() const override { return formats_; }

    // Raises the error of the first control of the designed panel that the window
    // lacks or has of another kind.
    void CheckDesignedControls() const;

    // A picker shows only the date but holds a full date-time value: when the user
    // picks another day, the value takes that day and keeps its time of day.
    void AdoptPickedDate(QDateTimeEdit& picker);

private:
    QWidget& Widget(std::string_view control) const;
    QLineEdit& Edit(std::string_view control) const;
    QAbstractButton& Button(std::string_view control) const;
    QDateTimeEdit& Picker(std::string_view control) const;

    QHash<QString, QWidget*> widgets_;
    QHash<const QDateTimeEdit*, DateTimeValue> dates_;
    QHash<const QLineEdit*, std::string> originals_;  // the bytes each text was set from
    LocaleFormats formats_;
};

// Bytes of a panel text as the fields show them: valid UTF-8 as UTF-8, anything else
// (such as a Latin-1 file of old) as Latin-1. Texts are written back as UTF-8 unless
// they are still what such bytes gave.
QString DecodedText(const std::string& bytes);

// Days since 30 December 1899 and calendar dates.
QDate DateOfDays(DateTimeValue value);
DateTimeValue DaysOfDate(QDate date);

}  // namespace tickforge
