// A screen reader's view of the clock, from a process of its own in the same Wine prefix and
// display: it finds the windows and reads and presses their controls through the Windows API
// only. One command a line on standard input, one line of JSON back, with "t" the moment it
// was carried out on Wine's clock (GetTickCount64, as in Wine's traces). A window is written
// as its handle, text, whether shown, owner, DPI, frame and client area on the
// screen, and a check box's state (-1 for any other window):
//
//   look               the foreground window, the focused control, the work area, and the
//                      program's windows front to back by form name, each with its controls
//                      by name, and with them their definitions (sizes and places in twips,
//                      tab numbers)
//   HWND MSG WPARAM [LPARAM]  PostMessage: menu commands, BM_CLICK, WM_CHAR, EM_SETSEL ...
//   lock PATH          holds the file open, shared with none, as another program may; the
//                      next lock lets it go
//   window TITLE       the frontmost shown window whose title begins so (another program's,
//                      such as the installer's; a handle of 0 where there is none), with every
//                      control in it
//   run COMMAND        starts the command line as a deployment tool does, waits for it
//                      (a minute at most) and answers its exit code
//   now                hour, minute, second, and the title's date and time as the user's
//                      regional settings write them
//   ask HWND...        as a screen reader asks each window: WM_GETOBJECT and WM_GETTEXT sent,
//                      [answered, ms, read, ms, text] for each
//
// Started with arguments, as a planted uninstaller is, it only leaves a file NAME.ran beside
// itself, to say that it was run.

#include "forms/definitions.h"
#include "toolkit/win32/control_ids.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <utility>

namespace {

using namespace toolkit::win32;

std::string utf8(const wchar_t* text) {
    char out[16384] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out - 1, nullptr, nullptr);
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

// The separator before an item of the list whose count it is: none before the first.
const char* comma(LPARAM count) { return (*reinterpret_cast<int*>(count))++ ? "," : ""; }

// A window's fields, its object left open. WM_GETTEXT is marshalled across processes: a
// control's text is known to its own process only.
void print(HWND w) {
    wchar_t text[512] = {};
    SendMessageTimeoutW(w, WM_GETTEXT, 512, LPARAM(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    const bool box = SendMessageW(w, WM_GETDLGCODE, 0, 0) == DLGC_BUTTON; // a check box
    RECT r{}, c{};
    GetWindowRect(w, &r);
    GetClientRect(w, &c);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&c), 2);
    std::printf("{\"hwnd\":%lld,\"text\":%s,\"visible\":%d,\"owner\":%lld,"
                "\"dpi\":%u,\"check\":%d,\"rect\":[%ld,%ld,%ld,%ld],\"client\":[%ld,%ld,%ld,%ld]",
                id(w), quoted(utf8(text)).c_str(), IsWindowVisible(w), id(GetWindow(w, GW_OWNER)),
                GetDpiForWindow(w), box ? int(SendMessageW(w, BM_GETCHECK, 0, 0)) : -1, r.left,
                r.top, r.right, r.bottom, c.left, c.top, c.right, c.bottom);
}

// A window of the program: the clock window, or a dialog known by its caption.
BOOL CALLBACK printForm(HWND w, LPARAM count) {
    wchar_t kind[64] = {}, title[256] = {};
    GetClassNameW(w, kind, 64);
    GetWindowTextW(w, title, 256);
    for (const forms::FormDefinition* form : {&forms::mainFormDefinition, &forms::form1Definition,
                                              &forms::form2Definition, &forms::form4Definition}) {
        const bool clock = form == &forms::mainFormDefinition;
        if (lstrcmpW(kind, clock ? clockWindowClass : dialogWindowClass) ||
            (!clock && utf8(title) != form->caption))
            continue;
        std::printf("%s%s:", comma(count), quoted(form->name).c_str());
        print(w);
        std::printf(",\"twips\":[0,0,%d,%d],\"controls\":{", form->clientWidth, form->clientHeight);
        for (std::size_t i = 0; i < form->controls.size(); ++i) {
            const forms::Control& def = form->controls[i];
            std::printf("%s%s:", i ? "," : "", quoted(def.name).c_str());
            print(GetDlgItem(w, controlId(i)));
            std::printf(",\"twips\":[%d,%d,%d,%d],\"tab\":%d}", def.twips.left, def.twips.top,
                        def.twips.width, def.twips.height, def.tabIndex);
        }
        std::printf("}}");
    }
    return TRUE;
}

BOOL CALLBACK printControl(HWND c, LPARAM count) {
    std::printf("%s", comma(count));
    print(c);
    std::printf("}");
    return TRUE;
}

// Now as hour, minute and second, and the title's date and time as GetDateFormatEx and
// GetTimeFormatEx write them under the user's regional settings (the date alone at 0:00:00).
void printNow() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    wchar_t date[64] = {}, time[64] = {};
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, 64, nullptr);
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &t, nullptr, time, 64);
    std::string title = utf8(date);
    if (t.wHour || t.wMinute || t.wSecond)
        title.append(" ").append(utf8(time));
    std::printf(",\"now\":[%u,%u,%u,%s]", t.wHour, t.wMinute, t.wSecond, quoted(title).c_str());
}

