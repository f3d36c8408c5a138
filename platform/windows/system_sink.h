#pragma once

#include "platform/beep_queue.h"

#include <memory>

namespace platform {

// The user's Default Beep, as the sound scheme in the system's settings has it, played to
// its end; silent where the scheme gives it no sound.
std::unique_ptr<Sink> makeSystemSink();

} // namespace platform
