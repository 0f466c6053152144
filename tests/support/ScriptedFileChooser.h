#pragma once

#include "app/CFileChooser.h"

#include <functional>

// The file dialog as a test answers it: each question goes to the test's function; without one
// the user cancelled.
struct ScriptedFileChooser : CFileChooser {
    std::function<QString(const Question& question)> answer;

    QString chooseFile(const Question& question) override {
        return answer ? answer(question) : QString();
    }
};
