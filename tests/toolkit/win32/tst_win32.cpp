// The Windows front-end in its own process, on a real desktop (Wine's under the test
// harness), with a clock that stands where the test puts it and a beeper that counts: the
// windows as the user meets them (start-up, the dial, owned dialogs, the close box, the
// keyboard, the notice, the end), what screen readers are told, and the conversions of
// any text between the core and Windows.

#include "face/title.h"
#include "forms/windows.h"
#include "toolkit/win32/clock_window.h"
#include "toolkit/win32/control_ids.h"
#include "toolkit/win32/run.h"
#include "toolkit/win32/text.h"
#include "toolkit/win32/win32_toolkit.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/program.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace toolkit::win32;
using RegionHandle = Owned<HRGN, DeleteObject>;

struct Session final : engine::WallClock, engine::Beeper {
    int beeps = 0;
    engine::LocalDateTime at{2026, 12, 5, 10, 10, 40};
    Win32Toolkit toolkit{GetModuleHandleW(nullptr), *this, *this};
    ui::Program program{toolkit};

    // The test ticks when it means to: the clock window's own timer does not run.
    Session() {
        KillTimer(clock(), 1);
        pump();
    }
    ~Session() override {
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    int hour() override { return at.hour; }
    int minute() override { return at.minute; }
    int second() override { return at.second; }
    engine::LocalDateTime now() override { return at; }
    void beep() override { ++beeps; }

    // The program's own message loop, for a while.
    bool pump(DWORD milliseconds = 50) {
        const DWORD end = GetTickCount() + milliseconds;
        MSG message;
        do {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT)
                    return false;
                dispatch(toolkit, message);
            }
            Sleep(5);
        } while (static_cast<LONG>(GetTickCount() - end) < 0);
        return true;
    }
    void tick() {
        SendMessageW(clock(), WM_TIMER, 1, 0);
        pump();
    }
    void menu(std::string_view name) {
        SendMessageW(clock(), WM_COMMAND, static_cast<WPARAM>(menuId(forms::mainForm, name)), 0);
        pump();
    }
    void keys(std::initializer_list<WORD> keys, bool shift = false) {
        std::vector<INPUT> input;
        const auto add = [&input](WORD key, bool up) {
            INPUT event{};
            event.type = INPUT_KEYBOARD;
            event.ki.wVk = key;
            event.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            input.push_back(event);
        };
        if (shift)
            add(VK_SHIFT, false);
        for (WORD key : keys)
            add(key, false), add(key, true);
        if (shift)
            add(VK_SHIFT, true);
        SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
        pump(150);
    }

    static HWND clock() { return FindWindowW(clockWindowClass, nullptr); }
    static HWND dialog(const forms::Form& form) {
        return FindWindowW(dialogWindowClass, widen(form.caption).c_str());
    }
    static HWND control(const forms::Form& form, std::string_view name) {
        return GetDlgItem(dialog(form), controlId(form, name));
    }
    static std::string text(HWND window) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
        return narrow(text);
    }
    // The name of the control that has the focus, in the dialog that has it.
    static std::string focused(const forms::Form& form) {
        const int id = GetDlgCtrlID(GetFocus());
        const std::size_t index = static_cast<std::size_t>(id - firstControlId);
        return GetParent(GetFocus()) == dialog(form) && index < form.controls.size()
                   ? std::string(form.controls[index].name)
                   : "elsewhere";
    }
    ClockWindow& clockWindow() {
        return dynamic_cast<ClockWindow&>(program.windows().mainForm().window());
    }
};

SIZE clientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

