#pragma once

#include "app/CHelpDialog.h"

#include <QDate>

class QDateEdit;

// "Choose a date, please.": a date picker starting at today, without range limits.
class CChsDateDlg : public CHelpDialog {
    Q_OBJECT

public:
    CChsDateDlg(const QDate& today, ShowHelp showHelp, QWidget* parent = nullptr);
    QDate date() const { return m_date; }
    QDateEdit* picker() const { return m_picker; }

private:
    QDateEdit* m_picker;
    QDate m_date;
};
