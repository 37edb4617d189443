// Date patterns: the check that catches slips in --date-format, and the translation of
// the C library's date format of the user's locale into a pattern.

#include "cli/DatePattern.h"

#include <gtest/gtest.h>

#include <utility>

namespace tickforge::cli {
namespace {

using Cases = std::initializer_list<std::pair<const char*, const char*>>;

TEST(CheckDatePattern, AcceptsTheSixFieldsAndRefusesLettersThatAreNoField)
{
    const std::string useFields = "' is not a date field (use d, dd, M, MM, yy, yyyy)";
    for (const auto& [pattern, expected] : Cases{
             {"d/MM/yyyy", ""}, {"yyyy-MM-dd", ""}, {"dd.MM.yy", ""}, {"M/d/yyyy", ""}, {"d 'de' MM yyyy", ""},
             {"yyyyMMdd", ""},
             {"yyyy-mm-dd", "'mm"}, {"YYYY-MM-DD", "'YYYY"}, {"ddd/MM", "'ddd"}, {"d/M/yyy", "'yyy"},
             {"--", "the date pattern holds no date field (d, dd, M, MM, yy, yyyy)"},
             {"", "the date pattern is empty"}, {"d 'of MM", "a quote in the date pattern is not closed"}}) {
        const std::string want = expected[0] == '\'' ? expected + useFields : expected;
        EXPECT_EQ(CheckDatePattern(pattern), want) << pattern;
    }
}

TEST(PatternFromStrftime, TranslatesLocaleFormatsAndGivesUpOnWhatAPatternCannotSay)
{
    for (const auto& [format, expected] : Cases{
             {"%d/%m/%Y", "dd/MM/yyyy"}, {"%m/%d/%Y", "MM/dd/yyyy"}, {"%d.%m.%Y", "dd.MM.yyyy"},
             {"%Y-%m-%d", "yyyy-MM-dd"}, {"%D", "MM/dd/yy"}, {"%F", "yyyy-MM-dd"}, {"%-d/%-m/%y", "d/M/yy"},
             {"%e %m %Y", "d MM yyyy"}, {"%Y year %m", "yyyy 'year' MM"},
             {"%A %d %B", ""},  // names of days and months
             {"%d/%m/%", ""},   // a dangling percent sign
             {"%d'%m", ""}}) {  // a quote would start quoted text
        EXPECT_EQ(PatternFromStrftime(format), expected) << format;
    }
}

}  // namespace
}  // namespace tickforge::cli
