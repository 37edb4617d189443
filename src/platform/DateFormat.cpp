#include "platform/DateFormat.h"

#include <cstdio>

namespace tickforge {

namespace {

// Appends value in decimal, zero-padded to at least width digits.
void AppendNumber(std::string& out, int value, int width)
{
    char buffer[16];
    const int written = std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    if (written > 0)
        out.append(buffer, static_cast<std::size_t>(written));
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

}  // namespace

std::string FormatShortDate(DateTimeValue t, const std::string& pattern)
{
    const CivilDate date = DecodeDate(t);
    std::string out;
    out.reserve(pattern.size() + 4);
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'') {
            // Quoted literal text; '' inside or outside quotes stands for one quote.
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                out += '\'';
                i += 2;
                continue;
            }
            ++i;
            while (i < pattern.size()) {
                if (pattern[i] == '\'') {
                    if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                        out += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += pattern[i++];
            }
            continue;
        }
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        switch (c) {
        case 'd':
            AppendNumber(out, date.day, run >= 2 ? 2 : 1);
            break;
        case 'M':
            AppendNumber(out, date.month, run >= 2 ? 2 : 1);
            break;
        case 'y':
            if (run <= 2)
                AppendNumber(out, ((date.year % 100) + 100) % 100, 2);
            else
                AppendNumber(out, date.year, 4);
            break;
        default:
            out.append(run, c);
            break;
        }
        i += run;
    }
    return out;
}

std::optional<DateTimeValue> ParseIsoDate(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    int fields[3] = {0, 0, 0};
    const std::size_t starts[3] = {0, 5, 8};
    const std::size_t widths[3] = {4, 2, 2};
    for (int f = 0; f < 3; ++f) {
        for (std::size_t k = 0; k < widths[f]; ++k) {
            const char c = text[starts[f] + k];
            if (c < '0' || c > '9')
                return std::nullopt;
            fields[f] = fields[f] * 10 + (c - '0');
        }
    }
    const int year = fields[0];
    const int month = fields[1];
    const int day = fields[2];
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return std::nullopt;
    return EncodeDate({year, month, day});
}

}  // namespace tickforge
