#include "views/CInputColumns.h"

CInputColumns::CInputColumns(bool days) {
    m_columns = {
        {Kind::Name, Entry::Name, QStringLiteral("Activities"), QStringLiteral("xxActive Day: "),
         false, 0, Shows::Tree},
        {Kind::Priority, Entry::None, QStringLiteral("Current Priorities"),
         QStringLiteral("xPriorities")},
        {Kind::Part, Entry::Part, QStringLiteral("Time Parts %"), QStringLiteral("xxxParts"), true,
         0, Shows::Parts},
    };
    if (!days) {
        m_columns.push_back(
            {Kind::Hours, Entry::Hours, {}, QStringLiteral("xActive"), true, 0, Shows::Hours});
        return;
    }
    for (int day = 1; day <= kDays; ++day)
        m_columns.push_back(
            {Kind::Hours, Entry::Hours, {}, QStringLiteral("x10:00"), true, day, Shows::Hours});
    m_columns.push_back({Kind::WeekTotal, Entry::None, QStringLiteral("Week Total"),
                         QStringLiteral("x40:00"), true, 0, Shows::Hours});
}

const CInputColumns::Column* CInputColumns::at(int column) const {
    if (column < 1 || column > count())
        return nullptr;
    return &m_columns[static_cast<std::size_t>(column - 1)];
}

int CInputColumns::first(Kind kind) const {
    for (int c = 1; c <= count(); ++c)
        if (at(c)->kind == kind)
            return c;
    return 0;
}

int CInputColumns::last(Kind kind) const {
    for (int c = count(); c >= 1; --c)
        if (at(c)->kind == kind)
            return c;
    return 0;
}

bool CInputColumns::follows(const Column& column, Shows shows) {
    return column.follows == Shows::Nothing || column.follows == shows || shows == Shows::Tree;
}
