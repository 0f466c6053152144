#pragma once

#include "views/CSpreadsheetView.h"

// The input pane's part that the move command keeps: the item being moved and where to.
class CAnInputView : public CSpreadsheetView {
public:
    int itemToMove() const { return m_itemToMove; }
    int destinationDivision() const { return m_destinationDivision; }
    void setMovePair(int item, int destination) {
        m_itemToMove = item;
        m_destinationDivision = destination;
    }
    void forgetMovePair() { setMovePair(-1, -1); }

private:
    int m_itemToMove = -1;
    int m_destinationDivision = -1;
};
