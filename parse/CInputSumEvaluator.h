#pragma once

#include <string>

class CMessageSink;
class CTimeStringReader;

// Evaluates a typed quantity: a sum of numbers with + - * / (no parentheses), "*" and "/"
// binding tighter, worked left to right. In time mode every number is hours with minutes
// after the point ("4:35"); in plain mode a decimal. Every failure shows exactly one message
// and leaves the caller's value alone.
class CInputSumEvaluator {
public:
    enum class Mode { Plain, Time };

    static constexpr const char* kMessageA =
        "Something is wrong. The program can accept numbers (e.g. 5.6 or 4), signs +,-,*,/ and "
        "don't accept parentheses.";
    static constexpr const char* kMessageB = "Please, make the sum or number that you input "
                                             "positive. The program cannot work with negative "
                                             "sums.";
    static constexpr const char* kMessageC = "The divisor is too small, increase it, please!";
    static constexpr const char* kMessageD =
        "An item must be a float number, for example  36  or 4 or 97.2  and so on.";

    CInputSumEvaluator(const CTimeStringReader& times, CMessageSink& messages)
        : m_times(times), m_messages(messages) {}

    bool evaluateInputSum(const std::string& text, double& value, Mode mode) const;
    bool checkFloatItem(const std::string& token, double& value) const;
    bool readTimeItem(const std::string& token, double& value) const;

private:
    bool fail(double& value, const char* message) const;
    bool readNumber(const std::string& token, double& x, Mode mode) const;

    const CTimeStringReader& m_times;
    CMessageSink& m_messages;
};
