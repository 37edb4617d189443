#include "analysis/HistoryCsv.h"

#include "platform/DateFormat.h"
#include "platform/Error.h"
#include "platform/NumericText.h"

#include <csv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>

namespace tickforge {

namespace {

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The separator the heading line uses most; a comma when it uses none.
char ChooseSeparator(const std::string& heading)
{
    char best = ',';
    std::ptrdiff_t bestCount = 0;
    for (const char candidate : {',', ';', '\t'}) {
        const auto count = std::count(heading.begin(), heading.end(), candidate);
        if (count > bestCount) {
            best = candidate;
            bestCount = count;
        }
    }
    return best;
}

struct Record {
    std::vector<std::string> fields;
    int line = 0;
};

// Collects libcsv's fields into records tagged with the line each record starts on.
// The callbacks only store: nothing may be thrown through the C library.
struct Collector {
    std::vector<std::string> fields;
    std::vector<Record> done;
    int line = 0;       // the line being fed
    int startLine = 0;  // the line the current record started on (0: none started)

    static void Field(void* data, std::size_t length, void* self)
    {
        auto& c = *static_cast<Collector*>(self);
        if (c.startLine == 0)
            c.startLine = c.line;
        c.fields.emplace_back(static_cast<const char*>(data), length);
    }
    static void Row(int, void* self)
    {
        auto& c = *static_cast<Collector*>(self);
        c.done.push_back({std::move(c.fields), c.startLine != 0 ? c.startLine : c.line});
        c.fields.clear();
        c.startLine = 0;
    }
};

int SpaceOnly(unsigned char c) { return c == ' ' ? 1 : 0; }
int SpaceOrTab(unsigned char c) { return c == ' ' || c == '\t' ? 1 : 0; }

struct Columns {
    int date = -1, open = -1, high = -1, low = -1, close = -1, volume = -1;
    std::string dateFormat;  // from a heading such as "%Y-%m-%d"
    int Needed() const { return std::max({date, open, high, low, close, volume}) + 1; }
};

class CsvHistoryReader {
public:
    CsvHistoryReader(const std::string& path, const LocaleFormats& formats)
        : path_(path), formats_(formats), patternFormat_(StrptimeFormat(formats.shortDatePattern))
    {
        history_.source = path;
    }

    [[noreturn]] void Fail(int line, const std::string& what) const
    {
        throw Error(path_ + ":" + std::to_string(line) + ": " + what);
    }

    void Take(const Record& record)
    {
        if (!haveHeading_) {
            ReadHeading(record);
            haveHeading_ = true;
        } else {
            ReadBar(record);
        }
    }

    DailyHistory Finish(int lastLine)
    {
        if (!haveHeading_)
            Fail(std::max(lastLine, 1), "no heading line");
        if (history_.Bars() < static_cast<std::size_t>(MinimumBars))
            Fail(lastLine, "only " + std::to_string(history_.Bars()) + " usable bars; at least " +
                               std::to_string(MinimumBars) + " are needed");
        if (columns_.volume < 0)
            history_.volume.clear();
        return std::move(history_);
    }

private:
    void ReadHeading(const Record& record)
    {
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            const std::string raw = Trimmed(record.fields[i]);
            const std::string name = Lower(raw);
            const int column = static_cast<int>(i);
            if (name.find('%') != std::string::npos) {
                columns_.date = column;
                columns_.dateFormat = raw;
            } else if (name == "date" || name == "time" || name == "timestamp" || name == "day") {
                columns_.date = column;
            } else if (name == "open") {
                columns_.open = column;
            } else if (name == "high") {
                columns_.high = column;
            } else if (name == "low") {
                columns_.low = column;
            } else if (name == "close") {
                columns_.close = column;
            } else if (name == "volume" || name == "vol") {
                columns_.volume = column;
            }
        }
        if (columns_.date < 0)
            Fail(record.line, "no date column (a heading Date, or a date format such as \"%Y-%m-%d\")");
        const std::pair<int, const char*> prices[] = {
            {columns_.open, "Open"}, {columns_.high, "High"}, {columns_.low, "Low"}, {columns_.close, "Close"}};
        for (const auto& [column, name] : prices)
            if (column < 0)
                Fail(record.line, std::string("no ") + name + " column");
    }

    void ReadBar(const Record& record)
    {
        const auto& f = record.fields;
        const auto field = [&](int column) { return column < static_cast<int>(f.size()) ? Trimmed(f[column]) : ""; };
        for (const int column : {columns_.date, columns_.open, columns_.high, columns_.low, columns_.close,
                                 columns_.volume}) {
            if (column < 0)
                continue;
            const std::string text = field(column);
            if (text.empty() || Lower(text) == "null") {
                ++history_.skippedRows;
                return;
            }
        }
        const DateTimeValue date = ReadDate(field(columns_.date), record.line);
        if (!history_.dates.empty() && date <= history_.dates.back())
            Fail(record.line, "the date '" + field(columns_.date) + "' does not come after the row before");
        history_.dates.push_back(date);
        history_.open.push_back(ReadPrice(field(columns_.open), record.line));
        history_.high.push_back(ReadPrice(field(columns_.high), record.line));
        history_.low.push_back(ReadPrice(field(columns_.low), record.line));
        history_.close.push_back(ReadPrice(field(columns_.close), record.line));
        if (columns_.volume >= 0) {
            const double volume = ReadNumber(field(columns_.volume), record.line);
            if (volume < 0.0)
                Fail(record.line, "the volume '" + field(columns_.volume) + "' is negative");
            history_.volume.push_back(volume);
        }
    }

