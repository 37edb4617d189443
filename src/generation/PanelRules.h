#pragma once
// The small rules that keep the parameter panel consistent. Each is named after the
// handler that runs it; the windows' handlers and PanelRecord call these, so the
// desktop program and the command line read the same settings to the same panel.

#include "generation/PanelControls.h"

namespace tickforge {

void cbMinClick(PanelControls& panel);
void cbMaxClick(PanelControls& panel);
void cbSeedRandomClick(PanelControls& panel);
void cbRandomPeriodClick(PanelControls& panel);
// A user's change of StartDate or EndDate.
void StartDateChange(PanelControls& panel);
void ebLengthChange(PanelControls& panel);
void ebRandomPeriodMinChange(PanelControls& panel);
void ebMinPriceChange(PanelControls& panel);

}  // namespace tickforge
