#include "series/TimeSeries.h"

#include "support/TestHelpers.h"

using namespace tickforge;

namespace {

void Fill(TTimeSeries& series, int n)
{
    series.SetLength(n);
    for (int i = 0; i < n; ++i) {
        series.SetValue(i, 100.0 + i);
        series.SetTime(i, 45000.0 + i);
    }
}

TEST(TimeSeries, ResizingKeepsTheFirstSamplesAndZeroesNewOnes)
{
    TTimeSeries series;
    EXPECT_EQ(series.Count(), 0);
    Fill(series, 3);
    series.SetLength(5);
    ASSERT_EQ(series.Count(), 5);
    EXPECT_EQ(series.GetValue(2), 102.0);
    EXPECT_EQ(series.GetTime(2), 45002.0);
    EXPECT_EQ(series.GetValue(3), 0.0);
    EXPECT_EQ(series.GetTime(4), 0.0);
    series.SetLength(2);
    ASSERT_EQ(series.Count(), 2);
    EXPECT_ERROR_MESSAGE(series.SetLength(-1), "Range check error");
    EXPECT_EQ(series.Count(), 2);
}

TEST(TimeSeriesSet, SettingTheSeriesCountAlwaysDiscardsTheOldData)
{
    TTimeSeriesSet set;
    set.SetSeriesCount(5);
    set.SetLength(4);
    set.SetSeriesCount(5);
    EXPECT_EQ(set.SeriesCount(), 5);
    EXPECT_EQ(set.Length(), 0);
    set.SetSeriesCount(-3);
    EXPECT_EQ(set.SeriesCount(), 0);
}

TEST(TimeSeriesSet, SeriesIndicesOutsideTheListAreRejected)
{
    TTimeSeriesSet set;
    EXPECT_ERROR_MESSAGE(set.Length(), "List index out of bounds (0)");
    set.SetLength(3);  // no series: no effect, no error
    EXPECT_EQ(set.SeriesCount(), 0);
    set.SetSeriesCount(5);
    EXPECT_ERROR_MESSAGE(set.GetValue(5, 0), "List index out of bounds (5)");
    EXPECT_ERROR_MESSAGE(set.SetTime(-1, 0, 1.0), "List index out of bounds (-1)");
}

TEST(TimeSeriesSet, AssignCopiesCountLengthValuesAndTimesButNotTheName)
{
    TTimeSeriesSet source;
    source.Name = "Synth";
    source.SetSeriesCount(5);
    for (int s = 0; s < 5; ++s)
        Fill(source.At(s), 3);
    source.SetValue(4, 2, -7.0);
    TTimeSeriesSet copy;
    copy.Name = "Working";
    copy.SetSeriesCount(2);
    copy.SetLength(9);
    copy.Assign(source);
    EXPECT_EQ(copy.Name, "Working");
    ASSERT_EQ(copy.SeriesCount(), 5);
    ASSERT_EQ(copy.Length(), 3);
    EXPECT_EQ(copy.GetValue(4, 2), -7.0);
    EXPECT_EQ(copy.GetTime(4, 2), 45002.0);
    copy.SetValue(0, 0, -1.0);
    EXPECT_EQ(source.GetValue(0, 0), 100.0);  // the copy is independent

    source.SetLength(0);  // empty series give as many empty series
    copy.Assign(source);
    EXPECT_EQ(copy.SeriesCount(), 5);
    EXPECT_EQ(copy.Length(), 0);
}

TEST(TimeSeriesSet, AssignTakesTheLengthOfTheSourcesFirstSeriesAndFailsWithoutSeries)
{
    TTimeSeriesSet source;
    source.SetSeriesCount(2);
    source.SetLength(2);
    Fill(source.At(1), 4);
    TTimeSeriesSet copy;
    copy.Assign(source);
    ASSERT_EQ(copy.At(1).Count(), 2);
    EXPECT_EQ(copy.GetValue(1, 1), 101.0);

    // A source without series fails at its length, after the old series are gone.
    source.SetSeriesCount(0);
    EXPECT_ERROR_MESSAGE(copy.Assign(source), "List index out of bounds (0)");
    EXPECT_EQ(copy.SeriesCount(), 0);
}

}  // namespace
