#include "cli/CliOptions.h"

#include "platform/DateFormat.h"
#include "export/ExportError.h"
#include "settings/Settings.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace tickforge::cli {

namespace {

CLI::Option* AddText(CLI::App& app, const std::string& name, TextOption& target, const std::string& type,
                     const std::string& help)
{
    target.option = app.add_option(name, target.value, help)->type_name(type);
    return target.option;
}

CLI::Option* AddFlag(CLI::App& app, const std::string& name, FlagOption& target, const std::string& help)
{
    target.option = app.add_flag(name, target.value, help);
    return target.option;
}

ExportFormat AllColumns()
{
    ExportFormat all;
    all.Included.fill(true);
    return all;
}

// "T D O H L C V".
std::string SpacedLetters()
{
    std::string text;
    for (const char letter : ColumnLetters(AllColumns()))
        text += (text.empty() ? "" : " ") + std::string(1, letter);
    return text;
}

// Column letters: any of the export columns' letters, each at most once, in any order.
const CLI::Validator ColumnLetterCheck(
    [](std::string& text) -> std::string {
        std::string seen;
        for (const char given : text) {
            const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(given)));
            if (ColumnLetters(AllColumns()).find(c) == std::string::npos)
                return std::string("'") + c + "' is not a column letter (use " + SpacedLetters() + ")";
            if (seen.find(c) != std::string::npos)
                return std::string("column letter '") + c + "' is given twice";
            seen += c;
        }
        ExportFormat chosen;
        chosen.IncludeOnly(seen);
        if (!HasValueColumn(chosen))
            return messages::NoValueColumn;
        return {};
    },
    "");

// "T(icker) D(ate) ..." for the help text.
std::string NamedLetters()
{
    std::string text;
    for (const ExportColumnInfo& column : ExportColumns) {
        std::string rest = column.Name + 1;
        for (char& c : rest)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        text += (text.empty() ? "" : " ") + std::string(1, column.Letter) + "(" + rest + ")";
    }
    return text;
}


// A whole number from low to high; a text that is no number says so.
CLI::Validator WholeNumberIn(long long low, long long high)
{
    return CLI::Validator(
        [low, high](std::string& text) -> std::string {
            long long value = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (text.empty() || end != text.data() + text.size() || error == std::errc::invalid_argument)
                return "'" + text + "' is not a whole number";
            if (error != std::errc() || value < low || value > high)
                return "Value " + text + " not in range " + std::to_string(low) + " to " + std::to_string(high);
            return {};
        },
        "");
}

// A value that must say something: an empty one is a slip, not a request for a default.
const CLI::Validator NotEmpty([](std::string& text) -> std::string { return text.empty() ? "the value is empty" : ""; },
                              "");

// The security name becomes part of file names and of every line: it may not reach
// outside the chosen folder or break a line.
const CLI::Validator SecurityNameCheck(
    [](std::string& text) -> std::string {
        for (const char c : text)
            if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
                return "'" + text + "' holds a path separator or a control character";
        return {};
    },
    "");

const CLI::Validator DatePatternCheck(
    [](std::string& text) -> std::string { return CheckDatePattern(text); }, "");

// Help lines show an option's value name only; the relations between options are
// told in the descriptions.
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_option_opts(const CLI::Option* option) const override
    {
        if (option->get_type_size() == 0 || option->get_type_name().empty())
            return {};
        return " " + option->get_type_name();
    }
};

}  // namespace

