#pragma once

#include <QDialog>

// The first-run question whether the program should start at logon.
class CFrstSrtpChs : public QDialog {
public:
    explicit CFrstSrtpChs(QWidget* parent = nullptr);
};
