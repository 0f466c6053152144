#pragma once

// The numeric conventions of a comma-decimal locale (de_DE.UTF-8) for the life of the object,
// made with localedef in a private folder when the machine has not generated it.

#include "tests/support/TempDir.h"

#include <clocale>
#include <cstdlib>
#include <string>

class CommaLocale {
public:
    CommaLocale() {
        const char* before = std::setlocale(LC_NUMERIC, nullptr);
        m_before = before ? before : "C";
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
            const std::string made = m_folder.file("de_DE.UTF-8");
            const std::string command =
                "localedef -i de_DE -f UTF-8 '" + made + "' >/dev/null 2>&1";
            if (std::system(command.c_str()) == 0) {
                setenv("LOCPATH", m_folder.path().c_str(), 1);
                std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
            }
        }
        m_active = *std::localeconv()->decimal_point == ',';
    }
    ~CommaLocale() {
        std::setlocale(LC_NUMERIC, m_before.c_str());
        unsetenv("LOCPATH");
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool active() const { return m_active; }

private:
    TempDir m_folder;
    std::string m_before;
    bool m_active = false;
};
