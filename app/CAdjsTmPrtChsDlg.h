#pragma once

#include "app/CHelpDialog.h"

// "Select how to adjust the time part": asked when a requested part would make the parts add
// up to more than 100 %. The choice is 0 to recalculate all parts, 1 to diminish some, 3 none.
class CAdjsTmPrtChsDlg : public CHelpDialog {
    Q_OBJECT

public:
    static constexpr int kRecalculate = 0;
    static constexpr int kDiminish = 1;
    static constexpr int kNone = 3;

    explicit CAdjsTmPrtChsDlg(ShowHelp showHelp, QWidget* parent = nullptr);
    int choice() const { return m_choice; }

private:
    int m_choice = kNone;
};
