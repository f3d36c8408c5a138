// The Windows front-end in its own process, for what its tests under Wine cannot see from
// outside: the layout anew when a window moves to a monitor of another DPI (Wine never says
// so), the repaint of what the hands leave and enter, what screen readers are told (in
// Wine, only in the process), and the conversions of any text between the core and Windows.
// The clock stands where the test puts it; the test ticks when it means to.

#include "forms/definitions.h"
#include "toolkit/win32/accessibility.h"
#include "toolkit/win32/clock_window.h"
#include "toolkit/win32/dialog_window.h"
#include "toolkit/win32/run.h"
#include "toolkit/win32/text.h"
#include "toolkit/win32/toolkit.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/program.h"

#include "support/standing_clock.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

using namespace toolkit::win32;
using namespace std::chrono_literals;

struct Session : StandingClock, engine::Beeper {
    ComApartment com; // as the program has it, for the annotation service
    RaisedNotice raised;
    Win32Toolkit toolkit{GetModuleHandleW(nullptr), [this](const RaisedNotice& n) { raised = n; }};
    ui::Program program{toolkit, *this, *this};
    ClockWindow& clockWindow =
        dynamic_cast<ClockWindow&>(program.windows().reference<ui::MainForm>().window());
    DialogWindow& form1Window =
        dynamic_cast<DialogWindow&>(program.windows().reference<ui::Form1>().window());
    const NativeWindow& clock = clockWindow.window();
    const NativeWindow& form1 = form1Window.window();
    void beep() override {}
    void tick() { SendMessageW(clock.hwnd(), WM_TIMER, 1, 0); }
};

// The tests of a window have the session's members at hand, and tick when they mean to.
struct Win32Window : testing::Test, Session {
    Win32Window() { KillTimer(clock.hwnd(), 1); }
};

// Answers the messages that wait for the thread, then goes on until the condition holds, for
// `limit` at most.
bool pump(
    const std::function<bool()>& condition = [] { return true; },
    std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;; MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT)) {
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
        if (const bool holds = condition(); holds || std::chrono::steady_clock::now() > end)
            return holds;
    }
}

std::string textOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return narrow(text);
}

