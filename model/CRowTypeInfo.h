#pragma once

#include <cstdint>
#include <map>

// What one data row of a pane stands for: the item and the kind of row. The document builds
// the row maps; the panes only read them.
class CRowTypeInfo {
public:
    enum class Kind : int {
        Activity = 1,
        DivisionBegin = 2,
        CurrentDivision = 4,
        ParentDivision = 5,
    };

    CRowTypeInfo(Kind kind, std::uint16_t itemId) : m_kind(kind), m_itemId(itemId) {}

    Kind kind() const { return m_kind; }
    int typeCode() const { return static_cast<int>(m_kind); }
    std::uint16_t itemId() const { return m_itemId; }

    bool operator==(const CRowTypeInfo&) const = default;

private:
    Kind m_kind;
    std::uint16_t m_itemId;
};

// Data-row number (1 for the first row under the title) to the row it shows.
using RowMap = std::map<int, CRowTypeInfo>;
