#include "cli/OutputPaths.h"

#include "export/ExportHistories.h"

#include <cctype>
#include <filesystem>
#include <optional>
#include <vector>

namespace tickforge::cli {

namespace fs = std::filesystem;

namespace {

// One output: a single file, or with --multiple-files the family base + k + extension.
struct Output {
    std::string option;
    std::string path;  // as given
    bool family = false;
};

std::string Resolved(const std::string& path, bool family)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    if (ec)
        return path;
    // A family's chosen path names no file of its own: only its folder is resolved.
    const fs::path resolved = family ? fs::weakly_canonical(absolute.parent_path(), ec) / absolute.filename()
                                     : fs::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal().string() : resolved.string();
}

// Whether name is member k, 1 <= k <= count, of the family split as path.
bool IsMember(const std::string& name, const ExportPath& path, int count)
{
    const std::size_t fixed = path.Base.size() + path.Extension.size();
    if (name.size() <= fixed || name.compare(0, path.Base.size(), path.Base) != 0 ||
        name.compare(name.size() - path.Extension.size(), std::string::npos, path.Extension) != 0)
        return false;
    const std::string digits = name.substr(path.Base.size(), name.size() - fixed);
    if (digits.size() > 10 || digits.front() == '0')
        return false;
    for (const char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return std::stoll(digits) <= count;
}

std::string FirstMember(const std::string& path)
{
    const ExportPath split = SplitExportPath(path);
    return split.Base + "1" + split.Extension;
}

// Whether two outputs, given in the same form, share a file.
bool Share(const std::string& a, bool aFamily, const std::string& b, bool bFamily, int count)
{
    if (!aFamily && !bFamily)
        return a == b;
    if (aFamily && bFamily)
        return IsMember(FirstMember(a), SplitExportPath(b), count) ||
               IsMember(FirstMember(b), SplitExportPath(a), count);
    return aFamily ? IsMember(b, SplitExportPath(a), count) : IsMember(a, SplitExportPath(b), count);
}

bool IsDevice(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_character_file(path, ec);
}

bool Collide(const Output& a, const Output& b, int count)
{
    if (a.path == "-" || b.path == "-")
        return false;
    const std::string aResolved = Resolved(a.path, a.family), bResolved = Resolved(b.path, b.family);
    if (!a.family && !b.family && IsDevice(aResolved))
        return false;
    return Share(a.path, a.family, b.path, b.family, count) ||
           Share(aResolved, a.family, bResolved, b.family, count);
}

}  // namespace

std::string BarOutputPath(const CliOptions& options, const std::string& securityName)
{
    return options.output.Given() ? options.output.value : securityName + ".csv";
}

void CheckOutputsDiffer(const CliOptions& options, const std::string& barPath)
{
    const bool families = options.multipleFiles.Given();
    std::vector<Output> outputs = {{"--output", barPath, families}};
    if (options.ticksOut.Given())
        outputs.push_back({"--ticks-out", options.ticksOut.value, families});
    if (options.dirtyLabels.Given())
        outputs.push_back({"--dirty-labels", options.dirtyLabels.value, false});
    // The settings file is read, never written: an output in its place would destroy it.
    if (options.settings.Given()) {
        const Output settings{"--settings", options.settings.value, false};
        for (const Output& output : outputs)
            if (Collide(settings, output, options.count))
                throw CLI::ValidationError(output.option, "'" + output.path + "' is the settings file named by --settings");
    }
    for (std::size_t later = 1; later < outputs.size(); ++later)
        for (std::size_t earlier = 0; earlier < later; ++earlier)
            if (Collide(outputs[earlier], outputs[later], options.count))
                throw CLI::ValidationError(outputs[later].option, "'" + outputs[later].path +
                                                                      "' is already written by " +
                                                                      outputs[earlier].option + " '" +
                                                                      outputs[earlier].path + "'");
}

}  // namespace tickforge::cli