LOGFONTW fontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(HFONT(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

COLORREF shownAt(HWND window, int x, int y) {
    const HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

// Windows asks what size the window wants at the new DPI and then suggests a place for it,
// where the controls and fonts are laid out anew. At 144 dpi everything is 1.5 times what it
// is at 96: a pixel is 10 twips and a point 2 pixels; only the frame around the client area,
// whose title and menu bars Windows draws, is the system's own, grown about as much.
TEST_F(Win32Window, AMoveToAMonitorOfAnotherDpiLaysTheWindowOutAnew) {
    // A window and a control of it, with the window's client area, the control's place and its
    // font's height, at 144 dpi.
    using Row = std::tuple<HWND, HWND, SIZE, RECT, LONG>;
    for (const auto& [window, control, clientSize, place, fontHeight] : {
             // Form1 is 4530 x 3390 twips; its Text1 240, 1200, 1095 x 495, in 18 pt.
             Row{form1.hwnd(), form1.control("Text1"), {453, 339}, {24, 120, 134, 170}, -36},
             // mainForm is 7215 x 5385 twips; its Label1 2400, 480, 2655 x 615, in 30 pt.
             Row{clock.hwnd(), clock.control("Label1"), {722, 539}, {240, 48, 506, 110}, -60},
         }) {
        RECT frame{}, client{}, placed{}, suggested{100, 50, 900, 700};
        GetWindowRect(window, &frame);
        GetClientRect(window, &client);
        SIZE wanted{};
        EXPECT_TRUE(SendMessageW(window, WM_GETDPISCALEDSIZE, 144, LPARAM(&wanted)));
        EXPECT_NEAR(wanted.cx - clientSize.cx, 1.5 * (frame.right - frame.left - client.right), 3);
        EXPECT_NEAR(wanted.cy - clientSize.cy, 1.5 * (frame.bottom - frame.top - client.bottom), 3);
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), LPARAM(&suggested));
        GetWindowRect(window, &frame);
        GetWindowRect(control, &placed);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_TRUE(EqualRect(&frame, &suggested));
        EXPECT_TRUE(EqualRect(&placed, &place))
            << placed.left << " " << placed.top << " " << placed.right << " " << placed.bottom;
        const LOGFONTW font = fontOf(control); // its height, character set and weight
        EXPECT_EQ(std::tuple(font.lfHeight, font.lfCharSet, font.lfWeight),
                  std::tuple(fontHeight, BYTE{SHIFTJIS_CHARSET}, LONG{FW_BOLD}));
    }
}

// The user makes text bigger: the message and menu fonts grow. The notice, which has no font of
// its own, takes the new message font, and the clock window keeps its client area of 7215 x
// 5385 twips under a taller menu bar.
TEST_F(Win32Window, BiggerTextRemakesTheFontsAndRefitsTheWindows) {
    NONCLIENTMETRICSW before{};
    before.cbSize = sizeof before;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof before, &before, 0));
    NONCLIENTMETRICSW bigger = before;
    bigger.lfMessageFont.lfHeight = -30;
    bigger.lfMenuFont.lfHeight = -40;
    bigger.iMenuHeight = 48;
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof bigger, &bigger, 0));
    const auto clientSize = [this] {
        SetWindowPos(clock.hwnd(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        RECT client{};
        GetClientRect(clock.hwnd(), &client);
        return std::to_string(client.right) + "x" + std::to_string(client.bottom);
    };
    const std::string shrunk = clientSize();
    for (HWND window : {clock.hwnd(), form1.hwnd()})
        SendMessageW(window, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    const std::string refitted = clientSize();
    const LONG notice = fontOf(form1.control("Label4")).lfHeight;
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof before, &before, 0);
    EXPECT_NE(shrunk, "481x359"); // the taller menu bar took its height from the client area
    EXPECT_EQ(refitted, "481x359");
    EXPECT_EQ(notice, -30);
}

// Twenty seconds on, the second hand leaves the lower left for the upper right: what it
// leaves and what it enters is painted anew, and not the whole dial.
TEST_F(Win32Window, ATickRepaintsWhatTheHandsLeaveAndEnter) {
    const auto secondHandEnd = [this] {
        const auto& hand = clockWindow.dial().painted(face::Line::Line1);
        return POINT{std::lround(hand.x2), std::lround(hand.y2)};
    };
    tick();
    const POINT before = secondHandEnd();
    ValidateRect(clock.hwnd(), nullptr);
    at.second = 1;
    tick();
    const POINT after = secondHandEnd();
    const Owned<HRGN, DeleteObject> dirty(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(clock.hwnd(), dirty.get(), FALSE);
    EXPECT_GT(std::abs(after.x - before.x) + std::abs(after.y - before.y), 100);
    EXPECT_TRUE(PtInRegion(dirty.get(), before.x, before.y));
    EXPECT_TRUE(PtInRegion(dirty.get(), after.x, after.y));
    EXPECT_FALSE(PtInRegion(dirty.get(), 478, 356)); // the lower right corner of 481 x 359
}

int alerts = 0;

// Screen readers read each field's name, and hear the notice as an alert as it appears, not
// while it stays.
TEST_F(Win32Window, ScreenReadersNameTheFieldsAndHearTheNoticeAppear) {
    for (const forms::Control& def : forms::form1Definition.controls) {
        if (def.kind != forms::Kind::TextBox)
            continue;
        IAccessible* field = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(form1.control(def.name), DWORD(OBJID_CLIENT),
                                             IID_IAccessible, reinterpret_cast<void**>(&field)),
                  S_OK);
        VARIANT self{};
        self.vt = VT_I4;
        BSTR name = nullptr;
        field->get_accName(self, &name);
        EXPECT_EQ(name ? narrow(name) : "none", def.accessibleName);
        SysFreeString(name);
        field->Release();
    }
    const HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr,
        [](HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) { ++alerts; },
        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    for (const char* caption : {"時間ですよ！", "時間ですよ！", "", "時間ですよ！"}) {
        form1Window.setCaption("Label4", caption);
        pump(); // the event's
        EXPECT_EQ(IsWindowVisible(form1.control("Label4")) != FALSE, *caption != '\0');
    }
    EXPECT_EQ(alerts, 2);
    UnhookWinEvent(hook);
}

// The annotation service is first asked for when a client asks a window for its object; where
// the system keeps annotations it takes every name and role given then: Windows refuses a
// malformed one, which leaves the control to tell only what it tells by itself.
TEST_F(Win32Window, TheSystemTakesTheAnnotations) {
    const Annotations::Answers& answers = toolkit.annotations().answers();
    EXPECT_EQ(answers.succeeded + answers.notImplemented, 0); // nothing loaded before
    SendMessageW(form1.hwnd(), WM_GETOBJECT, 0, LONG(OBJID_CLIENT));
    EXPECT_GT(answers.succeeded + answers.notImplemented + (answers.firstFailure != S_OK), 0);
    if (answers.notImplemented > 0 && answers.succeeded == 0 && answers.firstFailure == S_OK)
        GTEST_SKIP() << "the system keeps no annotations: its service answers E_NOTIMPL (Wine)";
    EXPECT_EQ(answers.firstFailure, S_OK) << std::hex << ULONG(answers.firstFailure);
    EXPECT_EQ(answers.notImplemented, 0);
    EXPECT_GT(answers.succeeded, 0);
}

// Appearing, the notice is raised to UI Automation's clients with its text, which screen
// readers speak where they drop the alert of a window that is hidden or in the background.
TEST_F(Win32Window, TheNoticeIsRaisedToUiAutomation) {
    form1Window.setCaption("Label4", "時間ですよ！");
    EXPECT_EQ(narrow(raised.text), "時間ですよ！");
    if (raised.answer == E_NOTIMPL)
        GTEST_SKIP() << "the system's UI Automation has no notifications (before Windows 10 "
                        "1709; Wine)";
    EXPECT_EQ(raised.answer, S_OK) << std::hex << ULONG(raised.answer);
}

// The dial as the user sees it uncovered at 10:10:40, at 96 and at 144 dpi: the blue face, an
// orange mark at the middle of the top edge, the thick yellow hour hand towards ten o'clock.
TEST_F(Win32Window, TheDialShowsItsFace) {
    ShowWindow(form1.hwnd(), SW_HIDE);
    tick();
    for (const double scale : {1.0, 1.5}) {
        if (scale > 1) {
            SIZE wanted{};
            SendMessageW(clock.hwnd(), WM_GETDPISCALEDSIZE, 144, LPARAM(&wanted));
            RECT suggested{0, 0, wanted.cx, wanted.cy};
            SendMessageW(clock.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), LPARAM(&suggested));
        }
        UpdateWindow(clock.hwnd());
        for (const auto& [x, y, colour] : {std::tuple{5, 5, RGB(0, 0, 255)},
                                           {240, 4, RGB(255, 128, 0)},
                                           {120, 134, RGB(255, 255, 0)}})
            EXPECT_EQ(shownAt(clock.hwnd(), int(x * scale), int(y * scale)), colour) << scale;
    }
}

