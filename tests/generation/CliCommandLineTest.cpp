#include "generation/CliCommandLine.h"

#include <gtest/gtest.h>

namespace {

using namespace tickforge;

TEST(CliCommandLine, NamesEveryValueTheRunUsedInShortestExactNumbersAndQuotesWhatAShellWouldSplit)
{
    RunRecord run{PanelValues{}, 180, 45293.75, 3000.0, 4242u};  // 2 January 2024
    EXPECT_EQ(CliCommandLine(run, "AOI", ExportFormat{}, LocaleFormats{}),
              "tickforge-cli --start 2024-01-02 --days 180 --no-weekends --ticks-per-day 1000 --price 3000 --hard "
              "--volatility 1 --no-bias --no-shocks --shock-days 100 --min-volume 0 --max-volume 1000 --name AOI "
              "--columns DOHLCV --precision 5 --date-format d/MM/yyyy --rng-seed 4242");

    PanelValues& p = run.panel;
    p.cbWeekends = p.cbMin = p.cbMax = p.rbSoft = p.cbActiveBias = p.cbActiveShock = p.cbDirtyDataActive = true;
    p.ebMinPrice = "1,5", p.ebMaxPrice = "9000", p.ebBias = "-2", p.ebShockMag = "4", p.ebDirtydata = "", p.ebMinVolume = "a b";
    run.days = 7;
    run.price = 0.1 + 0.2;  // the shortest text that reads back
    ExportFormat format;
    format.IncludeOnly("TC");
    format.WriteHeadings = true;
    format.QuoteValues = false;
    format.Delimiter = '\t';
    format.Precision = 9;
    EXPECT_EQ(CliCommandLine(run, "O'Neil & Co", format, LocaleFormats{',', "dd.MM.yyyy"}),
              "tickforge-cli --start 2024-01-02 --days 7 --weekends --ticks-per-day 1000 --price 0,30000000000000004 "
              "--min-price 1,5 --max-price 9000 --soft --volatility 1 --bias -2 --shocks --shock-magnitude 4 "
              "--shock-days 100 --min-volume 'a b' --max-volume 1000 --name 'O'\\''Neil & Co' --dirty '' --columns TC "
              "--headings --no-quotes --tab --precision 9 --date-format dd.MM.yyyy --rng-seed 4242");
}

}  // namespace
