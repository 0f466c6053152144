#pragma once

#include <functional>
#include <string>

// Where the engine's fixed texts reach the user. The program shows message boxes, the
// command-line tool writes to stderr, tests record what was said and script the answers.
class CMessageSink {
public:
    virtual ~CMessageSink() = default;
    // An information or error text with an OK button.
    virtual void message(const std::string& text) = 0;
    // A passing remark that needs no answer: the main window shows it in its message bar;
    // without a window the sink keeps it where its messages go.
    void notice(const std::string& text) {
        if (showNotice)
            showNotice(text);
        else
            unheardNotice(text);
    }
    std::function<void(const std::string&)> showNotice;
    // A question with Yes and No buttons; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
    // A question whose Cancel (and Escape) takes back what the user was doing.
    enum class Answer { Yes, No, Cancel };
    virtual Answer askYesNoCancel(const std::string& text) {
        return askYesNo(text) ? Answer::Yes : Answer::No;
    }
    // No one is there to answer (a session's end, a run for tests): every question gets No.
    virtual bool unattended() const { return false; }

protected:
    virtual void unheardNotice(const std::string& text) { (void)text; }
};