TEST(Win32StartUp, Form1InFrontCentredAndEmptyEveryWindowSizedFromItsDefinition) {
    Session s;
    const HWND form1 = Session::dialog(forms::form1);
    ASSERT_TRUE(form1);
    EXPECT_TRUE(IsWindowVisible(form1));
    EXPECT_TRUE(IsWindowVisible(Session::clock()));
    EXPECT_EQ(GetForegroundWindow(), form1);
    EXPECT_EQ(GetWindow(form1, GW_OWNER), nullptr);
    EXPECT_EQ(Session::focused(forms::form1), "Text1");
    EXPECT_EQ(Session::text(Session::control(forms::form1, "Text1")), "");

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(form1, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame{};
    GetWindowRect(form1, &frame);
    EXPECT_LE(std::abs((frame.left + frame.right) - (monitor.rcWork.left + monitor.rcWork.right)),
              1);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (monitor.rcWork.top + monitor.rcWork.bottom)),
              1);

    s.tick(); // makes Form2 and Form4, hidden
    for (const forms::Form* form :
         {&forms::mainForm, &forms::form1, &forms::form2, &forms::form4}) {
        SCOPED_TRACE(std::string(form->name));
        const HWND window = form == &forms::mainForm ? Session::clock() : Session::dialog(*form);
        ASSERT_TRUE(window);
        const int dpi = static_cast<int>(GetDpiForWindow(window));
        const SIZE client = clientSize(window);
        EXPECT_EQ(client.cx, MulDiv(form->clientWidth, dpi, 1440));
        EXPECT_EQ(client.cy, MulDiv(form->clientHeight, dpi, 1440));
        EXPECT_TRUE(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
        EXPECT_TRUE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    }
    const HMENU menu = GetMenu(Session::clock());
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(forms::mainForm.menu.size()));
    for (std::size_t i = 0; i < forms::mainForm.menu.size(); ++i) {
        wchar_t caption[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
        EXPECT_EQ(narrow(caption), forms::mainForm.menu[i].caption);
        EXPECT_EQ(GetMenuItemID(menu, static_cast<int>(i)), static_cast<UINT>(menuId(i)));
    }
}

// Windows tells a window that has moved to a monitor of another DPI (Wine never does).
TEST(Win32StartUp, AMoveToAMonitorOfAnotherDpiLaysTheControlsOutAnew) {
    Session s;
    for (const auto& [window, control, form] :
         {std::tuple{Session::dialog(forms::form1), Session::control(forms::form1, "Text1"),
                     &forms::form1},
          std::tuple{Session::clock(), s.clockWindow().readout(), &forms::mainForm}}) {
        SCOPED_TRACE(std::string(form->name));
        RECT suggested{100, 50, 900, 700};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144),
                     reinterpret_cast<LPARAM>(&suggested));
        RECT frame{};
        GetWindowRect(window, &frame);
        EXPECT_TRUE(EqualRect(&frame, &suggested));
        RECT placed{};
        GetWindowRect(control, &placed);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&placed), 2);
        const forms::Control& def =
            *forms::findControl(*form, form == &forms::form1 ? "Text1" : "Label1");
        const RECT expected = pixelRect(def.twips, 144);
        EXPECT_TRUE(EqualRect(&placed, &expected));
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(font.lfHeight, -MulDiv(def.font->pointSize, 144, 72));
        EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
        EXPECT_EQ(font.lfWeight, FW_BOLD);
    }
}

// The colour of a pixel: that of the last line painted over it, or the background's; none
// where the edge of a line is too near to say.
std::optional<COLORREF> expectedColour(const ClockWindow& window, POINT at, UINT dpi) {
    constexpr std::array lines{face::Line::Line12, face::Line::Line11, face::Line::Line10,
                               face::Line::Line9,  face::Line::Line3,  face::Line::Line2,
                               face::Line::Line1}; // as the definition lists them
    std::optional<COLORREF> colour = RGB(0, 0, 255);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const forms::LineControl& def = forms::mainForm.lines[i];
        const auto& e = window.dial().ends(lines[i]);
        // Ends on whole pixels, pens as wide as at 96 dpi scaled to this one, as painted.
        const auto px = [dpi](float twips) { return double(std::lround(twips * dpi / 1440.0)); };
        const double x1 = px(e[0]), y1 = px(e[1]), dx = px(e[2]) - x1, dy = px(e[3]) - y1;
        const double length2 = dx * dx + dy * dy;
        const double t =
            length2 > 0 ? std::clamp(((at.x - x1) * dx + (at.y - y1) * dy) / length2, 0.0, 1.0) : 0;
        const double beyondEdge = std::hypot(at.x - (x1 + t * dx), at.y - (y1 + t * dy)) -
                                  MulDiv(def.widthPixels, static_cast<int>(dpi), 96) / 2.0;
        if (beyondEdge < -1.5)
            colour = RGB(def.colour.r, def.colour.g, def.colour.b);
        else if (beyondEdge < 1.5)
            colour.reset();
    }
    return colour;
}

