#pragma once
// The parameter panel as the window-free code sees it: controls addressed by their
// object names (ebLength, cbSeedRandom, rbSoft, StartDate, ...). The desktop program
// implements it over its widgets; PanelRecord implements it in plain C++ for the
// command line and the tests.

#include "generation/DesignedPanel.h"
#include "platform/DateTime.h"
#include "platform/LocaleFormats.h"

#include <string>
#include <string_view>

namespace tickforge {

class PanelControls {
public:
    virtual ~PanelControls() = default;

    // Text fields. Setting a text that differs from the current one runs the field's
    // change rule (as a text field's change event would); the same text runs nothing.
    virtual std::string Text(std::string_view control) const = 0;
    virtual void SetText(std::string_view control, const std::string& text) = 0;

    // Check boxes and radio buttons. A check box's click rule runs whenever its state
    // changes. Selecting a radio button deselects its partner and runs the selected
    // button's rule; deselecting one runs nothing and may leave the pair empty.
    virtual bool Checked(std::string_view control) const = 0;
    virtual void SetChecked(std::string_view control, bool checked) = 0;

    virtual bool Enabled(std::string_view control) const = 0;
    virtual void SetEnabled(std::string_view control, bool enabled) = 0;

    // Date pickers (StartDate, EndDate): full date-time values. Setting one from code
    // runs no rule.
    virtual DateTimeValue Date(std::string_view control) const = 0;
    virtual void SetDate(std::string_view control, DateTimeValue value) = 0;

    // A short system beep: the only report of the panel's repair rules.
    virtual void Beep() = 0;

    // The user's formats for numeric texts.
    virtual const LocaleFormats& Formats() const = 0;

    // The same by the control's name in code.
    std::string Text(PanelControl c) const { return Text(ControlName(c)); }
    void SetText(PanelControl c, const std::string& text) { SetText(ControlName(c), text); }
    bool Checked(PanelControl c) const { return Checked(ControlName(c)); }
    void SetChecked(PanelControl c, bool checked) { SetChecked(ControlName(c), checked); }
    bool Enabled(PanelControl c) const { return Enabled(ControlName(c)); }
    void SetEnabled(PanelControl c, bool enabled) { SetEnabled(ControlName(c), enabled); }
    DateTimeValue Date(PanelControl c) const { return Date(ControlName(c)); }
    void SetDate(PanelControl c, DateTimeValue value) { SetDate(ControlName(c), value); }
};

// Derived panels bring the by-name-in-code calls into their own scope.
#define TICKFORGE_PANEL_CONTROL_CALLS        \
    using PanelControls::Text;               \
    using PanelControls::SetText;            \
    using PanelControls::Checked;            \
    using PanelControls::SetChecked;         \
    using PanelControls::Enabled;            \
    using PanelControls::SetEnabled;         \
    using PanelControls::Date;               \
    using PanelControls::SetDate

}  // namespace tickforge
