#include "export/HistoryWriter.h"

#include "export/PriceText.h"
#include "platform/DateFormat.h"
#include "platform/Error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace tickforge {

namespace {

constexpr std::size_t OutputBufferSize = 64 * 1024;

std::string Describe(const std::string& what, const std::string& path, int error)
{
    std::string text = what + " " + path;
    if (error != 0)
        text += std::string(": ") + std::strerror(error);
    return text;
}

// A file open for output, closed on every way out; Close() reports a failed close.
class OutputFile {
public:
    OutputFile(const std::string& path, bool append) : path_(path)
    {
        if (append) {
            std::error_code ec;
            if (!std::filesystem::exists(path, ec))
                throw Error(Describe("Cannot open file", path, ENOENT));
        }
        errno = 0;
        file_ = std::fopen(path.c_str(), append ? "ab" : "wb");
        if (file_ == nullptr)
            throw Error(Describe(append ? "Cannot open file" : "Cannot create file", path, errno));
        std::setvbuf(file_, nullptr, _IOFBF, OutputBufferSize);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile()
    {
        if (file_ != nullptr)
            std::fclose(file_);
    }

    void WriteLine(const std::string& line)
    {
        static constexpr char LineEnd[] = "\r\n";
        errno = 0;
        if ((!line.empty() && std::fwrite(line.data(), 1, line.size(), file_) != line.size()) ||
            std::fwrite(LineEnd, 1, 2, file_) != 2)
            throw Error(Describe("Cannot write to file", path_, errno));
    }

    void Close()
    {
        std::FILE* file = file_;
        file_ = nullptr;
        errno = 0;
        if (std::fclose(file) != 0)
            throw Error(Describe("Cannot write to file", path_, errno));
    }

private:
    std::string path_;
    std::FILE* file_ = nullptr;
};

}  // namespace

void AppendField(std::string& line, std::string_view text, const ExportFormat& format)
{
    if (!line.empty())
        line += format.Delimiter;
    if (format.QuoteValues) {
        line += '"';
        line += text;
        line += '"';
    } else {
        line += text;
    }
}

std::string ValueText(const ExportColumnInfo& column, double value, std::int32_t precision, char decimalSeparator)
{
    return column.Series == SeriesVolume ? VolumeText(value) : PriceText(value, precision, decimalSeparator);
}

void WriteHistoryFile(const std::string& path, bool append, const TTimeSeriesSet& bars, const ExportFormat& format,
                      const std::string& tickerText, bool writeHeadings, const LocaleFormats& formats)
{
    const std::string target = path.empty() ? bars.Name + ".csv" : path;
    OutputFile file(target, append);
    std::string line;

    std::vector<const ExportColumnInfo*> columns;
    for (const ExportColumnInfo& column : ExportColumns) {
        if (format.Includes(column.Column))
            columns.push_back(&column);
    }

    if (writeHeadings) {
        for (const ExportColumnInfo* column : columns)
            AppendField(line, format.Heading(column->Column), format);
        file.WriteLine(line);
    }

    const std::int32_t length = bars.Length();
    for (std::int32_t i = 0; i < length; ++i) {
        line.clear();
        for (const ExportColumnInfo* column : columns) {
            switch (column->Column) {
            case ExportColumn::Ticker:
                AppendField(line, tickerText, format);
                break;
            case ExportColumn::Date:
                AppendField(line, FormatShortDate(bars.GetTime(SeriesClose, i), formats.shortDatePattern), format);
                break;
            default:
                AppendField(line,
                            ValueText(*column, bars.GetValue(column->Series, i), format.Precision,
                                      formats.decimalSeparator),
                            format);
            }
        }
        file.WriteLine(line);
    }
    file.Close();
}

}  // namespace tickforge
