// Date texts: ISO dates read back as they are written, checked against a calendar
// worked out by hand; every date pattern, usable or not, writes without fault, and a
// pattern that the check accepts writes every date in digits and its literal text.

#include "FuzzCheck.h"
#include "platform/DateFormat.h"

#include <cstdint>
#include <string>

namespace {

using namespace tickforge;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool RealDate(int year, int month, int day)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= days[month - 1] + (month == 2 && leap);
}

void CheckIsoDate(const std::string& text)
{
    const auto value = ParseIsoDate(text);
    bool form = text.size() == 10 && text[4] == '-' && text[7] == '-';
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        form = form && i < text.size() && IsDigit(text[i]);
    const bool real = form && RealDate(std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)),
                                       std::stoi(text.substr(8, 2)));
    FUZZ_CHECK(real == value.has_value(), text);
    if (value) {
        FUZZ_CHECK(IsoDateText(*value) == text, text);
        FUZZ_CHECK(FormatShortDate(*value, "yyyy-MM-dd") == text, text);
    }
}

void CheckPattern(const std::string& pattern)
{
    // 29 February 2024, 06:00, or the first or last day a history may have.
    const double dates[] = {45351.25, FirstDay, LastDay};
    const std::string written = FormatShortDate(dates[pattern.size() % 3], pattern);
    // Every letter of a usable pattern without quoted text is a field: digits only.
    if (CheckDatePattern(pattern).empty() && pattern.find('\'') == std::string::npos)
        for (const char c : written)
            FUZZ_CHECK(!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')), pattern);
    const std::string reduced = ShortDatePatternOfQtFormat(pattern);
    // A reduced pattern holds no field the writer does not know.
    for (const DatePatternPiece& piece : ParseDatePattern(reduced).pieces)
        FUZZ_CHECK(piece.letter == 0 || piece.letter != 'd' || piece.run <= 2, pattern);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckIsoDate(text);
    CheckPattern(text);
    return 0;
}
