#pragma once
// Puts the panel options of the command line into the parameter panel, in the order a
// user would make the changes, through the panel's own rules.

#include "cli/CliOptions.h"
#include "generation/PanelControls.h"

#include <string>
#include <vector>

namespace tickforge::cli {

// Changes panel as the options say. A field that a panel rule repaired (a number of
// days below 1, a random minimum above the days, a negative minimum price, a text that
// is no number) is reported in notes. Raises CLI::ValidationError for a price bound
// with a random starting price and for a start date that is no date.
void ApplyPanelOptions(const CliOptions& options, PanelControls& panel, std::vector<std::string>& notes);

}  // namespace tickforge::cli
