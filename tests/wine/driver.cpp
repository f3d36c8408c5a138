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
//   clock              the date and the time of the last three seconds, newest first, as the
//                      regional settings write them, and whether each was midnight
//   window TITLE       the frontmost shown window whose title begins so (another program's,
//                      such as the installer's), 0 where there is none, with every control in
//                      it: identifier, text, whether shown, and the state of a check box
//   parent HWND        the name of the program that started the window's process, "" where
//                      it has ended
//   run COMMAND        starts the command line as a deployment tool does, waits for it
//                      (a minute at most) and answers its exit code
//
// Started with arguments, as a planted uninstaller is, it only leaves a file NAME.ran beside
// itself, to say that it was run.

#include "forms/definitions.h"
#include "toolkit/win32/control_ids.h"

#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <map>
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

std::wstring widen(std::string_view text) {
    std::wstring out(text.size(), L'\0');
    out.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(),
                                   int(out.size())));
    return out;
}

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

// The name and the fields of a window. WM_GETTEXT is marshalled across processes: a
// control's text is known to its own process only.
void print(HWND w, std::string_view name, const forms::Rect& twips, int tab) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, 512, LPARAM(text), SMTO_ABORTIFHUNG, 5000, &copied);
    RECT r{}, c{};
    GetWindowRect(w, &r);
    GetClientRect(w, &c);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&c), 2);
    std::printf("%s:{\"hwnd\":%lld,\"text\":%s,\"visible\":%d,\"iconic\":%d,\"owner\":%lld,"
                "\"dpi\":%u,\"rect\":[%ld,%ld,%ld,%ld],\"client\":[%ld,%ld,%ld,%ld],"
                "\"twips\":[%d,%d,%d,%d],\"tab\":%d",
                quoted(name).c_str(), id(w), quoted(utf8(text)).c_str(), IsWindowVisible(w),
                IsIconic(w), id(GetWindow(w, GW_OWNER)), GetDpiForWindow(w), r.left, r.top, r.right,
                r.bottom, c.left, c.top, c.right, c.bottom, twips.left, twips.top, twips.width,
                twips.height, tab);
}

// A window of the program: the clock window, or a dialog known by its caption.
BOOL CALLBACK printForm(HWND w, LPARAM count) {
    wchar_t name[64] = {}, title[256] = {};
    GetClassNameW(w, name, 64);
    GetWindowTextW(w, title, 256);
    const bool clock = !lstrcmpW(name, clockWindowClass);
    if (!clock && lstrcmpW(name, dialogWindowClass))
        return TRUE;
    for (const forms::Form* form : {&forms::mainForm, &forms::form1, &forms::form2, &forms::form4})
        if (clock ? form == &forms::mainForm : utf8(title) == form->caption) {
            std::fputs((*reinterpret_cast<int*>(count))++ ? "," : "", stdout);
            print(w, form->name, {0, 0, form->clientWidth, form->clientHeight}, 0);
            std::printf(",\"controls\":{");
            int n = 0;
            for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                if (auto i = std::size_t(GetDlgCtrlID(c) - firstControlId);
                    i < form->controls.size()) {
                    std::fputs(n++ ? "," : "", stdout);
                    const forms::Control& def = form->controls[i];
                    print(c, def.name, def.twips, def.tabIndex);
                    std::printf("}");
                }
            std::printf("}}");
        }
    return TRUE;
}

std::wstring sentBack; // what the menu reader sent from the other process

LRESULT CALLBACK inbox(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message != WM_COPYDATA)
        return DefWindowProcW(window, message, w, l);
    const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(l);
    sentBack.assign(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
    return TRUE;
}

// Reads a menu bar in the process of its window: menu_reader.dll, hooked into that window's
// thread, answers a message sent to it.
bool printMenu(HWND window) {
    static const HMODULE reader = LoadLibraryW(L"menu_reader.dll");
    static const HWND answers = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                nullptr, nullptr, nullptr);
    SetWindowLongPtrW(answers, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(inbox));
    const auto readMenu = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(reader, "readMenu")));
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, readMenu, reader,
                                         GetWindowThreadProcessId(window, nullptr));
    sentBack.clear();
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, RegisterWindowMessageW(L"AlarmClock.ReadMenu"), WPARAM(answers), 0,
                        SMTO_NORMAL, 5000, &result);
    UnhookWindowsHookEx(hook);
    std::printf(",\"menu\":[");
    for (std::size_t at = 0, end; (end = sentBack.find(L'\n', at)) != std::wstring::npos;
         at = end + 1) {
        const std::size_t blank = sentBack.find(L' ', at);
        std::printf("%s[%s,%s]", at ? "," : "", utf8(sentBack.substr(at, blank - at)).c_str(),
                    quoted(utf8(sentBack.substr(blank + 1, end - blank - 1))).c_str());
    }
    std::printf("]");
    return hook && !sentBack.empty();
}