void DeclareOptions(CLI::App& app, CliOptions& o)
{
    app.description(
        "Generates artificial daily price histories and writes them as CSV, with the same generation run and "
        "export as the Tickforge desktop program.\n"
        "Panel options change the panel of a first start of the desktop program (or the panel restored from "
        "--settings) as a user would, the panel's rules included; the defaults shown are those of a first start.");
    app.footer(
        "Exit status: 0 when every member was written; 1 when a check, a conversion, synthesis or a file "
        "failed; 2 for a usage error; 130 after an interrupt (Ctrl+C), 143 after SIGTERM.\n"
        "Numbers are read and dates written in the user's locale (LC_ALL, LC_NUMERIC, LC_TIME, LANG); "
        "set LC_ALL=C for the same bytes on every machine.");
    // An option given twice takes its last value, as a later edit of a field would.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.formatter(std::make_shared<HelpFormatter>());
    app.get_formatter()->column_width(26);
    app.set_help_flag("-h,--help", "Print this help and exit");

    AddText(app, "--settings", o.settings, "FILE",
            "Restore the panel from this settings file, as the desktop program restores TKF.ini "
            "(default: no file, the panel of a first start)")
        ->check(CLI::Validator(CLI::ExistingPath).description(""));

    AddText(app, "--start", o.start, "YYYY-MM-DD", "Start : first day of the range (default: today)");
    AddText(app, "--days", o.days, "N", "Days : calendar days in the range (default: " + FirstStartText(PanelControl::ebLength) + ")");
    AddText(app, "--random-period-min", o.randomPeriodMin, "M",
            "Ticks \"Random Min :\" on the Time tab: simulate a random period of at least M days within the "
            "range (default: off, minimum = the days)");
    auto* weekends = AddFlag(app, "--weekends", o.weekends, "Ticks \"Weekends\": keep the bars of Saturdays and Sundays (default)");
    auto* noWeekends = AddFlag(app, "--no-weekends", o.noWeekends, "Unticks \"Weekends\": drop the bars of Saturdays and Sundays");
    weekends->excludes(noWeekends);
    AddText(app, "--ticks-per-day", o.ticksPerDay, "T", "Ticks/Day : trades simulated per day (default: " + FirstStartText(PanelControl::ebTicksPerDay) + ")");

    auto* price = AddText(app, "--price", o.price, "P",
                          "Ticks \"Fixed :\": fixed starting price P; not with --price-min or --price-max (default: off, the fixed price is " + FirstStartText(PanelControl::ebSeed) + ")");
    auto* priceMin = AddText(app, "--price-min", o.priceMin, "LO",
                             "Random starting price, lower end; unticks \"Fixed :\" (default: " + FirstStartText(PanelControl::ebSeedMin) + ")");
    auto* priceMax = AddText(app, "--price-max", o.priceMax, "HI",
                             "Random starting price, upper end; unticks \"Fixed :\" (default: " + FirstStartText(PanelControl::ebSeedMax) + ")");
    price->excludes(priceMin);
    price->excludes(priceMax);
    AddText(app, "--min-price", o.minPrice, "X",
            "Ticks bound \"Min :\" with the lower price bound X; needs a fixed starting price (default: off, " + FirstStartText(PanelControl::ebMinPrice) + ")");
    AddText(app, "--max-price", o.maxPrice, "Y",
            "Ticks bound \"Max :\" with the upper price bound Y; needs a fixed starting price (default: off, " + FirstStartText(PanelControl::ebMaxPrice) + ")");
    auto* soft = AddFlag(app, "--soft", o.soft, "Soft bounds: steps shrink near a bound, then hard rejection (default)");
    auto* hard = AddFlag(app, "--hard", o.hard, "Hard bounds only: a step onto or beyond a bound is drawn again");
    soft->excludes(hard);

    AddText(app, "--volatility", o.volatility, "PCT", "Daily Volatility (%) : (default: " + FirstStartText(PanelControl::ebVolatility) + ")");
    auto* bias = AddText(app, "--bias", o.bias, "PCT", "Ticks bias \"Active\" with Rate (% pa) PCT (default: off, " + FirstStartText(PanelControl::ebBias) + ")");
    auto* noBias = AddFlag(app, "--no-bias", o.noBias, "Unticks bias \"Active\"");
    bias->excludes(noBias);
    auto* shocks = AddFlag(app, "--shocks", o.shocks, "Ticks shock \"Active\" (default: off)");
    auto* noShocks = AddFlag(app, "--no-shocks", o.noShocks, "Unticks shock \"Active\"");
    shocks->excludes(noShocks);
    AddText(app, "--shock-days", o.shockDays, "D", "Days/Event : mean days between shock events (default: " + FirstStartText(PanelControl::ebShockFreq) + ")");
    AddText(app, "--shock-magnitude", o.shockMagnitude, "M", "Magnitude : largest shock multiplier (default: " + FirstStartText(PanelControl::ebShockMag) + ")");
    AddText(app, "--min-volume", o.minVolume, "V", "Volume Min : offset of the volume model (default: " + FirstStartText(PanelControl::ebMinVolume) + ")");
    AddText(app, "--max-volume", o.maxVolume, "V", "Volume Max : scale of the volume model (default: " + FirstStartText(PanelControl::ebMaxVolume) + ")");
    AddText(app, "--name", o.name, "TEXT", "Name : security name, used for the ticker and the file name (default: " + FirstStartText(PanelControl::ebSecurityName) + ")")
        ->check(SecurityNameCheck);

    auto* dirty = AddText(app, "--dirty", o.dirty, "PCT",
                          "Ticks Dirty Data \"Active\" with Bad Ticks (%) PCT and writes the spoiled working copy "
                          "instead of the clean bars (default: off, " + FirstStartText(PanelControl::ebDirtydata) + ")");
    AddText(app, "--dirty-labels", o.dirtyLabels, "PATH",
            "With --dirty: also write a CSV with one line per corruption applied (kinds 1 to 6): member, bar (from 0), date, kind, field, value before, value after (default: none)")
        ->needs(dirty)
        ->check(NotEmpty);

    app.add_option("--columns", o.columns,
                   "Columns to write, any of " + NamedLetters() + "; the file keeps that fixed order (default: " +
                       ColumnLetters(ExportFormat{}) + ")")
        ->type_name("LETTERS")
        ->check(ColumnLetterCheck)
        ->transform([](std::string text) {
            for (char& c : text)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return text;
        });
    AddFlag(app, "--headings", o.headings, "Write a heading line (default: off)");
    AddFlag(app, "--no-quotes", o.noQuotes, "Do not quote the fields (default: quoted)");
    AddFlag(app, "--tab", o.tab, "Tab delimiter (default: comma)");
    app.add_option("--precision", o.precision, "Significant digits of prices, 1 to 9 (default: " + std::to_string(ExportFormat{}.Precision) + ")")
        ->type_name("P")
        ->check(WholeNumberIn(1, 9));
    AddText(app, "--date-format", o.dateFormat, "PATTERN",
            "Date pattern of d, dd, M, MM, yy, yyyy and separators (default: the user's short date, d/MM/yyyy "
            "in the C locale)")
        ->check(DatePatternCheck);
    app.add_option("--count", o.count,
                   "Histories in the batch; member k > 1 is a fresh generation, as in the desktop program's batch "
                   "(default: 1)")
        ->type_name("K")
        ->check(WholeNumberIn(1, std::numeric_limits<int>::max()));
    app.add_option("--jobs", o.jobs,
                   "Members made at the same time when they share nothing (a fixed starting price, no random "
                   "period); the files are the same for every N (default: the number of cores)")
        ->type_name("N")
        ->check(WholeNumberIn(1, 1024));
    AddFlag(app, "--multiple-files", o.multipleFiles,
            "One file per member, named base + k + extension (default: one file for the whole batch)");
    AddText(app, "-o,--output", o.output, "PATH",
            "Output file; - writes to standard output (default: the security name + .csv)")
        ->check(NotEmpty);

    app.add_option("--rng-seed", o.rngSeed,
                   "Seed member k's synthesis with N + k - 1 instead of the clock, for the same bytes on every run "
                   "(default: the clock, reported on standard error)")
        ->type_name("N")
        ->check(NotEmpty);
    AddText(app, "--ticks-out", o.ticksOut, "PATH",
            "Also write every member's tick path: ISO 8601 date and time with milliseconds, then the price; "
            "batches name these files as the bar files (default: none)")
        ->check(NotEmpty);
    AddFlag(app, "-q,--quiet", o.quiet, "No seed report and no progress bar on standard error");
}

void CheckOptionCombinations(const CliOptions& o)
{
    const bool outputToStdout = o.output.Given() && o.output.value == "-";
    const bool ticksToStdout = o.ticksOut.Given() && o.ticksOut.value == "-";
    if (o.multipleFiles.Given() && outputToStdout)
        throw CLI::ValidationError("--output", "- (standard output) cannot hold --multiple-files");
    if (o.multipleFiles.Given() && ticksToStdout)
        throw CLI::ValidationError("--ticks-out", "- (standard output) cannot hold --multiple-files");
    if (outputToStdout && ticksToStdout)
        throw CLI::ValidationError("--ticks-out", "- (standard output) is already taken by --output");
    if (o.dirtyLabels.Given() && o.dirtyLabels.value == "-" && (outputToStdout || ticksToStdout))
        throw CLI::ValidationError("--dirty-labels", "- (standard output) is already taken");
}

}  // namespace tickforge::cli
