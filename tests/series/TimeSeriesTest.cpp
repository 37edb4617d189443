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
    Fill(series, 3);
    series.SetLength(5);
    ASSERT_EQ(series.Count(), 5);
    EXPECT_EQ(series.GetValue(2), 102.0);
    EXPECT_EQ(series.GetTime(2), 45002.0);
    EXPECT_EQ(series.GetValue(3), 0.0);
    EXPECT_EQ(series.GetTime(4), 0.0);
    EXPECT_ERROR_MESSAGE(series.SetLength(-1), "Range check error");
    EXPECT_EQ(series.Count(), 5);
    series.SetLength(0);
    EXPECT_EQ(series.Count(), 0);
}

TEST(TimeSeriesSet, SeriesCountDiscardsTheOldDataAndIndicesOutsideTheListAreRejected)
{
    TTimeSeriesSet set;
    EXPECT_ERROR_MESSAGE(set.Length(), "List index out of bounds (0)");
    set.SetLength(3);  // no series: no effect, no error
    set.SetSeriesCount(5);
    set.SetLength(4);
    set.SetSeriesCount(5);
    EXPECT_EQ(set.Length(), 0);
    EXPECT_ERROR_MESSAGE(set.GetValue(5, 0), "List index out of bounds (5)");
    EXPECT_ERROR_MESSAGE(set.SetTime(-1, 0, 1.0), "List index out of bounds (-1)");
    set.SetSeriesCount(-3);
    EXPECT_EQ(set.SeriesCount(), 0);
}

TEST(TimeSeriesSet, AssignCopiesEverySeriesAtTheFirstSeriesLengthButNotTheName)
{
    TTimeSeriesSet source;
    source.Name = "Synth";
    source.SetSeriesCount(5);
    source.SetLength(2);
    Fill(source.At(4), 4);  // longer than the first series: cut to its length
    TTimeSeriesSet copy;
    copy.Name = "Working";
    copy.SetSeriesCount(2);
    copy.Assign(source);
    EXPECT_EQ(copy.Name, "Working");
    ASSERT_EQ(copy.SeriesCount(), 5);
    ASSERT_EQ(copy.At(4).Count(), 2);
    EXPECT_EQ(copy.GetValue(4, 1), 101.0);
    EXPECT_EQ(copy.GetTime(4, 1), 45001.0);
    copy.SetValue(4, 0, -1.0);
    EXPECT_EQ(source.GetValue(4, 0), 100.0);  // the copy is independent
    copy.Assign(copy);
    EXPECT_EQ(copy.GetValue(4, 1), 101.0);

    // A source without series fails at its length, after the old series are gone.
    source.SetSeriesCount(0);
    EXPECT_ERROR_MESSAGE(copy.Assign(source), "List index out of bounds (0)");
    EXPECT_EQ(copy.SeriesCount(), 0);
}

}  // namespace
