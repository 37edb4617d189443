#pragma once
// Conversion of the texts a person types into numbers. A text that does not convert
// raises the user's message naming the text.

#include "platform/LocaleFormats.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tickforge {

namespace messages {
inline constexpr const char* NotAnInteger = "'%s' is not a valid integer value";
inline constexpr const char* NotAReal = "'%s' is not a valid floating point value";
}  // namespace messages

// Optional blanks, an optional sign and decimal digits; 32-bit signed range.
std::optional<std::int32_t> TryStrToInt(const std::string& text);
std::int32_t StrToInt(const std::string& text);

// Optional blanks, an optional sign, digits with the locale's decimal separator and an
// optional exponent; finite values only.
std::optional<double> TryStrToFloat(const std::string& text, const LocaleFormats& formats = {});
double StrToFloat(const std::string& text, const LocaleFormats& formats = {});

}  // namespace tickforge
