#include "core/CMyStringDate.h"

#include <cstdio>
#include <optional>

namespace {

using namespace std::chrono;

// Dates are converted for every week of every activity: digits by hand, no allocation.
int digits(const std::string& text, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

std::optional<sys_days> toDate(const std::string& text) {
    if (text.size() != 8)
        return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    const year_month_day ymd{year{digits(text, 0, 4)},
                             month{static_cast<unsigned>(digits(text, 4, 2))},
                             day{static_cast<unsigned>(digits(text, 6, 2))}};
    if (!ymd.ok())
        return std::nullopt;
    return sys_days{ymd};
}

} // namespace

bool CMyStringDate::setTyped(const std::string& text) {
    std::string compact = text;
    if (text.size() == 10 && text[4] == '-' && text[7] == '-')
        compact = text.substr(0, 4) + text.substr(5, 2) + text.substr(8, 2);
    if (!toDate(compact))
        return false;
    m_text = compact;
    return true;
}

bool CMyStringDate::setText(const std::string& text) {
    if (text.size() != 8)
        return false;
    m_text = text;
    return true;
}

std::chrono::sys_days CMyStringDate::date() const {
    return parse(m_text);
}

void CMyStringDate::setDate(std::chrono::sys_days date) {
    m_text = format(date);
}

std::string CMyStringDate::displayForm() const {
    if (m_text.size() < 8)
        return m_text;
    return m_text.substr(4, 2) + "/" + m_text.substr(6, 2) + "/" + m_text.substr(0, 4);
}

std::string CMyStringDate::isoForm() const {
    return isoForm(m_text);
}

std::string CMyStringDate::isoForm(const std::string& text) {
    if (text.size() < 8)
        return text;
    return text.substr(0, 4) + '-' + text.substr(4, 2) + '-' + text.substr(6, 2);
}

bool CMyStringDate::isValid() const {
    return toDate(m_text).has_value();
}

std::chrono::sys_days CMyStringDate::parse(const std::string& text) {
    return toDate(text).value_or(sys_days{year{1900} / January / 1});
}

std::string CMyStringDate::format(std::chrono::sys_days date) {
    const year_month_day ymd{date};
    const int y = static_cast<int>(ymd.year());
    if (y < 0 || y > 9999) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%04d%02u%02u", y, static_cast<unsigned>(ymd.month()),
                      static_cast<unsigned>(ymd.day()));
        return buffer;
    }
    const unsigned m = static_cast<unsigned>(ymd.month());
    const unsigned d = static_cast<unsigned>(ymd.day());
    std::string text(8, '0');
    text[0] = static_cast<char>('0' + y / 1000);
    text[1] = static_cast<char>('0' + y / 100 % 10);
    text[2] = static_cast<char>('0' + y / 10 % 10);
    text[3] = static_cast<char>('0' + y % 10);
    text[4] = static_cast<char>('0' + m / 10);
    text[5] = static_cast<char>('0' + m % 10);
    text[6] = static_cast<char>('0' + d / 10);
    text[7] = static_cast<char>('0' + d % 10);
    return text;
}
