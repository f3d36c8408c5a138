#pragma once

namespace ui {

// Runs the program on an existing QApplication: the start-up sequence, then the event
// loop until the program is ended. Returns the exit code.
int RunProgram();

} // namespace ui
