#pragma once

// Where the windows of the Qt front-end go on the screen, and how they come to the front.

class QWidget;

namespace toolkit::qt {

// Shows a window, brings it to the front and makes it active.
void showInFront(QWidget& window);

// Centres a window on its screen's work area by its frame, as the user sees it, the first
// time it is shown, with the frame's top-left corner on the area.
void centreByFrame(QWidget& window);

} // namespace toolkit::qt
