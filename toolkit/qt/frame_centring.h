#pragma once

class QWidget;

namespace toolkit::qt {

// Centres a window on its screen by its frame, as the user sees it, the first time it is
// shown, and keeps the frame's top-left corner on the screen's available area, so that
// the title bar stays within reach on a screen smaller than the window.
void CentreByFrame(QWidget& window);

} // namespace toolkit::qt