// The controls of another program's window, such as the installer's pages and message boxes.
BOOL CALLBACK printControl(HWND c, LPARAM count) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(c, WM_GETTEXT, 512, LPARAM(text), SMTO_ABORTIFHUNG, 5000, &copied);
    const auto type = GetWindowLongPtrW(c, GWL_STYLE) & BS_TYPEMASK;
    wchar_t name[64] = {};
    GetClassNameW(c, name, 64);
    const bool box =
        !lstrcmpiW(name, L"Button") && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX);
    std::printf("%s{\"id\":%d,\"text\":%s,\"shown\":%d,\"check\":%d}",
                (*reinterpret_cast<int*>(count))++ ? "," : "", GetDlgCtrlID(c),
                quoted(utf8(text)).c_str(), IsWindowVisible(c),
                box ? int(SendMessageW(c, BM_GETCHECK, 0, 0)) : -1);
    return TRUE;
}

HWND frontmost(std::string_view title) {
    const std::wstring wanted = widen(title);
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        wchar_t text[256] = {};
        GetWindowTextW(w, text, 256);
        if (IsWindowVisible(w) && std::wstring_view(text).starts_with(wanted))
            return w;
    }
    return nullptr;
}

void printWindow(std::string_view title) {
    const HWND w = frontmost(title);
    std::printf(",\"hwnd\":%lld,\"controls\":[", id(w));
    int count = 0;
    if (w)
        EnumChildWindows(w, printControl, LPARAM(&count));
    std::printf("]");
}

void printClock() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    ULARGE_INTEGER ticks{};
    SystemTimeToFileTime(&now, reinterpret_cast<FILETIME*>(&ticks));
    std::printf(",\"moments\":[");
    for (int ago = 0; ago < 3; ++ago, ticks.QuadPart -= 10'000'000) {
        SYSTEMTIME t{};
        FileTimeToSystemTime(reinterpret_cast<const FILETIME*>(&ticks), &t);
        wchar_t date[64] = {}, time[64] = {};
        GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, 64, nullptr);
        GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &t, nullptr, time, 64);
        std::printf("%s[%s,%s,%d]", ago ? "," : "", quoted(utf8(date)).c_str(),
                    quoted(utf8(time)).c_str(), !t.wHour && !t.wMinute && !t.wSecond);
    }
    std::printf("]");
}

void printParent(HWND window) {
    std::map<DWORD, std::pair<DWORD, std::wstring>> processes; // parent and name by identifier
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry))
        processes[entry.th32ProcessID] = {entry.th32ParentProcessID, entry.szExeFile};
    CloseHandle(snapshot);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    const std::wstring& name = processes[processes[process].first].second;
    std::printf(",\"parent\":%s", quoted(utf8(name)).c_str());
}

bool run(std::string_view command) {
    std::wstring line = widen(command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
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
        char path[MAX_PATH];
        bool done = true;
        if (command == "look") {
            const HWND front = GetForegroundWindow();
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(GetWindowThreadProcessId(front, nullptr), &info);
            RECT work{};
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            std::printf(",\"front\":%lld,\"focus\":%lld,\"work\":[%ld,%ld,%ld,%ld],\"forms\":{",
                        id(front), id(info.hwndFocus), work.left, work.top, work.right,
                        work.bottom);
            int count = 0;
            EnumWindows(printForm, LPARAM(&count));
            std::printf("}");
        } else if (command == "clock") {
            printClock();
        } else if (command.starts_with("window ")) {
            printWindow(command.substr(7));
        } else if (command.starts_with("run ")) {
            done = run(command.substr(4));
        } else if (std::sscanf(line, "parent %lld", &window) == 1) {
            printParent(reinterpret_cast<HWND>(window));
        } else if (std::sscanf(line, "menu %lld", &window) == 1) {
            done = printMenu(reinterpret_cast<HWND>(window));
        } else if (std::sscanf(line, "lock %259[^\n]", path) == 1) {
            if (held != INVALID_HANDLE_VALUE)
                CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
            else
                done = (held = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                           nullptr)) != INVALID_HANDLE_VALUE;
        } else {
            done = std::sscanf(line, "%lld %u %u", &window, &message, &w) == 3 &&
                   PostMessageW(reinterpret_cast<HWND>(window), message, w, 0);
        }
        if (!done)
            std::printf(",\"error\":%s", quoted(command).c_str());
        std::printf("}\n");
        std::fflush(stdout);
    }
}
