#pragma once

#include <string>
#include <string_view>
#include <vector>

// A table's row written as one string, its cells separated by '|'.
inline std::vector<std::string> cellsOf(std::string_view row) {
    std::vector<std::string> cells(1);
    for (const char c : row)
        c == '|' ? void(cells.emplace_back()) : cells.back().push_back(c);
    return cells;
}
