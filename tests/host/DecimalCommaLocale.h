#pragma once
// Runs a block under a decimal-comma locale, as on a Dutch desktop, and restores the old one after.

#include <clocale>
#include <string>

class DecimalCommaLocale {
public:
    DecimalCommaLocale() {
        m_old = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"nl_NL.UTF-8", "nl_NL.utf8", "de_DE.UTF-8", "de_DE.utf8"})
            if (std::setlocale(LC_ALL, name)) {
                m_active = true;
                break;
            }
    }
    ~DecimalCommaLocale() { std::setlocale(LC_ALL, m_old.c_str()); }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;
    /// False when no decimal-comma locale is installed (./vor generates nl_NL.UTF-8).
    bool active() const { return m_active; }

private:
    std::string m_old;
    bool m_active = false;
};
