#pragma once

// Everything a user can see of a grid's cells, to compare two grids cell by cell.

#include "views/CVCF1.h"

#include <algorithm>
#include <string>
#include <vector>

// Each row's height, then each cell's text and look.
inline std::vector<std::string> picture(const CVCF1& grid) {
    std::vector<std::string> cells;
    const int rows = grid.lastUsedRow() + 1;
    for (int row = 1; row <= rows; ++row) {
        cells.push_back("height " + std::to_string(grid.rowHeight(row)));
        for (int column = 1; column <= grid.columnCount(); ++column) {
            const CCellFormat f = grid.formatAt(row, column);
            cells.push_back(std::to_string(row) + "," + std::to_string(column) + " " +
                            grid.cellText(row, column).toStdString() + " | " +
                            std::to_string(f.textColour) + " " + std::to_string(f.fillColour) +
                            " " + std::to_string(f.horizontal) + " " + std::to_string(f.wrap) +
                            " " + std::to_string(f.bold) + " " + std::to_string(f.points) + " " +
                            std::to_string(f.left.style) + std::to_string(f.right.style) +
                            std::to_string(f.top.style) + std::to_string(f.bottom.style));
        }
    }
    return cells;
}

// The first cell where two pictures differ; "" when they are the same.
inline std::string firstDifference(const std::vector<std::string>& a,
                                   const std::vector<std::string>& b) {
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            return a[i] + "  /  " + b[i];
    return a.size() == b.size() ? "" : "a different number of rows";
}
