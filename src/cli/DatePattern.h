#pragma once
// Short date patterns as the export writes them: the fields d, dd, M, MM, yy and yyyy,
// quoted text and separators.

#include <string>

namespace tickforge::cli {

// Empty when pattern is usable; otherwise why not. Letters outside quotes must form one
// of the six fields, so that a slip such as "mm" (minutes elsewhere) or "YYYY" is caught
// instead of being copied into every date.
std::string CheckDatePattern(const std::string& pattern);

// The short date pattern equivalent to a C library date format (nl_langinfo's D_FMT,
// such as "%d/%m/%Y"); empty when the format holds something a pattern cannot say.
std::string PatternFromStrftime(const std::string& format);

}  // namespace tickforge::cli
