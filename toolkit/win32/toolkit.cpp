#include "toolkit/win32/toolkit.h"

#include "toolkit/win32/clock_window.h"
#include "toolkit/win32/control_ids.h"
#include "toolkit/win32/dialog_window.h"
#include "toolkit/win32/errors.h"
#include "toolkit/win32/text.h"

#include <cstdio>

namespace toolkit::win32 {
namespace {

SYSTEMTIME systemTime(const engine::LocalDateTime& when) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(when.year);
    time.wMonth = static_cast<WORD>(when.month);
    time.wDay = static_cast<WORD>(when.day);
    time.wHour = static_cast<WORD>(when.hour);
    time.wMinute = static_cast<WORD>(when.minute);
    time.wSecond = static_cast<WORD>(when.second);
    return time;
}

// Asks once for the length and once for the text, as the formatting functions want it.
template <class Format> std::string formatted(Format format) {
    const int length = format(nullptr, 0);
    if (length <= 0)
        throwLastError("formatting a date or time");
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    text.resize(static_cast<std::size_t>(std::max(0, format(text.data(), length) - 1)));
    return narrow(text);
}

} // namespace

WindowClass::WindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure)
    : instance_(instance) {
    WNDCLASSEXW definition{};
    definition.cbSize = sizeof definition;
    definition.style = CS_HREDRAW | CS_VREDRAW;
    definition.lpfnWndProc = procedure;
    definition.hInstance = instance;
    definition.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    definition.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    definition.lpszClassName = name;
    atom_ = RegisterClassExW(&definition);
    if (!atom_)
        throwLastError("RegisterClassExW");
}

WindowClass::~WindowClass() { UnregisterClassW(MAKEINTATOM(atom_), instance_); }

Win32Toolkit::Win32Toolkit(HINSTANCE instance, NoticeObserver observer)
    : instance_(instance)
    , clockClass_(instance, clockWindowClass, NativeWindow::procedure)
    , dialogClass_(instance, dialogWindowClass, NativeWindow::procedure)
    , observer_(std::move(observer)) {}

std::unique_ptr<ui::ClockWindow> Win32Toolkit::createClockWindow(const forms::FormDefinition& form,
                                                                 ui::WindowEvents& events) {
    return std::make_unique<ClockWindow>(*this, form, events);
}

std::unique_ptr<ui::DialogWindow> Win32Toolkit::createDialog(const forms::FormDefinition& form,
                                                             ui::WindowEvents& events) {
    return std::make_unique<DialogWindow>(*this, form, events);
}

void Win32Toolkit::quit() { PostQuitMessage(0); }

// A peek for sent messages only delivers them to their windows and leaves the queue as it is.
void Win32Toolkit::answer() {
    MSG message{};
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// The program's clock window, the one window of its class on this thread.
HWND Win32Toolkit::window(ui::Owner owner) const {
    if (owner != ui::Owner::MainForm)
        return nullptr;
    struct Search {
        ATOM windowClass;
        HWND found = nullptr;
    } search{clockClass_.atom()};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM lparam) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lparam);
            if (GetClassLongPtrW(window, GCW_ATOM) != s.windowClass)
                return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Win32Toolkit::log(engine::FaultLog::Severity severity, const std::string& line) {
    const bool critical = severity == engine::FaultLog::Severity::Critical;
    const std::string text =
        std::string("alarmclock.faults: ") + (critical ? "critical: " : "warning: ") + line + "\n";
    OutputDebugStringW(widen(text).c_str());
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

void Win32Toolkit::logFault(const char* what) noexcept {
    try {
        log(engine::FaultLog::Severity::Critical,
            std::string("a window procedure failed: ") + what);
    } catch (...) {
        OutputDebugStringW(L"alarmclock: a window procedure failed\n");
    }
}

std::string Win32Toolkit::shortDate(const engine::LocalDateTime& when) {
    const SYSTEMTIME time = systemTime(when);
    return formatted([&time](wchar_t* text, int length) {
        return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text,
                               length, nullptr);
    });
}

std::string Win32Toolkit::longTime(const engine::LocalDateTime& when) {
    const SYSTEMTIME time = systemTime(when);
    return formatted([&time](wchar_t* text, int length) {
        return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, text, length);
    });
}

bool Win32Toolkit::dialogMessage(MSG& message) const {
    if (!message.hwnd)
        return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (!root || GetClassLongPtrW(root, GCW_ATOM) != dialogClass_.atom())
        return false;
    return IsDialogMessageW(root, &message) != FALSE;
}

} // namespace toolkit::win32