// Starts the command line as a deployment tool does and waits for it, a minute at most.
bool run(const std::string& line) {
    std::string command = line;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD code = 0;
    const bool ended = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &startup, &process) &&
                       WaitForSingleObject(process.hProcess, 60'000) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread); // none where it did not start
    CloseHandle(process.hProcess);
    std::printf(",\"exit\":%lu", code);
    return ended;
}

// Each command prints its fields and says whether it was carried out; it takes the words after
// its name.
bool look(const std::string&) {
    GUITHREADINFO info{}; // the foreground thread's
    info.cbSize = sizeof info;
    GetGUIThreadInfo(0, &info);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    std::printf(",\"front\":%lld,\"focus\":%lld,\"work\":[%ld,%ld,%ld,%ld],\"forms\":{",
                id(info.hwndActive), id(info.hwndFocus), work.left, work.top, work.right,
                work.bottom);
    int count = 0;
    EnumWindows(printForm, LPARAM(&count));
    std::printf("}");
    return true;
}

bool window(const std::string& title) {
    HWND found = GetTopWindow(nullptr);
    for (wchar_t text[256] = {}; found; found = GetWindow(found, GW_HWNDNEXT))
        if (GetWindowTextW(found, text, 256);
            IsWindowVisible(found) && utf8(text).starts_with(title))
            break;
    std::printf(",\"window\":");
    print(found);
    std::printf(",\"controls\":[");
    int count = 0;
    if (found)
        EnumChildWindows(found, printControl, LPARAM(&count));
    std::printf("]}");
    return true;
}

bool now(const std::string&) {
    printNow();
    return true;
}

// Holds the file open, shared with none; the next lock lets it go.
bool lock(const std::string& path) {
    static HANDLE held = INVALID_HANDLE_VALUE;
    if (held != INVALID_HANDLE_VALUE) {
        CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        return true;
    }
    held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return held != INVALID_HANDLE_VALUE;
}

// As a screen reader asks a window of another process: its accessible object (WM_GETOBJECT) and
// its text (WM_GETTEXT), each sent and waited for; how long each took, in ms on Wine's clock.
bool ask(const std::string& windows) {
    std::printf(",\"answers\":[");
    std::istringstream handles(windows);
    const char* comma = "";
    for (long long handle = 0; handles >> handle; comma = ",") {
        const auto window = reinterpret_cast<HWND>(handle);
        DWORD_PTR object = 0, length = 0;
        wchar_t text[512] = {};
        const ULONGLONG asked = GetTickCount64();
        const bool answered = SendMessageTimeoutW(window, WM_GETOBJECT, 0, LPARAM(OBJID_CLIENT),
                                                  SMTO_NORMAL, 5000, &object);
        const ULONGLONG between = GetTickCount64();
        const bool got =
            SendMessageTimeoutW(window, WM_GETTEXT, 512, LPARAM(text), SMTO_NORMAL, 5000, &length);
        std::printf("%s[%d,%llu,%d,%llu,%s]", comma, answered, between - asked, got,
                    GetTickCount64() - between, quoted(utf8(text)).c_str());
    }
    std::printf("]");
    return true;
}

// "HWND MESSAGE WPARAM [LPARAM]": the message posted, as input or a command arrives.
bool post(const std::string& line) {
    long long window = 0, l = 0;
    unsigned message = 0, w = 0;
    return std::sscanf(line.c_str(), "%lld %u %u %lld", &window, &message, &w, &l) >= 3 &&
           PostMessageW(reinterpret_cast<HWND>(window), message, w, LPARAM(l));
}

struct Command {
    std::string_view name;
    bool (*carryOut)(const std::string& words);
};

constexpr Command commands[] = {{"look", look}, {"window", window}, {"now", now},
                                {"run", run},   {"lock", lock},     {"ask", ask}};

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
    for (char line[1024]; std::fgets(line, sizeof line, stdin);) {
        std::printf("{\"t\":%llu", GetTickCount64());
        const std::string_view text(line, std::strcspn(line, "\r\n"));
        const std::string_view name = text.substr(0, text.find(' '));
        const std::string words(name.size() < text.size() ? text.substr(name.size() + 1) : "");
        const Command* command = std::ranges::find(commands, name, &Command::name);
        const bool done =
            command == std::end(commands) ? post(std::string(text)) : command->carryOut(words);
        if (!done)
            std::printf(",\"error\":%s", quoted(text).c_str());
        std::printf("}\n");
        std::fflush(stdout);
    }
}
