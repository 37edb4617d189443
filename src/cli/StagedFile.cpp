#include "cli/StagedFile.h"

#include "cli/OutputFile.h"
#include "platform/Error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace tickforge::cli {

namespace fs = std::filesystem;

namespace {

// A new file named after target in target's folder, with the permissions a new target
// would get (the umask applies), so that a rename leaves the same file as a direct write.
// Empty when the folder does not take it.
std::string CreateBeside(const std::string& target)
{
    const std::string stem = target + ".partial-" + std::to_string(::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = attempt == 0 ? stem : stem + "-" + std::to_string(attempt);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

std::string CreateInTemporaryFolder(const std::string& target)
{
    std::error_code ec;
    fs::path folder = fs::temp_directory_path(ec);
    if (ec)
        folder = "/tmp";
    std::string pattern = (folder / "tickforge-cli-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw Error("Cannot create a temporary file for " + (target == "-" ? std::string("standard output") : target) +
                    ": " + std::strerror(errno));
    ::close(fd);
    return pattern;
}

// A target that a rename may replace: none yet, or a plain file (not a link to one).
bool Replaceable(const std::string& target)
{
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(target, ec);
    return status.type() == fs::file_type::not_found || status.type() == fs::file_type::regular;
}

}  // namespace

StagedFile::~StagedFile() { Discard(); }

const std::string& StagedFile::Begin(const std::string& target, bool append)
{
    Discard();
    target_ = target;
    append_ = append;
    temporary_ = target != "-" && Replaceable(target) ? CreateBeside(target) : std::string();
    besideTarget_ = !temporary_.empty();
    if (!besideTarget_)
        temporary_ = CreateInTemporaryFolder(target);
    return temporary_;
}

void StagedFile::Commit()
{
    if (temporary_.empty())
        return;
    try {
        if (besideTarget_ && !append_) {
            if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
                throw Error("Cannot create file " + target_ + ": " + std::strerror(errno));
            temporary_.clear();
            return;
        }
        CopyToTarget();
    } catch (...) {
        Discard();
        throw;
    }
    Discard();
}

void StagedFile::Discard()
{
    if (temporary_.empty())
        return;
    std::error_code ignored;
    fs::remove(temporary_, ignored);
    temporary_.clear();
}

void StagedFile::CopyToTarget() const
{
    std::FILE* in = std::fopen(temporary_.c_str(), "rb");
    if (in == nullptr)
        throw Error("Cannot read " + temporary_ + ": " + std::strerror(errno));
    try {
        OutputFile out(target_, append_);
        char buffer[1 << 16];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
            out.Write({buffer, n});
        if (std::ferror(in))
            throw Error("Cannot read " + temporary_);
        out.Close();
    } catch (...) {
        std::fclose(in);
        throw;
    }
    std::fclose(in);
}

void CheckWritable(const std::string& path)
{
    if (path == "-")
        return;
    std::error_code ec;
    const fs::file_status entry = fs::symlink_status(path, ec);
    // A link to nothing yet: opening it would leave its target behind.
    if (fs::is_symlink(entry) && !fs::exists(fs::status(path, ec)))
        return;
    const bool existed = fs::exists(entry);
    OutputFile(path, existed).Close();
    if (!existed)
        fs::remove(path, ec);
}

}  // namespace tickforge::cli
