#pragma once

#include "toolkit/win32/top_level.h"

namespace toolkit::win32 {

// A dialog built from its definition: labels (STATIC), input fields (EDIT) and its command
// button (BUTTON), made in the order of their tab numbers, which is the order that Tab moves
// the focus in. The button is never the default one: Enter and Escape press nothing.
class DialogWindow final : public ui::DialogWindow, public TopLevel {
public:
    DialogWindow(Win32Toolkit& toolkit, const forms::Form& form, ui::WindowEvents& events);
    ~DialogWindow() override;

    void show(ui::Window* owner, bool centre) override { showOwned(owner, centre); }
    std::string text(std::string_view textBox) override { return TopLevel::text(find(textBox)); }
    void setCaption(std::string_view label, std::string_view caption) override {
        TopLevel::setCaption(find(label), caption);
    }

private:
    LRESULT handle(UINT message, WPARAM w, LPARAM l) override;

    HWND focus_ = nullptr; // what has the focus when the dialog is next active
};

} // namespace toolkit::win32
