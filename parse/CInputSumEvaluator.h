#pragma once

#include <string>

class CMessageSink;
class CTimeStringReader;

// Evaluates a typed quantity: a sum of numbers with + - * / (no parentheses), "*" and "/"
// binding tighter, worked left to right. In time mode every number is hours with minutes
// after the point ("4:35"); in plain mode a decimal; in decimal-hours mode a number with a
// colon is hours and minutes and any other a decimal ("1.5" is 1:30). Every failure shows
// exactly one message and leaves the caller's value alone.
class CInputSumEvaluator {
public:
    enum class Mode { Plain, Time, DecimalHours };
    // The mode for hours as the user chose to type them.
    static Mode hoursMode(bool decimal) { return decimal ? Mode::DecimalHours : Mode::Time; }

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
    // "1.5" in time mode is 1:50, which a user may have meant as an hour and a half: the
    // reading is noted, once per evaluation.
    void noteReading(const std::string& token, double hours, std::string& notes) const;

    const CTimeStringReader& m_times;
    CMessageSink& m_messages;
};
