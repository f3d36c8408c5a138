// A screen reader's view of the clock, from a process of its own in the same Wine prefix and
// display: it finds the windows and reads and presses their controls through the Windows API
// only. One command a line on standard input, one line of JSON back, with "t" the moment it
// was carried out on Wine's clock (GetTickCount64, as in Wine's traces):
//
//   look               the foreground window, the focused control, the work area, and the
//                      program's windows front to back by form name, each with its controls
//                      by name, and with them their definitions (sizes and places in twips,
//                      tab numbers)
//   menu HWND          the window's menu bar, its items' identifiers and captions in order
//   HWND MSG WPARAM    PostMessage: menu commands, BM_CLICK, WM_CHAR, WM_SYSCOMMAND ...
//   lock PATH          holds the file open, shared with none, as another program may; the
//                      next lock lets it go
//   window TITLE       the frontmost shown window whose title begins so (another program's,
//                      such as the installer's), 0 where there is none, with every control in
//                      it: identifier, text, whether shown, and the state of a check box (-1
//                      for any other control)
//   run COMMAND        starts the command line as a deployment tool does, waits for it
//                      (a minute at most) and answers its exit code
//
// Started with arguments, as a planted uninstaller is, it only leaves a file NAME.ran beside
// itself, to say that it was run.

#include "forms/definitions.h"
#include "toolkit/win32/control_ids.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace {

using namespace toolkit::win32;

std::string utf8(std::wstring_view text) {
    std::string out(text.size() * 3, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(),
                                   int(out.size()), nullptr, nullptr));
    return out;
}

// A JSON string, with control characters as spaces.
std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += static_cast<unsigned char>(c) < ' ' ? ' ' : c;
    }
    return out + '"';
}

long long id(HWND window) { return reinterpret_cast<long long>(window); }

// The separator before an item of a list: none before the first.
const char* comma(LPARAM count) { return (*reinterpret_cast<int*>(count))++ ? "," : ""; }

// A window's text, quoted. WM_GETTEXT is marshalled across processes: a control's text is
// known to its own process only.
std::string text(HWND w) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, 512, LPARAM(text), SMTO_ABORTIFHUNG, 5000, &copied);
    return quoted(utf8(text));
}

// The name and the fields of a window of the program, with its definition's.
void print(HWND w, std::string_view name, const forms::Rect& twips, int tab) {
    RECT r{}, c{};
    GetWindowRect(w, &r);
    GetClientRect(w, &c);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&c), 2);
    std::printf("%s:{\"hwnd\":%lld,\"text\":%s,\"visible\":%d,\"iconic\":%d,\"owner\":%lld,"
                "\"dpi\":%u,\"rect\":[%ld,%ld,%ld,%ld],\"client\":[%ld,%ld,%ld,%ld],"
                "\"twips\":[%d,%d,%d,%d],\"tab\":%d",
                quoted(name).c_str(), id(w), text(w).c_str(), IsWindowVisible(w), IsIconic(w),
                id(GetWindow(w, GW_OWNER)), GetDpiForWindow(w), r.left, r.top, r.right, r.bottom,
                c.left, c.top, c.right, c.bottom, twips.left, twips.top, twips.width, twips.height,
                tab);
}

// A window of the program: the clock window, or a dialog known by its caption.
BOOL CALLBACK printForm(HWND w, LPARAM count) {
    wchar_t name[64] = {}, title[256] = {};
    GetClassNameW(w, name, 64);
    GetWindowTextW(w, title, 256);
    const bool clock = !lstrcmpW(name, clockWindowClass);
    for (const forms::Form* form : {&forms::mainForm, &forms::form1, &forms::form2, &forms::form4})
        if (clock ? form == &forms::mainForm
                  : !lstrcmpW(name, dialogWindowClass) && utf8(title) == form->caption) {
            std::printf("%s", comma(count));
            print(w, form->name, {0, 0, form->clientWidth, form->clientHeight}, 0);
            std::printf(",\"controls\":{");
            int n = 0;
            for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                if (auto i = std::size_t(GetDlgCtrlID(c) - firstControlId);
                    i < form->controls.size()) {
                    std::printf("%s", comma(LPARAM(&n)));
                    print(c, form->controls[i].name, form->controls[i].twips,
                          form->controls[i].tabIndex);
                    std::printf("}");
                }
            std::printf("}}");
        }
    return TRUE;
}

// Reads a menu bar in the process of its window: menu_reader.dll, hooked into that window's
// thread, answers a message sent to it with the bar as the text of a window of the driver's.
bool printMenu(HWND window) {
    static const HMODULE reader = LoadLibraryW(L"menu_reader.dll");
    static const HWND answer = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                               nullptr, nullptr, nullptr);
    const auto readMenu = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(reader, "readMenu")));
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, readMenu, reader,
                                         GetWindowThreadProcessId(window, nullptr));
    SetWindowTextW(answer, L"");
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, RegisterWindowMessageW(L"AlarmClock.ReadMenu"), WPARAM(answer), 0,
                        SMTO_NORMAL, 5000, &result);
    UnhookWindowsHookEx(hook);
    wchar_t bar[4096] = {};
    std::printf(",\"menu\":%s", GetWindowTextW(answer, bar, 4096) ? utf8(bar).c_str() : "[]");
    return hook && bar[0];
}

