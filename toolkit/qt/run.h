#pragma once

namespace toolkit::qt {

// Runs the program on an existing QApplication: the start-up sequence, then the event
// loop until the program is ended. Returns the exit code.
int runProgram();

} // namespace toolkit::qt
