#include "toolkit/win32/run.h"

// The clock takes no command-line arguments.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return toolkit::win32::runProgram(instance);
}
