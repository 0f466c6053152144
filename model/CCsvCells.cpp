#include "model/CCsvCells.h"

#include <charconv>

std::string CCsvCells::quoted(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string out = "\"";
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

// A name cell that a spreadsheet would run as a formula gets the usual leading apostrophe;
// so does one that starts with an apostrophe, so that the import's taking one off is exact.
std::string CCsvCells::guardedCell(const std::string& text) {
    return !text.empty() && std::string_view("=+-@\t'").find(text.front()) != std::string::npos
               ? "'" + text
               : text;
}

// The path of names as one cell, ". " between names. Inside a name a backslash goes before
// a backslash and before a dot followed by a blank, so the name's own ". " is not a separator.
std::string CCsvCells::pathCell(const std::vector<std::string>& names) {
    std::string cell;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            cell += ". ";
        for (std::size_t at = 0; at < names[i].size(); ++at) {
            const char c = names[i][at];
            if (c == '\\' || (c == '.' && at + 1 < names[i].size() && names[i][at + 1] == ' '))
                cell += '\\';
            cell += c;
        }
    }
    return guardedCell(cell);
}

// The ledger keeps single precision: the shortest text that reads back to the same float.
std::string CCsvCells::hoursText(double hours) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(hours));
    return std::string(buffer, result.ptr);
}

// RFC 4180 records with the given separator; a record's line is the one it starts on.
std::vector<CCsvCells::Row> CCsvCells::records(std::string_view text, char separator) {
    std::vector<Row> rows;
    Row row;
    std::string field;
    bool quotedField = false;
    bool fieldStarted = false;
    int line = 1;
    row.line = 1;
    const auto endRecord = [&] {
        if (fieldStarted || !row.fields.empty())
            row.fields.push_back(field);
        if (!(row.fields.size() == 1 && row.fields[0].empty()) && !row.fields.empty())
            rows.push_back(row);
        row = Row{};
        field.clear();
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quotedField) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quotedField = false;
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == '"' && field.empty()) {
            quotedField = true;
            fieldStarted = true;
        } else if (c == separator) {
            row.fields.push_back(field);
            field.clear();
            fieldStarted = true;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endRecord();
            row.line = ++line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    endRecord();
    return rows;
}

// The names of a path cell (see pathCell). A backslash before anything but a backslash or a
// dot is an ordinary character, as in a hand-written file.
std::vector<std::string> CCsvCells::pathOf(std::string_view cell) {
    if (!cell.empty() && cell.front() == '\'')
        cell.remove_prefix(1); // the spreadsheet guard
    std::vector<std::string> parts(1);
    for (std::size_t at = 0; at < cell.size(); ++at) {
        const char c = cell[at];
        if (c == '\\' && at + 1 < cell.size() && (cell[at + 1] == '\\' || cell[at + 1] == '.')) {
            parts.back() += cell[++at];
        } else if (c == '.' && at + 1 < cell.size() && cell[at + 1] == ' ') {
            parts.emplace_back();
            ++at;
        } else {
            parts.back() += c;
        }
    }
    return parts;
}
