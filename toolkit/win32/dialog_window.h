#pragma once

#include "toolkit/win32/top_level.h"

#include <vector>

namespace toolkit::win32 {

// A dialog built from its definition: labels (STATIC), input fields (EDIT) and its command
// button (BUTTON) at their places in twips, made in the order of their tab numbers, which
// is the order that Tab moves the focus in. The button is never the default one: Enter and
// Escape press nothing.
class DialogWindow final : public ui::DialogWindow, public TopLevel {
public:
    DialogWindow(Win32Toolkit& toolkit, const forms::Form& form, ui::WindowEvents& events);
    ~DialogWindow() override;

    void show(ui::Window* owner, bool centre) override { showOwned(owner, centre); }
    std::string text(std::string_view textBox) override;
    void setCaption(std::string_view label, std::string_view caption) override;

    HWND control(std::string_view name) const;

private:
    struct Control {
        const forms::Control* def;
        HWND window; // a child: destroyed with the dialog
    };
    const Control& find(std::string_view name) const;

    LRESULT handle(UINT message, WPARAM w, LPARAM l) override;
    void relayout(UINT dpi) override;

    std::vector<Control> controls_;
    FontHandle dialogFont_; // the definitions' font, where a control has one
    FontHandle plainFont_;  // the desktop's, for a control without
    HWND focus_ = nullptr;  // what has the focus when the dialog is next active
};

} // namespace toolkit::win32
