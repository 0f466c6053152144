#include "tools/CStderrMessageSink.h"

#include <cstdio>

void CStderrMessageSink::message(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool CStderrMessageSink::askYesNo(const std::string& text) {
    message(text);
    return false;
}