TEST(Win32Clock, TheTickWritesReadoutAndTitleAndRepaintsOnlyWhatMoves) {
    Session s;
    s.tick();
    const HWND clock = Session::clock();
    EXPECT_EQ(Session::text(s.clockWindow().readout()), "10:10:40");
    EXPECT_EQ(Session::text(clock), face::titleText(s.at, s.toolkit));
    EXPECT_NE(Session::text(clock).find("10:10:40"), std::string::npos);

    // The client area's picture: the background, and each line where the tick put it.
    const UINT dpi = GetDpiForWindow(clock);
    const SIZE size = clientSize(clock);
    EXPECT_FLOAT_EQ(s.clockWindow().ScaleWidth(), size.cx * 1440.0f / dpi);
    const ScreenDc screen(GetDC(nullptr));
    const MemoryDc picture(CreateCompatibleDC(screen.get()));
    const BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    {
        const Selection selected(picture.get(), bitmap.get());
        SendMessageW(clock, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.get()), PRF_CLIENT);
        int painted = 0;
        for (int y = 0; y < size.cy; y += 3)
            for (int x = 0; x < size.cx; x += 3) {
                const std::optional<COLORREF> expected =
                    expectedColour(s.clockWindow(), {x, y}, dpi);
                const COLORREF actual = GetPixel(picture.get(), x, y);
                if (expected && *expected != actual)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << actual
                                  << ", not " << *expected;
                painted += expected && *expected != RGB(0, 0, 255);
            }
        EXPECT_GT(painted, 20);
    }

    // Twenty seconds on, the second hand leaves the lower left for the upper right: what it
    // leaves and what it enters is painted anew, and not much more.
    const auto secondHandEnd = [&s, dpi] {
        const auto& ends = s.clockWindow().dial().ends(face::Line::Line1);
        return POINT{LONG(std::lround(ends[2] * dpi / 1440)),
                     LONG(std::lround(ends[3] * dpi / 1440))};
    };
    const POINT before = secondHandEnd();
    ValidateRect(clock, nullptr);
    s.at.second = 1;
    SendMessageW(clock, WM_TIMER, 1, 0);
    const POINT after = secondHandEnd();
    ASSERT_GT(std::abs(after.x - before.x) + std::abs(after.y - before.y), 100);
    const RegionHandle dirty(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetUpdateRgn(clock, dirty.get(), FALSE), NULLREGION);
    EXPECT_TRUE(PtInRegion(dirty.get(), before.x, before.y));
    EXPECT_TRUE(PtInRegion(dirty.get(), after.x, after.y));
    EXPECT_FALSE(PtInRegion(dirty.get(), size.cx - 2, size.cy - 2)); // a corner no hand reached
    s.pump();
    EXPECT_EQ(Session::text(s.clockWindow().readout()), "10:10:1");
}

struct Keyboard {
    const forms::Form* form;
    const char* command;
    std::vector<std::string> tabOrder; // from the first field, once round
};

class Win32DialogKeys : public testing::TestWithParam<Keyboard> {};

