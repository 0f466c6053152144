#pragma once

#include <chrono>
#include <string>

// A date held as its eight-digit text (year, month, day). Texts of this form sort in date
// order, so most comparisons in the program are plain string comparisons.
class CMyStringDate {
public:
    CMyStringDate() = default;
    explicit CMyStringDate(std::chrono::sys_days date) { setDate(date); }
    virtual ~CMyStringDate() = default;

    const std::string& text() const { return m_text; }

    // Accepts only a text of exactly eight characters; otherwise the old text stays.
    bool setText(const std::string& text);

    // A date as a person or a spreadsheet writes it, YYYY-MM-DD or YYYYMMDD: true when it is a
    // valid calendar date; otherwise the old text stays.
    bool setTyped(const std::string& text);

    // A text that gives no valid calendar date reads as 1 January 1900.
    std::chrono::sys_days date() const;
    void setDate(std::chrono::sys_days date);

    // MM/DD/YYYY, cut from the text.
    std::string displayForm() const;
    // YYYY-MM-DD, as files and scripts write dates.
    std::string isoForm() const;
    static std::string isoForm(const std::string& text);

    // True when the text is a valid calendar date.
    bool isValid() const;

    static std::chrono::sys_days parse(const std::string& text);
    static std::string format(std::chrono::sys_days date);

private:
    std::string m_text{"19980101"};
};
