#include "export/HistoryWriter.h"

#include "export/PriceText.h"
#include "platform/DateFormat.h"
#include "platform/Error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

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

void WriteHistoryFile(const std::string& path, bool append, const TTimeSeriesSet& bars, const ExportFormat& format,
                      const std::string& tickerText, bool writeHeadings, const LocaleFormats& formats)
{
    const std::string target = path.empty() ? bars.Name + ".csv" : path;
    OutputFile file(target, append);
    std::string line;

    if (writeHeadings) {
        if (format.TickerColumn)
            AppendField(line, format.TickerHeading, format);
        if (format.DateColumn)
            AppendField(line, format.DateHeading, format);
        if (format.OpenColumn)
            AppendField(line, format.OpenHeading, format);
        if (format.HighColumn)
            AppendField(line, format.HighHeading, format);
        if (format.LowColumn)
            AppendField(line, format.LowHeading, format);
        if (format.CloseColumn)
            AppendField(line, format.CloseHeading, format);
        if (format.VolumeColumn)
            AppendField(line, format.VolumeHeading, format);
        file.WriteLine(line);
    }

    const char separator = formats.decimalSeparator;
    const std::int32_t length = bars.Length();
    for (std::int32_t i = 0; i < length; ++i) {
        line.clear();
        if (format.TickerColumn)
            AppendField(line, tickerText, format);
        if (format.DateColumn)
            AppendField(line, FormatShortDate(bars.GetTime(SeriesClose, i), formats.shortDatePattern), format);
        if (format.OpenColumn)
            AppendField(line, PriceText(bars.GetValue(SeriesOpen, i), format.Precision, separator), format);
        if (format.HighColumn)
            AppendField(line, PriceText(bars.GetValue(SeriesHigh, i), format.Precision, separator), format);
        if (format.LowColumn)
            AppendField(line, PriceText(bars.GetValue(SeriesLow, i), format.Precision, separator), format);
        if (format.CloseColumn)
            AppendField(line, PriceText(bars.GetValue(SeriesClose, i), format.Precision, separator), format);
        if (format.VolumeColumn)
            AppendField(line, VolumeText(bars.GetValue(SeriesVolume, i)), format);
        file.WriteLine(line);
    }
    file.Close();
}

}  // namespace tickforge