TEST_P(Win32DialogKeys, TabMovesInTabOrderSpacePressesTheButtonEnterAndEscapeNothing) {
    const Keyboard& k = GetParam();
    Session s;
    s.tick();
    s.menu(k.command);
    const HWND dialog = Session::dialog(*k.form);
    ASSERT_EQ(GetForegroundWindow(), dialog);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), Session::clock());
    std::vector<std::string> order{Session::focused(*k.form)};
    for (std::size_t i = 1; i <= k.tabOrder.size(); ++i) {
        s.keys({VK_TAB});
        order.push_back(Session::focused(*k.form));
    }
    std::vector<std::string> expected = k.tabOrder;
    expected.push_back(k.tabOrder.front()); // and round again
    EXPECT_EQ(order, expected);
    s.keys({VK_TAB}, true);
    EXPECT_EQ(Session::focused(*k.form), k.tabOrder.back());

    // Enter and Escape, in a field and on the button, press nothing and close nothing.
    s.keys({VK_TAB, '4', '2', VK_RETURN, VK_ESCAPE});
    EXPECT_EQ(Session::text(GetFocus()), "42");
    while (Session::focused(*k.form) != "Command1")
        s.keys({VK_TAB});
    s.keys({VK_RETURN, VK_ESCAPE});
    EXPECT_EQ(s.beeps, 0);
    EXPECT_EQ(GetWindowLongW(Session::control(*k.form, "Command1"), GWL_STYLE) & BS_TYPEMASK,
              BS_PUSHBUTTON);
    EXPECT_TRUE(IsWindowVisible(dialog));
    s.keys({VK_SPACE});
    EXPECT_EQ(s.beeps, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, Win32DialogKeys,
    testing::Values(Keyboard{&forms::form1, "jikokusettei", {"Text1", "Text2", "Command1"}},
                    Keyboard{&forms::form2, "kankaku", {"Text1", "Command1", "Text3"}},
                    Keyboard{&forms::form4,
                             "happyou",
                             {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Command1"}}),
    [](const auto& info) { return std::string(info.param.form->name); });

TEST(Win32Dialogs, OwnedDialogsGoWithTheClockAndTheCloseBoxDestroysOneWithItsTexts) {
    Session s;
    s.menu("kankaku");
    const HWND form2 = Session::dialog(forms::form2);
    SendMessageW(Session::clock(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    s.pump();
    EXPECT_FALSE(IsWindowVisible(form2));
    SendMessageW(Session::clock(), WM_SYSCOMMAND, SC_RESTORE, 0);
    s.pump();
    EXPECT_TRUE(IsWindowVisible(form2));

    SetWindowTextW(Session::control(forms::form2, "Text1"), L"30");
    SendMessageW(form2, WM_SYSCOMMAND, SC_CLOSE, 0);
    s.pump();
    EXPECT_FALSE(IsWindow(form2));
    s.tick(); // reads Form2's fields: made anew, hidden and empty
    const HWND again = Session::dialog(forms::form2);
    ASSERT_TRUE(again);
    EXPECT_FALSE(IsWindowVisible(again));
    EXPECT_EQ(Session::text(Session::control(forms::form2, "Text1")), "");

    // The start-up dialog, closed and shown from the menu, comes back empty and owned.
    const HWND form1 = Session::dialog(forms::form1);
    SetWindowTextW(Session::control(forms::form1, "Text1"), L"7");
    SendMessageW(form1, WM_CLOSE, 0, 0);
    s.menu("jikokusettei");
    EXPECT_FALSE(IsWindow(form1));
    EXPECT_EQ(GetWindow(Session::dialog(forms::form1), GW_OWNER), Session::clock());
    EXPECT_EQ(Session::text(Session::control(forms::form1, "Text1")), "");
    EXPECT_EQ(Session::focused(forms::form1), "Text1");
}

int alerts = 0;
void CALLBACK countAlert(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) { ++alerts; }

TEST(Win32Dialogs, TheNoticeShowsOnlyWithACaptionAndIsAnnouncedAsItAppears) {
    Session s;
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, countAlert,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    alerts = 0;
    const HWND notice = Session::control(forms::form1, "Label4");
    EXPECT_FALSE(IsWindowVisible(notice));
    ui::DialogWindow& form1 = s.program.windows().form1().window();
    for (const char* caption : {"時間ですよ！", "時間ですよ！", "", "時間ですよ！"}) {
        form1.setCaption("Label4", caption);
        s.pump();
        EXPECT_EQ(IsWindowVisible(notice) != FALSE, *caption != '\0');
        EXPECT_EQ(Session::text(notice), caption);
    }
    EXPECT_EQ(alerts, 2);
    UnhookWinEvent(hook);
}

TEST(Win32Dialogs, FieldsHoldAnyTextUpToTheControlsLimitAndScreenReadersNameThem) {
    Session s;
    s.tick();
    const HWND field = Session::control(forms::form4, "Text6");
    EXPECT_GE(static_cast<unsigned>(SendMessageW(field, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu);
    std::wstring typed(2000, L'９');
    typed += L"\U0001F514x";
    SetWindowTextW(field, typed.c_str());
    EXPECT_EQ(s.program.windows().form4().window().text("Text6"), narrow(typed));
    EXPECT_THROW(s.program.windows().form4().window().text("Label1"), std::invalid_argument);

    // Named by their annotations where the system has them, else by a hidden label.
    for (const forms::Control& def : forms::form4.controls) {
        if (def.kind != forms::Kind::TextBox)
            continue;
        IAccessible* accessible = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(Session::control(forms::form4, def.name),
                                             static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                             reinterpret_cast<void**>(&accessible)),
                  S_OK);
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        EXPECT_EQ(accessible->get_accName(self, &name), S_OK);
        EXPECT_EQ(name ? narrow(name) : "", def.accessibleName);
        SysFreeString(name);
        accessible->Release();
    }
}

TEST(Win32Program, AfterTheEndNoEventReachesTheHandlers) {
    for (const char* how : {"menu", "close box"}) {
        SCOPED_TRACE(how);
        Session s;
        s.tick();
        if (how == std::string("menu"))
            SendMessageW(Session::clock(), WM_COMMAND,
                         static_cast<WPARAM>(menuId(forms::mainForm, "end")), 0);
        else
            SendMessageW(Session::clock(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(s.pump());
        s.at.second = 59;
        SendMessageW(Session::clock(), WM_TIMER, 1, 0);
        EXPECT_EQ(Session::text(s.clockWindow().readout()), "10:10:40");
        const HWND form1 = Session::dialog(forms::form1);
        SendMessageW(form1, WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsWindow(form1));
    }
}

struct Conversion {
    std::string utf8;
    std::wstring utf16;
    std::string back; // the UTF-8 of utf16, where it differs from utf8
};

class Win32Text : public testing::TestWithParam<Conversion> {};

TEST_P(Win32Text, ConversionsTakeAnyInput) {
    const Conversion& c = GetParam();
    EXPECT_EQ(widen(c.utf8), c.utf16);
    EXPECT_EQ(narrow(c.utf16), c.back.empty() ? c.utf8 : c.back);
}

// Long texts are converted in pieces of 2^24 units: a character across a piece's end.
const std::size_t piece = std::size_t{1} << 24;

INSTANTIATE_TEST_SUITE_P(
    Texts, Win32Text,
    testing::Values(Conversion{"", L"", ""}, Conversion{"１２：３０", L"１２：３０", ""},
                    Conversion{"\xF0\x9F\x94\x94", L"\U0001F514", ""},
                    Conversion{"a\xFF"
                               "b",
                               L"a\uFFFDb",
                               "a\xEF\xBF\xBD"
                               "b"},
                    Conversion{std::string(piece - 1, 'x') + "時",
                               std::wstring(piece - 1, L'x') + L"時", ""},
                    Conversion{std::string(piece - 2, 'x') + "\xF0\x9F\x94\x94",
                               std::wstring(piece - 2, L'x') + L"\U0001F514", ""}),
    [](const auto& info) { return "row" + std::to_string(info.index); });

TEST(Win32Text, ALoneSurrogateBecomesAReplacementCharacter) {
    EXPECT_EQ(narrow(std::wstring(1, wchar_t(0xD800)) + L"a"), "\xEF\xBF\xBD"
                                                               "a");
    const std::wstring pair = std::wstring(piece - 1, L'x') + L"\U0001F514";
    EXPECT_EQ(narrow(pair), std::string(piece - 1, 'x') + "\xF0\x9F\x94\x94");
}

} // namespace
