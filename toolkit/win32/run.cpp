#include "toolkit/win32/run.h"

#include "platform/beep_queue.h"
#include "platform/windows/system_clock.h"
#include "platform/windows/system_sink.h"
#include "toolkit/win32/accessibility.h"
#include "toolkit/win32/text.h"
#include "toolkit/win32/toolkit.h"
#include "ui/program.h"

#include <commctrl.h>

#include <exception>
#include <string>

namespace toolkit::win32 {
namespace {

// A program without a console has no other place to say why it did not start.
void reportFailedStart(const char* reason) noexcept {
    OutputDebugStringA(reason);
    try {
        const std::wstring text =
            widen(std::string("目覚まし時計を起動できませんでした。\n\n") + reason);
        MessageBoxW(nullptr, text.c_str(), L"目覚まし時計", MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxW(nullptr, L"目覚まし時計を起動できませんでした。", L"目覚まし時計",
                    MB_OK | MB_ICONERROR);
    }
}

} // namespace

int runProgram(HINSTANCE instance) noexcept {
    // The chime holds the thread for its whole length, answering no message, as it is meant to.
    // On a slow processor it may take longer than the five seconds after which Windows puts a
    // "not responding" ghost in the window's place and offers to end the program: the window
    // stays the program's own, and the chime plays to its end.
    DisableProcessWindowsGhosting();
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const ComApartment com;
    try {
        platform::SystemClock clock;
        platform::QueuedBeeper beeper(platform::makeSystemSink());
        Win32Toolkit toolkit(instance);
        ui::Program program(toolkit, clock, beeper);
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            // The dialog keys first, then the window that the message is for.
            if (toolkit.dialogMessage(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return static_cast<int>(message.wParam);
    } catch (const std::exception& fault) {
        reportFailedStart(fault.what());
    } catch (...) {
        reportFailedStart("an unknown fault");
    }
    return 1;
}

} // namespace toolkit::win32
