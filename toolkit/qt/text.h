#pragma once

// The core speaks UTF-8, Qt UTF-16.

#include <QString>

#include <string_view>

namespace toolkit::qt {

inline QString qstr(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace toolkit::qt
