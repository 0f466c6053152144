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

    Answer askYesNoCancel(const std::string& text) override {
        if (choices.empty())
            return CMessageSink::askYesNoCancel(text);
        texts.push_back(text);
        const Answer choice = choices.front();
        choices.pop_front();
        return choice;
    }

    std::vector<std::string> texts;
    std::vector<std::string> notices;
    std::deque<bool> answers;
    // Answers to the questions with a Cancel; when none is left, they take those of answers.
    std::deque<Answer> choices;
    // Looks at the screen while a question is up.
    std::function<void(const std::string&)> onQuestion;

protected:
    void unheardNotice(const std::string& text) override { notices.push_back(text); }
};
