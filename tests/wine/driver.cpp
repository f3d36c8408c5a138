// A screen reader's view of the clock, from a process of its own in the same Wine prefix and
// display: it finds the windows and reads and presses their controls through the Windows API
// only. One command a line on standard input (words split at tabs), one line of JSON back:
//
//   forms                  the window definitions, with the identifiers the program gives them
//   windows                the foreground window, the focused control, the program's top-level
//                          windows front to back
//   controls HWND          the child windows of HWND
//   settext HWND TEXT      WM_SETTEXT, as a screen reader types into a field
//   post HWND MSG WP LP    PostMessage: menu commands, BM_CLICK, WM_SYSCOMMAND ...
//
// Window handles are decimal numbers; "t" is GetTickCount64 when the command was carried out,
// the clock of Wine's trace lines.

#include "forms/windows.h"
#include "toolkit/win32/control_ids.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

using Fields = std::initializer_list<std::pair<const char*, std::string>>;

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    return out + '"';
}

std::string quoted(std::wstring_view text) {
    std::string out(text.size() * 3, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(),
                                   int(out.size()), nullptr, nullptr));
    return quoted(std::string_view(out));
}

std::string str(std::intptr_t value) { return std::to_string(value); }
std::string str(HWND window) { return str(reinterpret_cast<std::intptr_t>(window)); }
std::string str(RECT r) {
    char out[64];
    std::snprintf(out, sizeof out, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
    return out;
}

// Appends an item to a JSON list or object being written.
void add(std::string& out, const std::string& item) {
    if (out.size() > 1)
        out += ',';
    out += item;
}

std::string object(Fields fields) {
    std::string out = "{";
    for (const auto& [name, value] : fields)
        add(out, quoted(std::string_view(name)) + ":" + value);
    return out + "}";
}

// WM_GETTEXT is marshalled across processes: a field's text is known to its own process only.
std::string text(HWND window) {
    wchar_t buffer[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                        5000, &copied);
    return quoted(std::wstring_view(buffer));
}

std::string forms() {
    std::string out = "[";
    for (const forms::Form* form :
         {&forms::mainForm, &forms::form1, &forms::form2, &forms::form4}) {
        std::string controls = "[", menu = "{";
        for (std::size_t i = 0; const forms::Control& c : form->controls) {
            const forms::Rect& r = c.twips;
            add(controls, object({{"name", quoted(c.name)},
                                  {"kind", str(int(c.kind))},
                                  {"tab", str(c.tabIndex)},
                                  {"id", str(toolkit::win32::controlId(i++))},
                                  {"twips", str(RECT{r.left, r.top, r.width, r.height})}}));
        }
        for (std::size_t i = 0; i < form->menu.size(); ++i)
            add(menu, quoted(form->menu[i].name) + ":" + str(toolkit::win32::menuId(i)));
        add(out, object({{"name", quoted(form->name)},
                         {"caption", quoted(form->caption)},
                         {"width", str(form->clientWidth)},
                         {"height", str(form->clientHeight)},
                         {"controls", controls + "]"},
                         {"menu", menu + "}"}}));
    }
    return out + "]";
}

std::string window(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    RECT frame{}, client{};
    GetWindowRect(w, &frame);
    GetClientRect(w, &client);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return object({{"hwnd", str(w)},
                   {"class", quoted(std::wstring_view(name))},
                   {"title", text(w)},
                   {"id", str(GetDlgCtrlID(w))},
                   {"visible", str(IsWindowVisible(w))},
                   {"iconic", str(IsIconic(w))},
                   {"owner", str(GetWindow(w, GW_OWNER))},
                   {"rect", str(frame)},
                   {"client", str(client)},
                   {"dpi", str(GetDpiForWindow(w))}});
}

BOOL CALLBACK addWindow(HWND w, LPARAM list) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    if (!lstrcmpW(name, toolkit::win32::clockWindowClass) ||
        !lstrcmpW(name, toolkit::win32::dialogWindowClass))
        add(*reinterpret_cast<std::string*>(list), window(w));
    return TRUE;
}

std::string windows() {
    HWND front = GetForegroundWindow();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(front, nullptr), &info);
    std::string list = "[";
    EnumWindows(addWindow, reinterpret_cast<LPARAM>(&list));
    return object({{"front", str(front)}, {"focus", str(info.hwndFocus)}, {"list", list + "]"}});
}

std::string controls(HWND parent) {
    std::string out = "[";
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        add(out, window(child));
    return out + "]";
}

HWND handle(const std::string& word) { return reinterpret_cast<HWND>(std::stoll(word)); }

std::string run(const std::vector<std::string>& w) {
    if (w[0] == "forms")
        return forms();
    if (w[0] == "windows")
        return windows();
    if (w[0] == "controls" && w.size() == 2)
        return controls(handle(w[1]));
    if (w[0] == "settext" && w.size() == 3) {
        std::wstring value(w[2].size(), L'\0');
        value.resize(MultiByteToWideChar(CP_UTF8, 0, w[2].data(), int(w[2].size()), value.data(),
                                         int(value.size())));
        DWORD_PTR result = 0;
        SendMessageTimeoutW(handle(w[1]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()),
                            SMTO_ABORTIFHUNG, 5000, &result);
        return "null";
    }
    if (w[0] == "post" && w.size() == 5 &&
        PostMessageW(handle(w[1]), std::stoul(w[2]), std::stoull(w[3]), std::stoll(w[4])))
        return "null";
    throw std::invalid_argument("unknown command or failed");
}

} // namespace

int main() {
    // Coordinates in the screen's own pixels, whatever the desktop's scale.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, stdin)) {
        std::vector<std::string> words(1);
        for (char* c = buffer; *c && *c != '\n' && *c != '\r'; ++c)
            if (*c == '\t')
                words.emplace_back();
            else
                words.back().push_back(*c);
        std::string answer;
        try {
            answer = "\"r\":" + run(words);
        } catch (const std::exception& error) {
            answer = "\"error\":" + quoted(std::string_view(error.what()));
        }
        std::printf("{\"t\":%llu,%s}\n", GetTickCount64(), answer.c_str());
        std::fflush(stdout);
    }
}
