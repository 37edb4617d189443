#include "platform/NumericText.h"

#include "platform/Error.h"

#include <cerrno>
#include <cstdlib>
#include <locale.h>
#include <cmath>
#include <limits>

namespace tickforge {

namespace {

// The C locale, whatever the process's own: the text has been brought into its form.
locale_t CLocale()
{
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text between leading and trailing blanks.
std::string_view Trimmed(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return std::string_view(text).substr(begin, end - begin);
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(const std::string& text)
{
    std::string_view s = Trimmed(text);
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : s) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(const std::string& text)
{
    if (auto value = TryStrToInt(text))
        return *value;
    throw Error(FormatMessage(messages::NotAnInteger, text));
}

std::optional<double> TryStrToFloat(const std::string& text, const LocaleFormats& formats)
{
    const std::string_view s = Trimmed(text);
    // Check the grammar first and build the plain form that the C library reads.
    std::string plain;
    plain.reserve(s.size());
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-')
            plain += '-';
        ++i;
    }
    std::size_t mantissaDigits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        plain += s[i++];
        ++mantissaDigits;
    }
    if (i < s.size() && s[i] == formats.decimalSeparator) {
        plain += '.';
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            plain += s[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            plain += s[i++];
        std::size_t exponentDigits = 0;
        while (i < s.size() && IsDigit(s[i])) {
            plain += s[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != s.size())
        return std::nullopt;

    // The nearest double, however the text is written. Too large a magnitude is refused;
    // too small a one gives zero (or the nearest subnormal) with its sign.
    errno = 0;
    char* end = nullptr;
    const double value = ::strtod_l(plain.c_str(), &end, CLocale());
    if (end != plain.c_str() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double StrToFloat(const std::string& text, const LocaleFormats& formats)
{
    if (auto value = TryStrToFloat(text, formats))
        return *value;
    throw Error(FormatMessage(messages::NotAReal, text));
}

}  // namespace tickforge
