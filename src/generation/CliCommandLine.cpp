#include "generation/CliCommandLine.h"

#include "platform/DateFormat.h"

#include <charconv>
#include <vector>

namespace tickforge {

namespace {

// Single quotes for any argument a POSIX shell would split or expand.
std::string ShellQuoted(const std::string& text)
{
    static const std::string plain =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_@%+=:,./-";
    if (!text.empty() && text.find_first_not_of(plain) == std::string::npos)
        return text;
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

std::string ExactNumberText(double value, const LocaleFormats& formats)
{
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    std::string result(text, end);
    for (char& c : result)
        if (c == '.')
            c = formats.decimalSeparator;
    return result;
}

std::string CliCommandLine(const RunRecord& run, const std::string& securityName, const ExportFormat& format,
                           const LocaleFormats& formats)
{
    const PanelValues& p = run.panel;
    std::vector<std::string> args = {"tickforge-cli",
                                     "--start", FormatShortDate(run.start, "yyyy-MM-dd"),
                                     "--days", std::to_string(run.days),
                                     p.cbWeekends ? "--weekends" : "--no-weekends",
                                     "--ticks-per-day", p.ebTicksPerDay,
                                     "--price", ExactNumberText(run.price, formats)};
    const auto add = [&args](std::initializer_list<std::string> more) { args.insert(args.end(), more); };
    if (p.cbMin)
        add({"--min-price", p.ebMinPrice});
    if (p.cbMax)
        add({"--max-price", p.ebMaxPrice});
    add({p.rbSoft ? "--soft" : "--hard", "--volatility", p.ebVolatility});
    if (p.cbActiveBias)
        add({"--bias", p.ebBias});
    else
        add({"--no-bias"});
    if (p.cbActiveShock)
        add({"--shocks", "--shock-magnitude", p.ebShockMag});
    else
        add({"--no-shocks"});
    add({"--shock-days", p.ebShockFreq, "--min-volume", p.ebMinVolume, "--max-volume", p.ebMaxVolume, "--name",
         securityName});
    if (p.cbDirtyDataActive)
        add({"--dirty", p.ebDirtydata});

    add({"--columns", ColumnLetters(format)});
    if (format.WriteHeadings)
        add({"--headings"});
    if (!format.QuoteValues)
        add({"--no-quotes"});
    if (format.Delimiter == '\t')
        add({"--tab"});
    add({"--precision", std::to_string(format.Precision), "--date-format", formats.shortDatePattern, "--rng-seed",
         std::to_string(run.seed)});

    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty())
            line += ' ';
        line += ShellQuoted(arg);
    }
    return line;
}

}  // namespace tickforge