// A control of another program's window, such as the installer's pages and message boxes.
BOOL CALLBACK printControl(HWND c, LPARAM count) {
    wchar_t name[64] = {};
    GetClassNameW(c, name, 64);
    const auto type = GetWindowLongPtrW(c, GWL_STYLE) & BS_TYPEMASK;
    const bool box =
        !lstrcmpiW(name, L"Button") && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX);
    std::printf("%s{\"id\":%d,\"text\":%s,\"shown\":%d,\"check\":%d}", comma(count),
                GetDlgCtrlID(c), text(c).c_str(), IsWindowVisible(c),
                box ? int(SendMessageW(c, BM_GETCHECK, 0, 0)) : -1);
    return TRUE;
}

void printWindow(std::string_view title) {
    HWND w = GetTopWindow(nullptr);
    for (wchar_t text[256] = {}; w; w = GetWindow(w, GW_HWNDNEXT))
        if (GetWindowTextW(w, text, 256); IsWindowVisible(w) && utf8(text).starts_with(title))
            break;
    std::printf(",\"hwnd\":%lld,\"controls\":[", id(w));
    int count = 0;
    if (w)
        EnumChildWindows(w, printControl, LPARAM(&count));
    std::printf("]");
}

bool run(std::string command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    DWORD code = 0;
    const bool ended = WaitForSingleObject(process.hProcess, 60'000) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf(",\"exit\":%lu", code);
    return ended;
}

void look() {
    const HWND front = GetForegroundWindow();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(front, nullptr), &info);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    std::printf(",\"front\":%lld,\"focus\":%lld,\"work\":[%ld,%ld,%ld,%ld],\"forms\":{", id(front),
                id(info.hwndFocus), work.left, work.top, work.right, work.bottom);
    int count = 0;
    EnumWindows(printForm, LPARAM(&count));
    std::printf("}");
}

// The last three seconds as the user's regional settings write the date and the time, the
// date alone at 0:00:00, as the title shows them.
void printMoments() {
    ULARGE_INTEGER now{};
    GetSystemTimeAsFileTime(reinterpret_cast<FILETIME*>(&now));
    std::printf(",\"moments\":[");
    for (int ago = 0; ago < 3; ++ago, now.QuadPart -= 10'000'000) {
        FILETIME local{};
        SYSTEMTIME t{};
        FileTimeToLocalFileTime(reinterpret_cast<const FILETIME*>(&now), &local);
        FileTimeToSystemTime(&local, &t);
        wchar_t date[64] = {}, time[64] = {};
        GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, 64, nullptr);
        GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &t, nullptr, time, 64);
        const std::wstring title = t.wHour || t.wMinute || t.wSecond
                                       ? std::wstring(date) + L" " + time
                                       : std::wstring(date);
        std::printf("%s%s", ago ? "," : "", quoted(utf8(title)).c_str());
    }
    std::printf("]");
}

} // namespace

int main(int argc, char**) {
    if (argc > 1) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        CloseHandle(CreateFileW((std::wstring(self) + L".ran").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
        return 0;
    }
    // Coordinates in the screen's own pixels, whatever the desktop's scale.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    char line[1024];
    HANDLE held = INVALID_HANDLE_VALUE; // the file that lock holds
    while (std::fgets(line, sizeof line, stdin)) {
        std::printf("{\"t\":%llu", GetTickCount64());
        const std::string_view command(line, std::strcspn(line, "\r\n"));
        long long window = 0;
        unsigned message = 0, w = 0;
        bool done = true;
        if (command == "look")
            look();
        else if (command == "moments")
            printMoments();
        else if (command.starts_with("window "))
            printWindow(command.substr(7));
        else if (command.starts_with("run "))
            done = run(std::string(command.substr(4)));
        else if (std::sscanf(line, "menu %lld", &window) == 1)
            done = printMenu(reinterpret_cast<HWND>(window));
        else if (command.starts_with("lock ") && held != INVALID_HANDLE_VALUE)
            CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        else if (command.starts_with("lock "))
            done = (held = CreateFileA(std::string(command.substr(5)).c_str(), GENERIC_READ, 0,
                                       nullptr, OPEN_EXISTING, 0, nullptr)) != INVALID_HANDLE_VALUE;
        else
            done = std::sscanf(line, "%lld %u %u", &window, &message, &w) == 3 &&
                   PostMessageW(reinterpret_cast<HWND>(window), message, w, 0);
        if (!done)
            std::printf(",\"error\":%s", quoted(command).c_str());
        std::printf("}\n");
        std::fflush(stdout);
    }
}
