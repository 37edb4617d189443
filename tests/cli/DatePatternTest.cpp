// Date patterns: the check that catches slips in --date-format, and the translation of
// the C library's date format of the user's locale into a pattern.

#include "cli/DatePattern.h"

#include <gtest/gtest.h>

namespace tickforge::cli {
namespace {

TEST(CheckDatePattern, AcceptsTheSixFieldsWithSeparatorsAndQuotedText)
{
    for (const char* pattern : {"d/MM/yyyy", "yyyy-MM-dd", "dd.MM.yy", "M/d/yyyy", "d 'de' MM yyyy", "yyyyMMdd"})
        EXPECT_EQ(CheckDatePattern(pattern), "") << pattern;
}

TEST(CheckDatePattern, RefusesLettersThatAreNoField)
{
    EXPECT_EQ(CheckDatePattern("yyyy-mm-dd"), "'mm' is not a date field (use d, dd, M, MM, yy, yyyy)");
    EXPECT_EQ(CheckDatePattern("YYYY-MM-DD"), "'YYYY' is not a date field (use d, dd, M, MM, yy, yyyy)");
    EXPECT_EQ(CheckDatePattern("ddd/MM"), "'ddd' is not a date field (use d, dd, M, MM, yy, yyyy)");
    EXPECT_EQ(CheckDatePattern("d/M/yyy"), "'yyy' is not a date field (use d, dd, M, MM, yy, yyyy)");
    EXPECT_EQ(CheckDatePattern("--"), "the date pattern holds no date field (d, dd, M, MM, yy, yyyy)");
    EXPECT_EQ(CheckDatePattern(""), "the date pattern is empty");
    EXPECT_EQ(CheckDatePattern("d 'of MM"), "a quote in the date pattern is not closed");
}

TEST(PatternFromStrftime, TranslatesTheUsualLocaleFormats)
{
    EXPECT_EQ(PatternFromStrftime("%d/%m/%Y"), "dd/MM/yyyy");  // en_GB
    EXPECT_EQ(PatternFromStrftime("%m/%d/%Y"), "MM/dd/yyyy");  // en_US
    EXPECT_EQ(PatternFromStrftime("%d.%m.%Y"), "dd.MM.yyyy");  // de_DE
    EXPECT_EQ(PatternFromStrftime("%Y-%m-%d"), "yyyy-MM-dd");  // sv_SE
    EXPECT_EQ(PatternFromStrftime("%D"), "MM/dd/yy");
    EXPECT_EQ(PatternFromStrftime("%F"), "yyyy-MM-dd");
    EXPECT_EQ(PatternFromStrftime("%-d/%-m/%y"), "d/M/yy");
    EXPECT_EQ(PatternFromStrftime("%e %m %Y"), "d MM yyyy");
}

TEST(PatternFromStrftime, QuotesLettersAndGivesUpOnWhatAPatternCannotSay)
{
    EXPECT_EQ(PatternFromStrftime("%Y year %m"), "yyyy 'year' MM");
    EXPECT_EQ(PatternFromStrftime("%A %d %B"), "");   // names of days and months
    EXPECT_EQ(PatternFromStrftime("%d/%m/%"), "");    // a dangling percent sign
    EXPECT_EQ(PatternFromStrftime("%d'%m"), "");      // a quote would start quoted text
}

}  // namespace
}  // namespace tickforge::cli
