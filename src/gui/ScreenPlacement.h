#pragma once
// Places a top-level window in the middle of the screen it is on (the primary screen
// when it has none yet).

class QWidget;

namespace tickforge {

void CentreOnScreen(QWidget& window);

}  // namespace tickforge
