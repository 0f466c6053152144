#pragma once

#include "views/CSpreadsheetView.h"

// The input pane's part that the move command keeps: the item being moved and where to.
class CAnInputView : public CSpreadsheetView {
public:
    int itemToMove = -1;
    int destinationDivision = -1;
};
