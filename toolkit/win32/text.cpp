#include "toolkit/win32/text.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>

namespace toolkit::win32 {
namespace {

// A field holds whatever a paste puts into it: the edit controls are made to take as much as
// they can (EM_SETLIMITTEXT 0, 2^31 - 2 units), and its UTF-8, up to three bytes a unit, can
// be longer than the conversion functions' int counts. A piece is small enough that three
// UTF-8 bytes for each UTF-16 unit still fit in an int.
constexpr std::size_t pieceLength = std::size_t{1} << 24;

// A piece never ends inside a character: not before a UTF-8 continuation byte, not between
// the two halves of a surrogate pair.
std::size_t pieceEnd(std::string_view utf8, std::size_t begin) {
    std::size_t end = std::min(utf8.size(), begin + pieceLength);
    for (int back = 0; back < 3 && end < utf8.size() && end > begin + 1 &&
                       (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80;
         ++back)
        --end;
    return end;
}

std::size_t pieceEnd(std::wstring_view utf16, std::size_t begin) {
    const std::size_t end = std::min(utf16.size(), begin + pieceLength);
    return end < utf16.size() && end > begin + 1 && IS_HIGH_SURROGATE(utf16[end - 1]) ? end - 1
                                                                                      : end;
}

} // namespace

std::wstring widen(std::string_view utf8) {
    std::wstring result;
    for (std::size_t begin = 0; begin < utf8.size();) {
        const std::size_t end = pieceEnd(utf8, begin);
        const char* piece = utf8.data() + begin;
        const int length = static_cast<int>(end - begin);
        const int units = MultiByteToWideChar(CP_UTF8, 0, piece, length, nullptr, 0);
        const std::size_t at = result.size();
        result.resize(at + static_cast<std::size_t>(units));
        MultiByteToWideChar(CP_UTF8, 0, piece, length, result.data() + at, units);
        begin = end;
    }
    return result;
}

std::string narrow(std::wstring_view utf16) {
    std::string result;
    for (std::size_t begin = 0; begin < utf16.size();) {
        const std::size_t end = pieceEnd(utf16, begin);
        const wchar_t* piece = utf16.data() + begin;
        const int length = static_cast<int>(end - begin);
        const int bytes =
            WideCharToMultiByte(CP_UTF8, 0, piece, length, nullptr, 0, nullptr, nullptr);
        const std::size_t at = result.size();
        result.resize(at + static_cast<std::size_t>(bytes));
        WideCharToMultiByte(CP_UTF8, 0, piece, length, result.data() + at, bytes, nullptr, nullptr);
        begin = end;
    }
    return result;
}

} // namespace toolkit::win32
