#pragma once

#include "toolkit/win32/top_level.h"

namespace toolkit::win32 {

// A dialog built from its definition: labels (STATIC), input fields (EDIT) and its command
// button (BUTTON), made in the order of their tab numbers, which is the order that Tab moves
// the focus in. The button is never the default one: Enter and Escape press nothing.
class DialogWindow final : public ui::DialogWindow, private WindowMessages {
public:
    DialogWindow(Win32Toolkit& toolkit, const forms::FormDefinition& form,
                 ui::WindowEvents& events);

    void show(ui::Owner owner, bool centre) override;
    std::string text(std::string_view textBox) override {
        return window_.text(window_.find(textBox));
    }
    void setCaption(std::string_view label, std::string_view caption) override {
        window_.setCaption(window_.find(label), caption);
    }

    const NativeWindow& window() const { return window_; }

private:
    std::optional<LRESULT> handle(UINT message, WPARAM w, LPARAM l) override;

    Win32Toolkit& toolkit_;
    HWND focus_ = nullptr; // what has the focus when the dialog is next active
    NativeWindow window_;
};

} // namespace toolkit::win32
