#include "app/CMyStringDate.h"

#include <cstdio>
#include <optional>

namespace {

using namespace std::chrono;

std::optional<sys_days> toDate(const std::string& text) {
    if (text.size() != 8)
        return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    const year_month_day ymd{year{std::stoi(text.substr(0, 4))},
                             month{static_cast<unsigned>(std::stoi(text.substr(4, 2)))},
                             day{static_cast<unsigned>(std::stoi(text.substr(6, 2)))}};
    if (!ymd.ok())
        return std::nullopt;
    return sys_days{ymd};
}

} // namespace

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

bool CMyStringDate::isValid() const {
    return toDate(m_text).has_value();
}

std::chrono::sys_days CMyStringDate::parse(const std::string& text) {
    return toDate(text).value_or(sys_days{year{1900} / January / 1});
}

std::string CMyStringDate::format(std::chrono::sys_days date) {
    const year_month_day ymd{date};
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02u%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return buffer;
}
