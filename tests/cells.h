#pragma once

#include <string>
#include <string_view>
#include <vector>

// A table's row written as one string, its cells separated by '|'.
inline std::vector<std::string> Cells(std::string_view row) {
    std::vector<std::string> cells;
    for (std::size_t at = 0;;) {
        const std::size_t bar = row.find('|', at);
        cells.emplace_back(row.substr(at, bar - at));
        if (bar == std::string_view::npos)
            return cells;
        at = bar + 1;
    }
}
