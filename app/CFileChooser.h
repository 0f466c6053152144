#pragma once

#include <QString>

// What a command asks when it needs a file's name: the desktop's file dialog in the program
// (CFileDialogChooser), the test's answer in the tests.
class CFileChooser {
public:
    struct Question {
        QString title;
        QString directory; // where the dialog starts
        QString filters;   // name filters, ";;" between them
        bool saving = false;
        // The filter to start with, when not the first; set to the one the user chose.
        QString* chosenFilter = nullptr;
    };

    virtual ~CFileChooser() = default;
    // The name chosen; "" when the user cancelled.
    virtual QString chooseFile(const Question& question) = 0;
};
