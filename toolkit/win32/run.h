#pragma once

#include <windows.h>

namespace toolkit::win32 {

class Win32Toolkit;

// One message of the loop: the dialog keys first, then the window it is for.
void dispatch(const Win32Toolkit& toolkit, MSG& message);

// Runs the program: the start-up sequence, then the message loop until the program is
// ended. Returns the exit code.
int RunProgram(HINSTANCE instance) noexcept;

} // namespace toolkit::win32
