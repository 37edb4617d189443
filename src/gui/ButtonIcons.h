#pragma once
// Pictures of the main window's picture buttons, drawn at run time so that they follow
// the screen's pixel ratio.

#include <QIcon>

namespace tickforge {

// Four arrows pointing out of a frame: "Expand Chart".
QIcon ExpandChartIcon();
// A round "i" badge: the about button.
QIcon AboutIcon();

}  // namespace tickforge
