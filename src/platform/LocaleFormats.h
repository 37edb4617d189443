#pragma once
// The user's number and date formats. The front ends fill this from the user's
// locale; the defaults are those of a process with no locale set.

#include <string>

namespace tickforge {

struct LocaleFormats {
    char decimalSeparator = '.';
    // Short date pattern made of the fields d, dd, M, MM, yy, yyyy and separators.
    std::string shortDatePattern = "d/MM/yyyy";
};

}  // namespace tickforge
