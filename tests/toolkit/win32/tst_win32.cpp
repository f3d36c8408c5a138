// The Windows front-end in its own process, for what its tests under Wine cannot see from
// outside: the layout anew when a window moves to a monitor of another DPI (Wine never says
// so), the repaint of what the hands leave and enter, what screen readers are told (in
// Wine, only in the process), and the conversions of any text between the core and Windows.
// The clock stands where the test puts it; the test ticks when it means to.

#include "forms/definitions.h"
#include "toolkit/win32/clock_window.h"
#include "toolkit/win32/dialog_window.h"
#include "toolkit/win32/text.h"
#include "toolkit/win32/toolkit.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/program.h"

#include "../../standing_clock.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <tuple>

namespace {

using namespace toolkit::win32;

struct Session final : StandingClock, engine::Beeper {
    Win32Toolkit toolkit{GetModuleHandleW(nullptr)};
    ui::Program program{toolkit, *this, *this};
    ClockWindow& clock = dynamic_cast<ClockWindow&>(program.windows().mainForm().window());
    DialogWindow& form1 = dynamic_cast<DialogWindow&>(program.windows().form1().window());

    Session() { KillTimer(clock.hwnd(), 1); }
    void beep() override {}
};

TEST(Win32Window, AMoveToAMonitorOfAnotherDpiLaysTheWindowOutAnew) {
    Session s;
    for (const auto& [window, control, def] :
         {std::tuple{s.form1.hwnd(), s.form1.control("Text1"), *findControl(forms::form1, "Text1")},
          std::tuple{s.clock.hwnd(), s.clock.control("Label1"),
                     *findControl(forms::mainForm, "Label1")}}) {
        SCOPED_TRACE(std::string(def.name));
        RECT suggested{100, 50, 900, 700}, frame{}, placed{};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), LPARAM(&suggested));
        GetWindowRect(window, &frame);
        GetWindowRect(control, &placed);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&placed), 2);
        const RECT expected = pixelRect(def.twips, 144);
        EXPECT_TRUE(EqualRect(&frame, &suggested));
        EXPECT_TRUE(EqualRect(&placed, &expected));
        LOGFONTW font{};
        GetObjectW(HFONT(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -MulDiv(def.font->pointSize, 144, 72));
        EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
        EXPECT_EQ(font.lfWeight, FW_BOLD);
    }
}

// Twenty seconds on, the second hand leaves the lower left for the upper right: what it
// leaves and what it enters is painted anew, and not the whole dial.
TEST(Win32Window, ATickRepaintsWhatTheHandsLeaveAndEnter) {
    Session s;
    const HWND clock = s.clock.hwnd();
    const auto secondHandEnd = [&s] {
        const auto& hand = s.clock.dial().painted(face::Line::Line1);
        return POINT{std::lround(hand.x2), std::lround(hand.y2)};
    };
    SendMessageW(clock, WM_TIMER, 1, 0);
    const POINT before = secondHandEnd();
    ValidateRect(clock, nullptr);
    s.at.second = 1;
    SendMessageW(clock, WM_TIMER, 1, 0);
    const POINT after = secondHandEnd();
    RECT client{};
    GetClientRect(clock, &client);
    const Owned<HRGN, DeleteObject> dirty(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(clock, dirty.get(), FALSE);
    EXPECT_GT(std::abs(after.x - before.x) + std::abs(after.y - before.y), 100);
    EXPECT_TRUE(PtInRegion(dirty.get(), before.x, before.y));
    EXPECT_TRUE(PtInRegion(dirty.get(), after.x, after.y));
    EXPECT_FALSE(PtInRegion(dirty.get(), client.right - 2, client.bottom - 2));
}

int alerts = 0;

TEST(Win32Window, ScreenReadersNameTheFieldsAndHearTheNoticeAppear) {
    Session s;
    for (const forms::Control& def : forms::form1.controls) {
        if (def.kind != forms::Kind::TextBox)
            continue;
        IAccessible* field = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(s.form1.control(def.name), DWORD(OBJID_CLIENT),
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
        s.form1.setCaption("Label4", caption);
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) // the event's
            DispatchMessageW(&message);
        EXPECT_EQ(IsWindowVisible(s.form1.control("Label4")) != FALSE, *caption != '\0');
    }
    EXPECT_EQ(alerts, 2); // as it appears, not while it stays
    UnhookWinEvent(hook);
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
