#include "platform/DateFormat.h"

#include <chrono>
#include <cstdio>

namespace tickforge {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Appends value in decimal, zero-padded to at least width digits.
void AppendNumber(std::string& out, int value, int width)
{
    char buffer[16];
    const int written = std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    if (written > 0)
        out.append(buffer, static_cast<std::size_t>(written));
}

void AddLiteral(DatePattern& pattern, std::string_view text)
{
    if (pattern.pieces.empty() || pattern.pieces.back().letter != 0)
        pattern.pieces.push_back({});
    pattern.pieces.back().text.append(text);
}

// A literal written back into a pattern: runs of letters quoted, quotes doubled.
std::string QuotedLiteral(std::string_view text)
{
    std::string out;
    bool quoting = false;
    for (const char c : text) {
        if (IsAsciiLetter(c) != quoting) {
            out += '\'';
            quoting = !quoting;
        }
        out += c;
        if (c == '\'')
            out += '\'';
    }
    if (quoting)
        out += '\'';
    return out;
}

}  // namespace

DatePattern ParseDatePattern(std::string_view text)
{
    DatePattern pattern;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\'') {
            if (i + 1 < text.size() && text[i + 1] == '\'') {
                AddLiteral(pattern, "'");
                i += 2;
                continue;
            }
            // Quoted literal text, where '' stands for one quote.
            ++i;
            std::string quoted;
            bool closed = false;
            while (i < text.size() && !closed) {
                if (text[i] != '\'') {
                    quoted += text[i++];
                } else if (i + 1 < text.size() && text[i + 1] == '\'') {
                    quoted += '\'';
                    i += 2;
                } else {
                    ++i;
                    closed = true;
                }
            }
            pattern.unclosedQuote = !closed;
            AddLiteral(pattern, quoted);
            continue;
        }
        if (!IsAsciiLetter(c)) {
            AddLiteral(pattern, text.substr(i, 1));
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < text.size() && text[i + run] == c)
            ++run;
        pattern.pieces.push_back({c, run, {}});
        i += run;
    }
    return pattern;
}

ShortDateWriter::ShortDateWriter(std::string_view pattern) : pattern_(ParseDatePattern(pattern)) {}

void ShortDateWriter::Append(std::string& out, DateTimeValue t) const
{
    const CivilDate date = DecodeDate(t);
    for (const DatePatternPiece& piece : pattern_.pieces) {
        switch (piece.letter) {
        case 0: out += piece.text; break;
        case 'd': AppendNumber(out, date.day, piece.run >= 2 ? 2 : 1); break;
        case 'M': AppendNumber(out, date.month, piece.run >= 2 ? 2 : 1); break;
        case 'y':
            if (piece.run <= 2)
                AppendNumber(out, date.year % 100, 2);
            else
                AppendNumber(out, date.year, 4);
            break;
        default: out.append(piece.run, piece.letter); break;
        }
    }
}

std::string FormatShortDate(DateTimeValue t, const std::string& pattern)
{
    std::string out;
    ShortDateWriter(pattern).Append(out, t);
    return out;
}

std::string CheckDatePattern(const std::string& text)
{
    if (text.empty())
        return "the date pattern is empty";
    const DatePattern pattern = ParseDatePattern(text);
    bool anyField = false;
    for (const DatePatternPiece& piece : pattern.pieces) {
        if (piece.letter == 0)
            continue;
        const char c = piece.letter;
        const bool valid = ((c == 'd' || c == 'M') && piece.run <= 2) || (c == 'y' && (piece.run == 2 || piece.run == 4));
        if (!valid)
            return "'" + std::string(piece.run, c) + "' is not a date field (use d, dd, M, MM, yy, yyyy)";
        anyField = true;
    }
    if (pattern.unclosedQuote)
        return "a quote in the date pattern is not closed";
    if (!anyField)
        return "the date pattern holds no date field (d, dd, M, MM, yy, yyyy)";
    return {};
}

std::string ShortDatePatternOfQtFormat(std::string_view qtFormat)
{
    const DatePattern pattern = ParseDatePattern(qtFormat);
    std::string out;
    bool afterWeekday = false;
    for (const DatePatternPiece& piece : pattern.pieces) {
        if (piece.letter == 0) {
            std::string_view text = piece.text;
            // The separators after a dropped weekday name ("dddd, " of "dddd, d MMMM").
            if (afterWeekday)
                while (!text.empty() && !IsAsciiLetter(text.front()))
                    text.remove_prefix(1);
            out += QuotedLiteral(text);
        } else if (piece.letter == 'd' && piece.run > 2) {
            afterWeekday = true;
            continue;
        } else if (piece.letter == 'd') {
            out.append(piece.run, 'd');
        } else if (piece.letter == 'M') {
            out += piece.run == 1 ? "M" : "MM";
        } else if (piece.letter == 'y') {
            out += piece.run == 2 ? "yy" : "yyyy";
        } else {
            out.append(piece.run, piece.letter);
        }
        afterWeekday = false;
    }
    const std::size_t first = out.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return out.substr(first, out.find_last_not_of(" \t") + 1 - first);
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
    const std::chrono::year_month_day date{std::chrono::year{fields[0]}, std::chrono::month{static_cast<unsigned>(fields[1])},
                                           std::chrono::day{static_cast<unsigned>(fields[2])}};
    if (fields[0] < FirstYear || !date.ok())
        return std::nullopt;
    return EncodeDate({fields[0], fields[1], fields[2]});
}

std::string IsoDateText(DateTimeValue t)
{
    const CivilDate date = DecodeDate(t);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string IsoTimeText(DateTimeValue t)
{
    const TimeOfDay time = DecodeTime(t);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", time.hour, time.minute, time.second, time.millisecond);
    return text;
}

std::string IsoDateTimeText(DateTimeValue t) { return IsoDateText(t) + "T" + IsoTimeText(t); }

}  // namespace tickforge
