#pragma once

#include <QDialog>

// The first-run question whether the program should start at logon.
class CFrstSrtpChs : public QDialog {
    Q_OBJECT

public:
    explicit CFrstSrtpChs(QWidget* parent = nullptr);
};
