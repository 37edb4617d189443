#include "generation/PanelRecord.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using tickforge::PanelRecord;

namespace {

TEST(PanelRecord, ControlsAsDesigned)
{
    const PanelRecord panel;
    for (const tickforge::DesignedControl& designed : tickforge::DesignedPanel) {
        SCOPED_TRACE(designed.Name);
        EXPECT_EQ(panel.Enabled(designed.Name), designed.Enabled);
        if (designed.Kind == tickforge::ControlKind::Text) {
            EXPECT_EQ(panel.Text(designed.Name), designed.Text);
        } else if (designed.Kind != tickforge::ControlKind::Date) {
            EXPECT_EQ(panel.Checked(designed.Name), designed.Checked);
        }
    }
    EXPECT_EQ(panel.beepCount, 0);
}

TEST(PanelRecord, SelectingARadioButtonDeselectsItsPartner)
{
    PanelRecord panel;
    panel.SetChecked("rbCandle", true);
    EXPECT_FALSE(panel.Checked("rbBar"));
    panel.SetChecked("rbSoft", true);
    EXPECT_FALSE(panel.Checked("rbHard"));
    // Deselecting may leave the pair empty.
    panel.SetChecked("rbCandle", false);
    EXPECT_FALSE(panel.Checked("rbCandle") || panel.Checked("rbBar"));
}

TEST(PanelRecord, UnknownOrMismatchedControlsAreProgrammingErrors)
{
    PanelRecord panel;
    EXPECT_THROW((void)panel.Text("eblength"), std::logic_error);  // names match exactly
    EXPECT_THROW(panel.SetText("cbMin", "1"), std::logic_error);
    EXPECT_THROW((void)panel.Checked("ebLength"), std::logic_error);
    EXPECT_THROW(panel.ChangeDate("cbMin", 1.0), std::logic_error);
}

}  // namespace
