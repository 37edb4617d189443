// Numeric texts: the program's conversions against the C++ library's from_chars, which
// neither uses nor shares their code. A text of the program's grammar converts to the
// nearest double, or is refused when too large; anything else is refused.

#include "FuzzCheck.h"
#include "platform/NumericText.h"

#include <cfloat>
#include <charconv>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

using tickforge::LocaleFormats;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The grammar written out once more: blanks, sign, digits with a decimal point,
// exponent, blanks. Returns the text without blanks and plus sign, or "" when it does
// not follow the grammar.
std::string PlainForm(std::string_view text, char point)
{
    std::size_t begin = text.find_first_not_of(" \t"), end = text.find_last_not_of(" \t");
    if (begin == std::string_view::npos)
        return {};
    std::string s(text.substr(begin, end + 1 - begin));
    std::string plain;
    std::size_t i = 0, digits = 0;
    if (s[i] == '+' || s[i] == '-')
        plain += s[i] == '-' ? "-" : "", ++i;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++digits)
        plain += s[i];
    if (i < s.size() && s[i] == point)
        for (plain += '.', ++i; i < s.size() && IsDigit(s[i]); ++i, ++digits)
            plain += s[i];
    if (digits == 0)
        return {};
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        plain += 'e';
        if (++i < s.size() && (s[i] == '+' || s[i] == '-'))
            plain += s[i++];
        const std::size_t start = i;
        for (; i < s.size() && IsDigit(s[i]); ++i)
            plain += s[i];
        if (i == start)
            return {};
    }
    return i == s.size() ? plain : std::string();
}

// Where the first significant digit of a plain form stands: 1 for 1.5, 0 for 0.5,
// -1 for 0.05, shifted by the exponent (kept within a billion either way).
long long DecimalExponent(const std::string& plain)
{
    const std::size_t e = plain.find('e');
    long long exponent = 0;
    if (e != std::string::npos) {
        const bool negative = plain[e + 1] == '-';
        for (std::size_t i = e + 1; i < plain.size(); ++i)
            if (IsDigit(plain[i]))
                exponent = std::min(exponent * 10 + (plain[i] - '0'), 1000000000LL);
        exponent = negative ? -exponent : exponent;
    }
    const std::string mantissa = plain.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    const long long position = first < point ? static_cast<long long>(point - first)
                                             : -static_cast<long long>(first - point - 1);
    return position + exponent;
}

void CheckReal(const std::string& text, char point)
{
    const LocaleFormats formats{point, "d/MM/yyyy"};
    const auto value = tickforge::TryStrToFloat(text, formats);
    const std::string plain = PlainForm(text, point);
    if (plain.empty()) {
        FUZZ_CHECK(!value, text);
        return;
    }
    double expected = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), expected);
    FUZZ_CHECK(end == plain.data() + plain.size(), text);
    if (error == std::errc()) {
        FUZZ_CHECK(value && *value == expected && std::signbit(*value) == std::signbit(expected), text);
    } else {
        // Out of range: too large is refused, too small gives (nearly) zero of its sign.
        if (DecimalExponent(plain) > 0)
            FUZZ_CHECK(!value, text);
        else
            FUZZ_CHECK(value && std::fabs(*value) < DBL_MIN && std::signbit(*value) == (plain[0] == '-'), text);
    }
}

void CheckInteger(const std::string& text)
{
    const auto value = tickforge::TryStrToInt(text);
    std::size_t begin = text.find_first_not_of(" \t"), end = text.find_last_not_of(" \t");
    std::string plain = begin == std::string::npos ? "" : text.substr(begin, end + 1 - begin);
    if (!plain.empty() && plain[0] == '+' && plain.size() > 1 && IsDigit(plain[1]))
        plain.erase(0, 1);
    std::int32_t expected = 0;
    const auto [stop, error] = std::from_chars(plain.data(), plain.data() + plain.size(), expected);
    const bool converts = !plain.empty() && error == std::errc() && stop == plain.data() + plain.size();
    FUZZ_CHECK(converts == value.has_value(), text);
    FUZZ_CHECK(!converts || *value == expected, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckReal(text, '.');
    CheckReal(text, ',');
    CheckInteger(text);
    return 0;
}
