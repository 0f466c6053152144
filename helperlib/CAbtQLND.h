#pragma once

#include <QDialog>

// The about box: the program icon, its name and version, and OK.
class CAbtQLND : public QDialog {
    Q_OBJECT

public:
    explicit CAbtQLND(QWidget* parent = nullptr);
};
