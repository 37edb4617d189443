#include "export/ExportHistories.h"

#include "export/HistoryWriter.h"

#include <exception>

namespace tickforge {

void CheckValueColumns(const ExportFormat& format)
{
    if (!HasValueColumn(format))
        throw ExportError(messages::NoValueColumn, messages::IllegalColumnSelectionTitle);
}

ExportPath SplitExportPath(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t lastSeparator = path.find_last_of("\\:/");
    if (dot == std::string::npos || (lastSeparator != std::string::npos && dot < lastSeparator))
        return {path, {}};
    return {path.substr(0, dot), path.substr(dot)};
}

ExportMember FormExportMember(const ExportFormat& format, const ExportPath& path, std::int32_t k, bool batch,
                              const std::string& securityName)
{
    ExportMember member;
    member.Number = k;
    if (!batch) {
        member.Path = path.Base + path.Extension;
        member.TickerText = securityName;
        member.WriteHeadings = format.WriteHeadings;
        return member;
    }
    const std::string number = std::to_string(k);
    member.TickerText = securityName + number;
    if (format.MultipleFiles) {
        member.Path = path.Base + number + path.Extension;
        member.WriteHeadings = format.WriteHeadings;
    } else {
        // One file: member 1 starts it, the others follow without a heading line.
        member.Path = path.Base + path.Extension;
        member.Append = k > 1;
        member.WriteHeadings = format.WriteHeadings && k == 1;
    }
    return member;
}

void ExportHistories(const ExportFormat& format, const std::string& chosenPath, std::int32_t count, bool batch,
                     const SecurityNameSource& securityName, const TTimeSeriesSet& bars, const GenerateHistory& generate,
                     const LocaleFormats& formats, const MemberWritten& memberWritten)
{
    const ExportPath path = SplitExportPath(chosenPath);
    const std::int32_t members = batch ? count : 1;
    std::string lastPath;
    for (std::int32_t k = 1; k <= members; ++k) {
        ExportMember member;
        try {
            if (k > 1)
                generate();
            member = FormExportMember(format, path, k, batch, securityName());
            lastPath = member.Path;
            WriteHistoryFile(member.Path, member.Append, bars, format, member.TickerText, member.WriteHeadings, formats);
        } catch (const std::exception& failure) {
            throw ExportError(FileErrorMessage(lastPath), messages::FileErrorTitle, failure.what());
        } catch (...) {
            throw ExportError(FileErrorMessage(lastPath), messages::FileErrorTitle);
        }
        if (memberWritten)
            memberWritten(member);
    }
}

}  // namespace tickforge
