#pragma once

#include "app/CHelpDialog.h"

// "Activity or Division?": what the user would like to insert. Activity ends with OK,
// Division with kDivision, Cancel with a rejection.
class CActvtOrDvsnChsDlg : public CHelpDialog {
    Q_OBJECT

public:
    static constexpr int kDivision = 7;
    explicit CActvtOrDvsnChsDlg(ShowHelp showHelp, QWidget* parent = nullptr);
};
