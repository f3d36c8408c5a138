#include "toolkit/win32/run.h"

#include "platform/beep_queue.h"
#include "platform/windows/system_clock.h"
#include "platform/windows/system_sink.h"
#include "toolkit/win32/accessibility.h"
#include "toolkit/win32/toolkit.h"
#include "ui/program.h"

#include <commctrl.h>

#include <exception>

namespace toolkit::win32 {

int runProgram(HINSTANCE instance) noexcept {
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
        OutputDebugStringA(fault.what());
        return 1;
    } catch (...) {
        return 1;
    }
}

} // namespace toolkit::win32
