#pragma once

#include "core/CMessageSink.h"

// Messages of a command-line run: each text on its own line on stderr. Questions are answered
// No, since nobody is there to answer them.
class CStderrMessageSink : public CMessageSink {
public:
    void message(const std::string& text) override;
    bool askYesNo(const std::string& text) override;

protected:
    void unheardNotice(const std::string& text) override { message(text); }
};
