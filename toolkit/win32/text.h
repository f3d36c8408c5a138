#pragma once

// The core speaks UTF-8, Windows UTF-16. Both conversions take any input: a malformed
// sequence becomes U+FFFD, and texts longer than the conversion functions' int counts
// (an edit control holds up to 2^31 - 2 characters) are converted piece by piece.

#include <string>
#include <string_view>

namespace toolkit::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

} // namespace toolkit::win32
