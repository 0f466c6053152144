#pragma once

#include <QString>

// What a grid asks the pane that fills it about a cell, before an editor opens on it or Tab
// leaves it. Rows and columns count from 1, as the grid's do. A grid without rules lets every
// cell be typed into with its shown text, and Tab goes cell by cell.
class CCellRules {
public:
    virtual ~CCellRules() = default;

    // Whether the cell takes typing at all, asked without a word (a double click elsewhere
    // opens nothing and says nothing).
    virtual bool editable(int row, int column) const = 0;
    // Asked as the user opens an editor: true refuses it, and the pane says why.
    virtual bool refusesEdit(int row, int column) const = 0;
    // The text an editor opens with, when it is not the cell's shown text (a name shown with
    // its divisions is edited as the name alone); a null text for the shown one.
    virtual QString editText(int row, int column) const = 0;
    // The cells Tab and Shift+Tab go to: the next one of the row, and from the row's last one
    // the same column of the next row that has it.
    virtual bool isTabStop(int row, int column) const = 0;
};