    DateTimeValue ReadDate(const std::string& text, int line) const
    {
        if (columns_.dateFormat.empty()) {
            if (const auto iso = ParseIsoDate(text))
                return *iso;
            if (const auto local = ParseWithFormat(text, patternFormat_))
                return *local;
            Fail(line, "'" + text + "' is not a date (yyyy-MM-dd or " + formats_.shortDatePattern + ")");
        }
        if (const auto date = ParseWithFormat(text, columns_.dateFormat))
            return *date;
        Fail(line, "'" + text + "' is not a date of the format " + columns_.dateFormat);
    }

    static std::optional<DateTimeValue> ParseWithFormat(const std::string& text, const std::string& format)
    {
        std::tm tm{};
        const char* end = ::strptime(text.c_str(), format.c_str(), &tm);
        if (end == nullptr || *end != '\0')
            return std::nullopt;
        const CivilDate civil{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
        const DateTimeValue date = EncodeDate(civil);
        if (!(DecodeDate(date) == civil))
            return std::nullopt;  // such as 31 April
        return date;
    }

    double ReadNumber(const std::string& text, int line) const
    {
        if (auto value = TryStrToFloat(text, formats_))
            return *value;
        if (auto value = TryStrToFloat(text))
            return *value;
        Fail(line, "'" + text + "' is not a number");
    }

    double ReadPrice(const std::string& text, int line) const
    {
        const double price = ReadNumber(text, line);
        if (!(price > 0.0))
            Fail(line, "the price '" + text + "' is not positive");
        return price;
    }

    std::string path_;
    LocaleFormats formats_;
    std::string patternFormat_;
    Columns columns_;
    bool haveHeading_ = false;
    DailyHistory history_;
};

// Owns one libcsv parser.
class CsvParser {
public:
    explicit CsvParser(char separator)
    {
        csv_init(&parser_, CSV_APPEND_NULL);
        csv_set_delim(&parser_, static_cast<unsigned char>(separator));
        csv_set_space_func(&parser_, separator == '\t' ? SpaceOnly : SpaceOrTab);
    }
    ~CsvParser() { csv_free(&parser_); }
    CsvParser(const CsvParser&) = delete;
    CsvParser& operator=(const CsvParser&) = delete;

    bool Feed(const std::string& bytes, Collector& collector)
    {
        return csv_parse(&parser_, bytes.data(), bytes.size(), Collector::Field, Collector::Row, &collector) ==
               bytes.size();
    }
    bool Finish(Collector& collector)
    {
        return csv_fini(&parser_, Collector::Field, Collector::Row, &collector) == 0;
    }

private:
    csv_parser parser_{};
};

}  // namespace

std::string StrptimeFormat(const std::string& pattern)
{
    std::string format;
    for (const DatePatternPiece& piece : ParseDatePattern(pattern).pieces) {
        switch (piece.letter) {
        case 0:
            for (const char c : piece.text)
                format += c == '%' ? std::string("%%") : std::string(1, c);
            break;
        case 'd': format += "%d"; break;
        case 'M': format += "%m"; break;
        case 'y': format += piece.run >= 4 ? "%Y" : "%y"; break;
        default: format.append(piece.run, piece.letter); break;
        }
    }
    return format;
}

DailyHistory ReadHistoryCsv(const std::string& path, const LocaleFormats& formats)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error(path + ": cannot be opened (" + std::strerror(errno) + ")");

    CsvHistoryReader reader(path, formats);
    std::optional<CsvParser> parser;
    Collector collector;
    std::string line;
    int number = 0;
    const auto takeDone = [&] {
        for (const Record& record : collector.done)
            reader.Take(record);
        collector.done.clear();
    };
    while (std::getline(in, line)) {
        ++number;
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);  // a byte order mark
        if (!parser) {
            if (Trimmed(line).empty())
                continue;
            parser.emplace(ChooseSeparator(line));
        }
        collector.line = number;
        line += '\n';
        if (!parser->Feed(line, collector))
            reader.Fail(number, "the line cannot be read as CSV");
        takeDone();
    }
    if (in.bad())
        throw Error(path + ": cannot be read (" + std::strerror(errno) + ")");
    if (parser) {
        collector.line = number;
        if (!parser->Finish(collector))
            reader.Fail(number, "the line cannot be read as CSV");
        takeDone();
    }
    return reader.Finish(std::max(number, 1));
}

}  // namespace tickforge
