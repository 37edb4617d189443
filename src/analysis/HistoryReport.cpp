#include "analysis/HistoryReport.h"

#include <boost/math/statistics/univariate_statistics.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tickforge {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

std::string IsoDate(DateTimeValue t)
{
    const CivilDate d = DecodeDate(t);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

std::string Number(double value, const char* format)
{
    if (!std::isfinite(value))
        return "-";
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

double Quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return NaN;
    std::sort(values.begin(), values.end());
    const double position = q * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (position - static_cast<double>(below)) * (values[above] - values[below]);
}

HistoryReport MakeReport(const DailyHistory& h)
{
    using namespace boost::math::statistics;
    HistoryReport r;
    r.source = h.source;
    r.bars = h.Bars();
    r.skippedRows = h.skippedRows;
    r.hasVolume = h.HasVolume();
    r.meanReturn = r.sdReturn = r.barsPerYear = r.annualMean = r.annualSd = NaN;
    r.skewness = r.excessKurtosis = r.largestMove = r.averageRange = r.weekendShare = NaN;
    r.volumeDeciles.fill(NaN);
    if (r.bars == 0)
        return r;

    r.firstDate = h.dates.front();
    r.lastDate = h.dates.back();
    r.spanDays = r.lastDate - r.firstDate + 1.0;

    const std::vector<double> returns = LogReturns(h);
    if (returns.size() >= 2) {
        const auto [mean, variance] = mean_and_sample_variance(returns);
        r.meanReturn = mean;
        r.sdReturn = std::sqrt(variance);
        r.barsPerYear = static_cast<double>(returns.size()) / (r.lastDate - r.firstDate) * 365.0;
        r.annualMean = mean * r.barsPerYear;
        r.annualSd = r.sdReturn * std::sqrt(r.barsPerYear);
        if (variance > 0.0) {
            r.skewness = skewness(returns);
            r.excessKurtosis = excess_kurtosis(returns);
        }
    }
    if (!returns.empty()) {
        const auto largest = std::max_element(returns.begin(), returns.end(),
                                              [](double a, double b) { return std::fabs(a) < std::fabs(b); });
        r.largestMove = *largest;
        r.largestMoveDate = h.dates[static_cast<std::size_t>(largest - returns.begin()) + 1];
    }

    double peak = h.close.front();
    double range = 0.0;
    int weekendBars = 0;
    for (std::size_t i = 0; i < r.bars; ++i) {
        peak = std::max(peak, h.close[i]);
        r.maxDrawdown = std::max(r.maxDrawdown, 1.0 - h.close[i] / peak);
        range += (h.high[i] - h.low[i]) / h.close[i];
        weekendBars += IsWeekend(h.dates[i]) ? 1 : 0;
    }
    r.averageRange = range / static_cast<double>(r.bars);
    r.weekendShare = weekendBars / static_cast<double>(r.bars);
    if (r.hasVolume)
        for (std::size_t k = 0; k < r.volumeDeciles.size(); ++k)
            r.volumeDeciles[k] = Quantile(h.volume, static_cast<double>(k + 1) / 10.0);
    return r;
}

std::vector<ReportLine> ReportLines(const HistoryReport& r)
{
    using Kind = ReportLine::Kind;
    const auto count = [](const char* label, const char* key, double value) {
        return ReportLine{label, key, Kind::Count, value, Number(value, "%.0f")};
    };
    const auto real = [](const char* label, const char* key, double value, const char* format = "%.6f") {
        return ReportLine{label, key, Kind::Real, value, Number(value, format)};
    };
    const auto percent = [](const char* label, const char* key, double share) {
        return ReportLine{label, key, Kind::Percent, share, Number(100.0 * share, "%.2f %%")};
    };
    const auto date = [](const char* label, const char* key, DateTimeValue t, bool exists) {
        return ReportLine{label, key, Kind::Date, t, exists ? IsoDate(t) : "-"};
    };

    std::vector<ReportLine> lines{
        ReportLine{"File", "file", Kind::Text, 0.0, r.source},
        count("Bars", "bars", static_cast<double>(r.bars)),
        date("First date", "first_date", r.firstDate, r.bars > 0),
        date("Last date", "last_date", r.lastDate, r.bars > 0),
        count("Span (calendar days)", "span_days", r.spanDays),
        count("Rows skipped (empty field)", "skipped_rows", r.skippedRows),
        real("Daily log return, mean", "daily_mean", r.meanReturn),
        real("Daily log return, sd", "daily_sd", r.sdReturn),
        real("Bars per year", "bars_per_year", r.barsPerYear, "%.1f"),
        real("Annualised mean", "annual_mean", r.annualMean, "%.4f"),
        real("Annualised sd", "annual_sd", r.annualSd, "%.4f"),
        real("Skewness", "skewness", r.skewness, "%.3f"),
        real("Excess kurtosis", "excess_kurtosis", r.excessKurtosis, "%.3f"),
        real("Largest daily move", "largest_move", r.largestMove),
        date("Largest move on", "largest_move_date", r.largestMoveDate, std::isfinite(r.largestMove)),
        percent("Maximum drawdown", "max_drawdown", r.maxDrawdown),
        percent("Average range / close", "average_range", r.averageRange),
    };
    for (std::size_t k = 0; k < r.volumeDeciles.size(); ++k) {
        static const char* const labels[] = {"Volume 10 %", "Volume 20 %", "Volume 30 %", "Volume 40 %",
                                             "Volume median", "Volume 60 %", "Volume 70 %", "Volume 80 %",
                                             "Volume 90 %"};
        static const char* const keys[] = {"volume_p10", "volume_p20", "volume_p30", "volume_p40", "volume_median",
                                           "volume_p60", "volume_p70", "volume_p80", "volume_p90"};
        lines.push_back(real(labels[k], keys[k], r.volumeDeciles[k], "%.0f"));
    }
    lines.push_back(percent("Weekend bars", "weekend_share", r.weekendShare));
    return lines;
}

std::string ReportTable(const std::vector<HistoryReport>& reports)
{
    std::vector<std::vector<ReportLine>> columns;
    for (const HistoryReport& report : reports)
        columns.push_back(ReportLines(report));
    if (columns.empty())
        return {};
    std::size_t labelWidth = 0;
    for (const ReportLine& line : columns.front())
        labelWidth = std::max(labelWidth, line.label.size());
    std::vector<std::size_t> widths;
    for (const auto& column : columns) {
        std::size_t width = 0;
        for (const ReportLine& line : column)
            width = std::max(width, line.text.size());
        widths.push_back(width);
    }
    std::string table;
    for (std::size_t row = 0; row < columns.front().size(); ++row) {
        std::string text = columns.front()[row].label;
        text.resize(labelWidth, ' ');
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::string& cell = columns[c][row].text;
            text += "  " + std::string(widths[c] - cell.size(), ' ') + cell;
        }
        table += text + "\n";
    }
    return table;
}

namespace {

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonValue(const ReportLine& line)
{
    using Kind = ReportLine::Kind;
    if (line.kind == Kind::Text || line.kind == Kind::Date)
        return line.text == "-" ? "null" : JsonString(line.text);
    if (!std::isfinite(line.value))
        return "null";
    return Number(line.value, line.kind == Kind::Count ? "%.0f" : "%.10g");
}

}  // namespace

std::string ReportJson(const std::vector<HistoryReport>& reports)
{
    std::string json = "{\"histories\": [";
    for (std::size_t i = 0; i < reports.size(); ++i) {
        json += i == 0 ? "\n  {" : ",\n  {";
        const std::vector<ReportLine> lines = ReportLines(reports[i]);
        for (std::size_t k = 0; k < lines.size(); ++k)
            json += (k == 0 ? "" : ", ") + JsonString(lines[k].key) + ": " + JsonValue(lines[k]);
        json += "}";
    }
    return json + "\n]}\n";
}

}  // namespace tickforge
