#pragma once

#include "engine/ports.h"

#include <string>
#include <string_view>

namespace ui {

class Windows;

// The dialogs as one tick reads and writes them. Reading a field of a dialog that does not
// exist creates the dialog, hidden, with empty fields. The notice that a tick sets after a
// tick that set none begins an alarm: it appears anew, which is what screen readers announce,
// also where it shows still since an earlier alarm; and the clock asks for attention, for
// those who cannot hear the chime or look at another window, muted or not.
class TickDialogs final : public engine::Dialogs {
public:
    TickDialogs(Windows& windows, bool noticeInLastTick)
        : windows_(windows)
        , noticeInLastTick_(noticeInLastTick) {}

    std::string fieldText(engine::Field field) override;
    void setNotice(std::string_view caption) override;

    // Whether this tick set the notice, for the next one.
    bool noticeSet() const { return noticeSet_; }

private:
    Windows& windows_;
    const bool noticeInLastTick_;
    bool noticeSet_ = false;
};

} // namespace ui
