#pragma once

#include <string_view>

namespace toolkit::win32 {

// Throws std::runtime_error naming the call that failed and, in the user's language, the
// reason that the system gives for the thread's last error.
[[noreturn]] void throwLastError(std::string_view call);

} // namespace toolkit::win32
