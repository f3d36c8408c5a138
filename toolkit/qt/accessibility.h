#pragma once

// What assistive technologies are told about the windows beyond what Qt's widgets tell them
// themselves: the dialogs are dialogs, and a notice is an alert that reads its caption.

namespace toolkit::qt {

// Once, before the first window is made.
void installAccessibility();

} // namespace toolkit::qt
