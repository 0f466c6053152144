#include "views/MainViewLayout.h"

#include "views/CLayoutGreed.h"

namespace mainviewlayout {

double leftFraction(int charWidth, int leftChars, int rightChars, int screenWidth) {
    if (charWidth <= 0)
        return 0.5;
    const int spare = (screenWidth - charWidth * (leftChars + rightChars)) / 2;
    const double left = charWidth * leftChars + spare;
    const double right = charWidth * rightChars + spare;
    return left / (left + right);
}

void arrange(CLayoutGreed& grid, double left, bool withDivisions) {
    grid.resetLayout();
    grid.setTwoColumns();
    grid.setTwoRows();
    grid.setColumnFraction(left, 0);
    grid.setColumnFraction(1.0 - left, 1);
    grid.setRowFraction(0.5, 0);
    grid.setRowFraction(0.5, 1);
    grid.validateFractions();
    grid.assignCell(0, 0, 0);
    grid.assignCell(0, 0, 1);
    grid.assignCell(1, 1, 0);
    grid.assignCell(withDivisions ? 2 : 1, 1, 1);
    grid.computeFractionRects();
}

} // namespace mainviewlayout
