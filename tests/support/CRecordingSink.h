#pragma once

#include "core/CMessageSink.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// Records every text the engine shows and answers questions from a script (No when the
// script runs out).
class CRecordingSink : public CMessageSink {
public:
    void message(const std::string& text) override { texts.push_back(text); }
    bool askYesNo(const std::string& text) override {
        texts.push_back(text);
        if (onQuestion)
            onQuestion(text);
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> texts;
    std::deque<bool> answers;
    // Looks at the screen while a question is up.
    std::function<void(const std::string&)> onQuestion;
};
