#pragma once

#include "model/CPlanActions.h"

#include <QString>

#include <vector>

// The input pane's columns, in order: what each shows, its width, how it takes typing and
// which changes write it again. The pane builds, fills and refreshes from this table alone, so
// a column is added in one place.
class CInputColumns {
public:
    enum class Kind { Name, Priority, Part, Hours, WeekTotal };
    // How a typed text is taken; None: shown, never typed.
    enum class Entry { None, Name, Part, Hours };
    using Shows = CPlanActions::Outcome::Shows;

    struct Column {
        Kind kind;
        Entry entry;
        // The heading row's text; the hours' headings are written with the dates.
        QString heading;
        // The width: a sample text, and whether the column keeps it or takes a share of the
        // room left.
        QString sample;
        bool fixed = true;
        // A timesheet's day: 1 for Sunday to 7; 0 for the active day or week.
        int day = 0;
        // The change after which its cells are written again; Nothing: after every change.
        Shows follows = Shows::Nothing;
    };

    static constexpr int kDays = 7;

    // The one-day pane's columns, or the timesheet's: a column per day and the week's total.
    explicit CInputColumns(bool days = false);

    int count() const { return static_cast<int>(m_columns.size()); }
    // Grid columns count from 1; null for a column that is not in the table.
    const Column* at(int column) const;
    // The first column of the kind; 0 when there is none.
    int first(Kind kind) const;
    int last(Kind kind) const;
    const std::vector<Column>& all() const { return m_columns; }
    // Whether an outcome of the kind writes the column again.
    static bool follows(const Column& column, Shows shows);

private:
    std::vector<Column> m_columns;
};
