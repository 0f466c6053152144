#pragma once

#include <string>
#include <string_view>
#include <vector>

// The cells of the plan's CSV files (the export and the archive of older weeks): quoting,
// the path of names in one cell, hours in the ledger's precision, and reading records back.
class CCsvCells {
public:
    struct Row {
        int line = 0;
        std::vector<std::string> fields;
    };

    static std::string quoted(const std::string& field);
    static std::string guardedCell(const std::string& text);
    static std::string pathCell(const std::vector<std::string>& names);
    static std::vector<std::string> pathOf(std::string_view cell);
    static std::string hoursText(double hours);
    static std::vector<Row> records(std::string_view text, char separator);
};
