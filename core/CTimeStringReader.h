#pragma once

#include <string>

// Reads one typed hours number ("4.35" is 4 h 35 min). The helper library does it; the
// evaluator only needs this much of it.
class CTimeStringReader {
public:
    virtual ~CTimeStringReader() = default;
    // False after the reader has told the user why.
    virtual bool readTimeString(const std::string& text, double& hours) const = 0;
};
