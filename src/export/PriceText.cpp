#include "export/PriceText.h"

#include "platform/Error.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

namespace tickforge {

namespace {

constexpr int ExpansionDigits = 18;

}  // namespace

std::string PriceText(double v, std::int32_t precision, char decimalSeparator)
{
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return "INF";
    if (v == 0.0)
        return "0";

    const int p = std::clamp<int>(precision, 2, ExpansionDigits);

    // |v| = d.ddd...e<x>, 18 significant digits, correctly rounded as printf's %.17e.
    char buffer[40];
    const auto result = std::to_chars(buffer, std::end(buffer), std::fabs(v), std::chars_format::scientific, ExpansionDigits - 1);
    std::string digits;
    digits.reserve(ExpansionDigits);
    const char* c = buffer;
    for (; *c != 'e'; ++c)
        if (*c >= '0' && *c <= '9')
            digits += *c;
    int exponent = 0;
    std::from_chars(c[1] == '+' ? c + 2 : c + 1, result.ptr, exponent);
    ++exponent;  // |v| = 0.d1d2... * 10^exponent

    // Cut to p digits, rounding half up on the first dropped digit.
    const bool roundUp = digits.size() > static_cast<std::size_t>(p) && digits[static_cast<std::size_t>(p)] >= '5';
    digits.resize(std::min(digits.size(), static_cast<std::size_t>(p)));
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits[static_cast<std::size_t>(i)];
        } else {
            digits.assign(1, '1');  // a carry out of the first digit
            ++exponent;
        }
    }
    while (digits.back() == '0')  // the first digit is never 0
        digits.pop_back();
    const int n = static_cast<int>(digits.size());

    std::string text;
    if (v < 0.0)
        text += '-';
    if (exponent > p || exponent < -3) {
        text += digits[0];
        if (n > 1) {
            text += decimalSeparator;
            text.append(digits, 1, std::string::npos);
        }
        text += 'E';
        text += std::to_string(exponent - 1);
    } else if (exponent >= 1) {
        const auto whole = static_cast<std::size_t>(exponent);
        if (digits.size() >= whole) {
            text.append(digits, 0, whole);
            if (digits.size() > whole) {
                text += decimalSeparator;
                text.append(digits, whole, std::string::npos);
            }
        } else {
            text += digits;
            text.append(whole - digits.size(), '0');
        }
    } else {
        text += '0';
        text += decimalSeparator;
        text.append(static_cast<std::size_t>(-exponent), '0');
        text += digits;
    }
    return text;
}

std::string VolumeText(double v)
{
    const double whole = std::trunc(v);
    // 2^63 itself does not fit; every double below it that is whole does.
    if (!(whole >= -9223372036854775808.0 && whole < 9223372036854775808.0))
        throw Error(messages::InvalidOperation);
    return std::to_string(static_cast<long long>(whole));
}

}  // namespace tickforge
