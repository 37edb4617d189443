#include "platform/ProfileFile.h"

#include "platform/Error.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <system_error>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tickforge {

namespace {

namespace fs = std::filesystem;

constexpr const char* SettingsFolderName = "tickforge";

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); IsAbsolute(home))
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr
        && IsAbsolute(found->pw_dir))
        return found->pw_dir;
    return {};
}

// Closes a file descriptor on every way out.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int Get() const { return fd_; }
    bool Close()
    {
        if (fd_ < 0)
            return true;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return closed;
    }

private:
    int fd_;
};

enum class FileState { Missing, Readable, Unusable };

struct FileContent {
    FileState state = FileState::Missing;
    std::string text;
    mode_t mode = 0;
};

// The whole file. Not blocking on a pipe or device: only regular files are read.
FileContent LoadFile(const std::string& path)
{
    FileContent content;
    if (path.empty())
        return content;
    FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) {
        content.state = (errno == ENOENT || errno == ENOTDIR) ? FileState::Missing : FileState::Unusable;
        return content;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        content.state = FileState::Unusable;
        return content;
    }
    content.mode = info.st_mode & 07777;
    try {
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
            if (got == 0)
                break;
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                content.state = FileState::Unusable;
                content.text.clear();
                return content;
            }
            content.text.append(buffer, static_cast<std::size_t>(got));
        }
    } catch (const std::bad_alloc&) {
        content.state = FileState::Unusable;
        content.text.clear();
        content.text.shrink_to_fit();
        return content;
    }
    content.state = FileState::Readable;
    return content;
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// Writes text to a fresh file beside target and renames it over target, so that the
// target holds either the old or the new text, never a part. A replaced file keeps its
// permissions; a new one gets those the user's umask gives.
bool ReplaceFile(const std::string& target, const std::string& text, const FileContent& old)
{
    const fs::path targetPath(target);
    const fs::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : fs::path(".");
    std::string stem = folder.string();
    stem += "/.";
    stem += targetPath.filename().string();
    stem += ".tmp-";
    stem += std::to_string(::getpid());
    stem += '-';
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = stem + std::to_string(attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    FileHandle file(fd);
    bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    if (written && old.state == FileState::Readable)
        written = ::fchmod(fd, old.mode) == 0;
    written = file.Close() && written;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

// The file a write goes to: through a symbolic link to its target, so the link stays.
std::string WriteTarget(const std::string& path)
{
    std::error_code error;
    if (fs::is_symlink(path, error) && fs::exists(path, error)) {
        const auto target = fs::canonical(path, error);
        if (!error)
            return target.string();
    }
    return path;
}

}  // namespace

std::string ResolveProfilePath(const std::string& fileName)
{
    if (fileName.find('/') != std::string::npos)
        return fileName;
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); IsAbsolute(config)) {
        base = config;
    } else {
        const std::string home = HomeFolder();
        if (home.empty())
            return {};
        base = home + "/.config";
    }
    return base + "/" + SettingsFolderName + "/" + fileName;
}

ProfileFile::ProfileFile(std::string fileName) : fileName_(std::move(fileName)), path_(ResolveProfilePath(fileName_)) {}

std::string ProfileFile::ReadText(const std::string& section, const std::string& key, const std::string& defaultText) const
{
    const FileContent content = LoadFile(path_);
    if (content.state != FileState::Readable)
        return defaultText;
    return FindIniValue(content.text, section, key).value_or(defaultText);
}

bool ProfileFile::ReadFlag(const std::string& section, const std::string& key, bool defaultFlag) const
{
    const FileContent content = LoadFile(path_);
    if (content.state != FileState::Readable)
        return defaultFlag;
    const auto value = FindIniValue(content.text, section, key);
    if (!value)
        return defaultFlag;
    return ParseIniFlag(*value).value_or(defaultFlag);
}

void ProfileFile::WriteText(const std::string& section, const std::string& key, const std::string& text) const
{
    const auto refused = [this] { return Error(FormatMessage(messages::UnableToWrite, fileName_)); };
    if (path_.empty())
        throw refused();
    const std::string target = WriteTarget(path_);
    // An existing file that cannot be read would lose its other lines: refuse instead.
    const FileContent old = LoadFile(target);
    if (old.state == FileState::Unusable)
        throw refused();
    try {
        const std::string updated = SetIniValue(old.text, section, key, text);
        // A bare name's file lives in the program's own folder, made on the first save.
        if (old.state == FileState::Missing && fileName_.find('/') == std::string::npos) {
            std::error_code ignored;
            fs::create_directories(fs::path(target).parent_path(), ignored);
        }
        if (!ReplaceFile(target, updated, old))
            throw refused();
    } catch (const std::bad_alloc&) {
        throw refused();
    }
}

void ProfileFile::WriteFlag(const std::string& section, const std::string& key, bool flag) const
{
    WriteText(section, key, flag ? "1" : "0");
}

}  // namespace tickforge
