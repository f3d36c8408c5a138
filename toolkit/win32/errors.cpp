#include "toolkit/win32/errors.h"

#include "toolkit/win32/text.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace toolkit::win32 {

void throwLastError(std::string_view call) {
    const DWORD error = GetLastError();
    wchar_t* reason = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
    std::wstring_view text(reason, length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.remove_suffix(1);
    std::string what =
        std::string(call) + ": " + (text.empty() ? "error " + std::to_string(error) : narrow(text));
    LocalFree(reason);
    throw std::runtime_error(what);
}

} // namespace toolkit::win32
