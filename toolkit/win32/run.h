#pragma once

#include <windows.h>

namespace toolkit::win32 {

// Runs the program: the start-up sequence, then the message loop until the program is
// ended. Returns the exit code.
int runProgram(HINSTANCE instance) noexcept;

} // namespace toolkit::win32