// The dialogs' labels lie on the window's face, as the user sees them: around their text,
// the screen shows the face that it shows beside them.
TEST_F(Win32Window, LabelsLieOnTheWindowsFace) {
    RedrawWindow(form1.hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const COLORREF face = shownAt(form1.hwnd(), 2, 2);
    ASSERT_NE(face, CLR_INVALID);
    for (const forms::Control& def : forms::form1Definition.controls) {
        if (def.kind != forms::Kind::Label)
            continue;
        SCOPED_TRACE(std::string(def.name));
        const HWND label = form1.control(def.name);
        RECT area{};
        GetClientRect(label, &area);
        EXPECT_EQ(shownAt(label, area.right - 2, area.bottom - 2), face); // below and after
    }
}

// The readout follows the clock within a fraction of a second: the clock's second turns right
// after a tick of the clock window's own timer, and a timer of a whole second would show it a
// second late.
TEST(Win32Timer, TheReadoutFollowsTheClockPromptly) {
    Session s;
    const HWND readout = s.clock.control("Label1");
    s.at.second = 41;
    ASSERT_TRUE(pump([&] { return textOf(readout) == "10:10:41"; })); // the timer has ticked
    s.at.second = 42;
    EXPECT_TRUE(pump([&] { return textOf(readout) == "10:10:42"; }, 600ms));
}

// Each dialog by its command and its caption.
struct ShownDialog {
    WPARAM command;
    const char* caption;
};
constexpr ShownDialog shownDialogs[] = {
    {2000, "時間間隔Ver.10"}, {2001, "発表時間設定Ver.10"}, {2002, "アラーム時刻設定 Ver.10"}};

// The dialog that the command shows, active.
HWND show(const NativeWindow& clock, const ShownDialog& dialog) {
    SendMessageW(clock.hwnd(), WM_COMMAND, dialog.command, 0);
    const HWND window = GetActiveWindow();
    EXPECT_EQ(textOf(window), dialog.caption);
    return window;
}

// A dialog's command shows it owned by the clock window, also again while it shows.
TEST_F(Win32Window, ADialogsCommandShowsItOwnedByTheClockWindow) {
    for (const ShownDialog& dialog : shownDialogs) {
        SCOPED_TRACE(dialog.caption);
        for (int time = 0; time < 2; ++time)
            EXPECT_EQ(GetWindow(show(clock, dialog), GW_OWNER), clock.hwnd());
    }
}

HWND watched = nullptr;
std::string shows;

// The taskbar gives a window a button of its own, or none, as the window is shown: the start-up
// dialog, shown unowned, is hidden before it takes its owner.
TEST_F(Win32Window, TheStartUpDialogIsHiddenBeforeItTakesItsOwner) {
    watched = form1.hwnd();
    const HHOOK hook = SetWindowsHookExW(
        WH_CALLWNDPROC,
        [](int code, WPARAM w, LPARAM l) -> LRESULT {
            const auto& call = *reinterpret_cast<const CWPSTRUCT*>(l);
            if (call.message == WM_SHOWWINDOW && call.hwnd == watched)
                shows += std::string(call.wParam ? "shown " : "hidden ") +
                         (GetWindow(call.hwnd, GW_OWNER) ? "owned, " : "unowned, ");
            return CallNextHookEx(nullptr, code, w, l);
        },
        nullptr, GetCurrentThreadId());
    show(clock, shownDialogs[2]);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(shows, "hidden unowned, shown owned, ");
}

// A dialog's close box takes its texts: its command shows it again empty.
TEST_F(Win32Window, ADialogsCloseBoxTakesItsTexts) {
    for (const ShownDialog& dialog : shownDialogs) {
        SCOPED_TRACE(dialog.caption);
        const HWND closed = show(clock, dialog);
        const HWND field = FindWindowExW(closed, nullptr, L"EDIT", nullptr);
        SendMessageW(field, WM_CHAR, L'9', 0);
        EXPECT_EQ(textOf(field), "9");
        SendMessageW(closed, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(IsWindow(closed));
        EXPECT_EQ(textOf(FindWindowExW(show(clock, dialog), nullptr, L"EDIT", nullptr)), "");
    }
}

// A start that fails says why, as a program without a console must: here the window classes
// are taken already, by the session's toolkit.
TEST_F(Win32Window, AFailedStartSaysWhy) {
    std::string said;
    std::thread reader([&said] {
        for (int wait = 0; wait < 1000 && said.empty(); ++wait, Sleep(10))
            if (const HWND box = FindWindowW(L"#32770", L"目覚まし時計")) {
                for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                    said += textOf(c);
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
    });
    EXPECT_EQ(runProgram(GetModuleHandleW(nullptr)), 1);
    reader.join();
    EXPECT_TRUE(said.find("目覚まし時計を起動できませんでした。") != std::string::npos &&
                said.find("RegisterClassExW: ") != std::string::npos)
        << said;
}

TEST(Win32Text, ConversionsTakeAnyInputAndLongTextsWhole) {
    EXPECT_EQ(widen("a\xFF!"), L"a\uFFFD!");                                  // no UTF-8
    EXPECT_EQ(narrow(std::wstring{L'a', wchar_t(0xD800), L'!'}), "a\uFFFD!"); // a lone surrogate
    // Converted in pieces of 2^24 units: a character across the end of one stays whole.
    const std::size_t piece = std::size_t{1} << 24;
    for (std::size_t before = piece - 3; before < piece; ++before)
        for (const auto& [utf8, utf16] : {std::tuple{"時", L"時"}, {"\U0001F514", L"\U0001F514"}}) {
            const std::string text8 = std::string(before, 'x') + utf8;
            const std::wstring text16 = std::wstring(before, L'x') + utf16;
            EXPECT_TRUE(widen(text8) == text16) << before << utf8;
            EXPECT_TRUE(narrow(text16) == text8) << before << utf8;
        }
}

} // namespace
