#include "toolkit/win32/run.h"

#include "toolkit/win32/accessibility.h"
#include "toolkit/win32/win32_toolkit.h"
#include "ui/program.h"

#include <commctrl.h>

#include <exception>

namespace toolkit::win32 {

void dispatch(const Win32Toolkit& toolkit, MSG& message) {
    if (toolkit.dialogMessage(message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int RunProgram(HINSTANCE instance) noexcept {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const ComApartment com;
    try {
        LocalClock clock;
        SystemBeeper beeper;
        Win32Toolkit toolkit(instance, clock, beeper);
        ui::Program program(toolkit);
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            dispatch(toolkit, message);
        return static_cast<int>(message.wParam);
    } catch (const std::exception& fault) {
        OutputDebugStringA(fault.what());
        return 1;
    } catch (...) {
        return 1;
    }
}

} // namespace toolkit::win32
