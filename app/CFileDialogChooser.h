#pragma once

#include "app/CFileChooser.h"

class QWidget;

// The desktop's file dialog over a window. Opening accepts a name that does not exist yet
// (that is how a new plan is made); a name typed without an extension takes the one of the
// filter chosen, so that saving asks before it replaces a file of that full name.
class CFileDialogChooser : public CFileChooser {
public:
    explicit CFileDialogChooser(QWidget* parent) : m_parent(parent) {}

    QString chooseFile(const Question& question) override;

private:
    QWidget* m_parent;
};
