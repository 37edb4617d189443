#pragma once
// The numbers of an exported history as text: prices in the general number form with
// a given count of significant digits, volumes as whole numbers.

#include <cstdint>
#include <string>

namespace tickforge {

// v with max(precision, 2) significant digits, rounded half up from its 18-digit
// decimal expansion, trailing zeros dropped; fixed form unless the decimal exponent
// lies outside -3 .. precision (then d.dddE<exp>). 0 gives "0", infinities "INF",
// not-a-number "NAN". No thousands separators.
std::string PriceText(double v, std::int32_t precision, char decimalSeparator = '.');

// v truncated toward zero to a 64-bit integer, in decimal. A value that no 64-bit
// integer holds (or not a number) raises "Invalid floating point operation".
std::string VolumeText(double v);

}  // namespace tickforge
