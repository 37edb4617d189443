#include "cli/DatePattern.h"

#include <cctype>

namespace tickforge::cli {

std::string CheckDatePattern(const std::string& pattern)
{
    if (pattern.empty())
        return "the date pattern is empty";
    bool anyField = false;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'') {
            const std::size_t close = pattern.find('\'', i + 1);
            if (close == std::string::npos)
                return "a quote in the date pattern is not closed";
            i = close + 1;
            continue;
        }
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        const bool valid = ((c == 'd' || c == 'M') && run <= 2) || (c == 'y' && (run == 2 || run == 4));
        if (!valid)
            return std::string("'").append(pattern, i, run) + "' is not a date field (use d, dd, M, MM, yy, yyyy)";
        anyField = true;
        i += run;
    }
    if (!anyField)
        return "the date pattern holds no date field (d, dd, M, MM, yy, yyyy)";
    return {};
}

std::string PatternFromStrftime(const std::string& format)
{
    std::string pattern;
    std::string literal;  // letters must be quoted to stay text
    auto flushLiteral = [&] {
        if (!literal.empty()) {
            pattern += '\'' + literal + '\'';
            literal.clear();
        }
    };
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%') {
            if (c == '\'')
                return {};
            if (std::isalpha(static_cast<unsigned char>(c)))
                literal += c;
            else {
                flushLiteral();
                pattern += c;
            }
            continue;
        }
        flushLiteral();
        if (++i >= format.size())
            return {};
        bool unpadded = false;
        if (format[i] == '-' || format[i] == '_') {
            unpadded = true;
            if (++i >= format.size())
                return {};
        }
        switch (format[i]) {
        case 'd': pattern += unpadded ? "d" : "dd"; break;
        case 'e': pattern += "d"; break;
        case 'm': pattern += unpadded ? "M" : "MM"; break;
        case 'y': pattern += "yy"; break;
        case 'Y': pattern += "yyyy"; break;
        case 'D': pattern += "MM/dd/yy"; break;
        case 'F': pattern += "yyyy-MM-dd"; break;
        case '%': pattern += '%'; break;
        default: return {};
        }
    }
    flushLiteral();
    return pattern;
}

}  // namespace tickforge::cli
