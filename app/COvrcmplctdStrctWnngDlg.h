#pragma once

#include "app/CHelpDialog.h"

// "Warning about overcomplicated structure.": asked before a division goes inside a named
// division. kInRoot creates it in the root instead, kAsChosen where the user chose.
class COvrcmplctdStrctWnngDlg : public CHelpDialog {
    Q_OBJECT

public:
    static constexpr int kInRoot = 1028;
    static constexpr int kAsChosen = 1029;
    COvrcmplctdStrctWnngDlg(const QString& explanation, ShowHelp showHelp,
                            QWidget* parent = nullptr);
};
