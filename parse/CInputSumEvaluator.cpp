#include "parse/CInputSumEvaluator.h"

#include "core/CMessageSink.h"
#include "core/CTimeStringReader.h"
#include "core/Tolerance.h"
#include "parse/DecimalText.h"
#include "parse/NumberFormat.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace {

bool isNumberChar(char c, bool colon) {
    return (c >= '0' && c <= '9') || c == '.' || (colon && c == ':');
}

bool isSign(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/';
}

bool isAdditive(char c) {
    return c == '+' || c == '-';
}

// Trailing white space goes, an empty text is 0 and a trailing sign is made neutral.
std::string normalizeTail(const std::string& text) {
    std::string s = text;
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.pop_back();
    if (s.empty())
        return "0";
    if (isAdditive(s.back()))
        s += '0';
    else if (s.back() == '*' || s.back() == '/')
        s += '1';
    return s;
}

// Drops leading characters up to the first digit; a leading + or - gets a 0 in front.
// False when nothing is left.
bool normalizeHead(std::string& s) {
    std::size_t first = 0;
    while (first < s.size()) {
        const char c = s[first];
        if (c >= '0' && c <= '9')
            break;
        if (isAdditive(c)) {
            s.replace(0, first, 1, '0');
            return true;
        }
        ++first;
    }
    s.erase(0, first);
    return !s.empty();
}

} // namespace

bool CInputSumEvaluator::fail(double& value, const char* message) const {
    value = 0.0;
    if (message)
        m_messages.message(message);
    return false;
}

bool CInputSumEvaluator::readNumber(const std::string& token, double& x, Mode mode) const {
    const bool colon = token.find(':') != std::string::npos;
    if (mode == Mode::Plain || (mode == Mode::DecimalHours && !colon))
        return checkFloatItem(token, x);
    std::string time = token;
    for (char& c : time)
        if (c == ':')
            c = '.';
    return readTimeItem(time, x);
}

void CInputSumEvaluator::noteReading(const std::string& token, double hours,
                                     std::string& notes) const {
    const std::size_t point = token.find('.');
    if (point == std::string::npos || token.size() - point != 2)
        return;
    const std::string note = token + " read as " + numberformat::formatHoursMinutes(hours, 2);
    if (notes.find(note) != std::string::npos)
        return;
    if (!notes.empty())
        notes += ", ";
    notes += note;
}

bool CInputSumEvaluator::evaluateInputSum(const std::string& text, double& value, Mode mode) const {
    std::string s = normalizeTail(text);
    // The colon stays in the number: a reader tells "4:5" from "4.5" by it.
    const bool colon = mode != Mode::Plain;
    if (!normalizeHead(s))
        return fail(value, kMessageA);
    if (!isNumberChar(s.front(), colon) || !isNumberChar(s.back(), colon))
        return fail(value, kMessageA);
    s += '+';

    double result = 0.0;
    char pendingSign = '+';
    char addSign = '+';
    double term = 0.0;
    std::string token;
    std::string notes;
    for (char c : s) {
        if (isNumberChar(c, colon)) {
            token += c;
            continue;
        }
        if (c == ' ')
            continue;
        if (!isSign(c) || token.empty())
            return fail(value, kMessageA);
        double x = 0.0;
        if (!readNumber(token, x, mode))
            return fail(value, nullptr); // the reader has shown its own message
        if (mode == Mode::Time)
            noteReading(token, x, notes);
        token.clear();
        if (isAdditive(pendingSign)) {
            if (isAdditive(c))
                result += pendingSign == '+' ? x : -x;
            else {
                addSign = pendingSign;
                term = x;
            }
        } else {
            if (pendingSign == '*')
                term *= x;
            else if (std::fabs(x) < tolerance::kEqual)
                return fail(value, kMessageC);
            else
                term /= x;
            if (isAdditive(c))
                result += addSign == '+' ? term : -term;
        }
        pendingSign = c;
    }
    if (!(result >= 0.0) || !std::isfinite(result))
        return fail(value, kMessageB);
    value = result;
    if (!notes.empty())
        m_messages.notice(notes + " (hours.minutes)");
    return true;
}

bool CInputSumEvaluator::checkFloatItem(const std::string& token, double& value) const {
    if (token.empty()) {
        value = 0.0;
        return true;
    }
    int digits = 0;
    int points = 0;
    for (char c : token) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.')
            ++points;
        else
            return fail(value, kMessageD);
    }
    if (digits == 0 || points > 1)
        return fail(value, kMessageD);
    value = decimaltext::leadingValue(token);
    return true;
}

bool CInputSumEvaluator::readTimeItem(const std::string& token, double& value) const {
    return m_times.readTimeString(token, value);
}
