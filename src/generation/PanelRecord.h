#pragma once
// The parameter panel as a plain record: every control of the panel with its text or
// state, its enabled state and the rules that run when it changes, as the main window
// would run them. The command line and the tests use it in place of the windows.

#include "generation/DesignedPanel.h"
#include "generation/PanelControls.h"
#include "platform/DateTime.h"
#include "platform/LocaleFormats.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace tickforge {

class PanelRecord final : public PanelControls {
public:
    TICKFORGE_PANEL_CONTROL_CALLS;

    // The panel as designed, before the main window's creation sets the dates and
    // restores the settings.
    explicit PanelRecord(LocaleFormats formats = {});

    // The panel as the main window's creation leaves it before the settings are
    // restored: StartDate := now, then EndDate := now (read again) + ebLength's days.
    static PanelRecord AtCreation(LocaleFormats formats = {}, const std::function<DateTimeValue()>& now = NowLocal);

    // Unknown control names, or a name of the wrong kind of control, are programming
    // errors: they throw std::logic_error.
    std::string Text(std::string_view control) const override;
    void SetText(std::string_view control, const std::string& text) override;
    bool Checked(std::string_view control) const override;
    void SetChecked(std::string_view control, bool checked) override;
    bool Enabled(std::string_view control) const override;
    void SetEnabled(std::string_view control, bool enabled) override;
    DateTimeValue Date(std::string_view control) const override;
    void SetDate(std::string_view control, DateTimeValue value) override;
    void Beep() override { ++beepCount; }
    const LocaleFormats& Formats() const override { return formats_; }

    // A user's change of a date picker: sets the value, then runs StartDateChange.
    void ChangeDate(std::string_view control, DateTimeValue value);

    // How often the panel's repair rules have beeped.
    int beepCount = 0;

private:
    using Rule = void (*)(PanelRecord&);

    struct Control {
        ControlKind kind = ControlKind::Text;
        std::string text;
        bool checked = false;
        bool enabled = true;
        DateTimeValue date = 0.0;
        std::string partner;  // the other radio button of the pair
        Rule rule = nullptr;  // change rule of a text, click rule of a box or radio
    };

    Control& Find(std::string_view control, ControlKind kind);
    const Control& Find(std::string_view control, ControlKind kind) const;
    Control& FindAny(std::string_view control);
    const Control& FindAny(std::string_view control) const;

    std::map<std::string, Control, std::less<>> controls_;
    LocaleFormats formats_;
};

}  // namespace tickforge
