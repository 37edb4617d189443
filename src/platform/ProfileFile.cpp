#include "platform/ProfileFile.h"

#include "platform/Error.h"
#include "platform/StagedFile.h"

#include <cstring>

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
    ~FileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

struct FileContent {
    FileState state = FileState::Missing;
    std::string text;
    int error = 0;
};

// The whole file. Not blocking on a pipe or device: only regular files are read.
FileContent LoadFile(const std::string& path)
{
    FileContent content;
    if (path.empty())
        return content;
    FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) {
        content.error = errno;
        content.state = (errno == ENOENT || errno == ENOTDIR) ? FileState::Missing : FileState::Unusable;
        return content;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        content.error = S_ISDIR(info.st_mode) ? EISDIR : 0;
        content.state = FileState::Unusable;
        return content;
    }
    try {
        content.text.reserve(static_cast<std::size_t>(info.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
            if (got == 0)
                break;
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                content.error = errno;
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

ProfileFile::ProfileFile(std::string fileName) : fileName_(std::move(fileName)), path_(ResolveProfilePath(fileName_))
{
    const int error = [&] {
        FileContent content = LoadFile(path_);
        state_ = content.state;
        text_ = std::move(content.text);
        return content.error;
    }();
    if (state_ == FileState::Unusable)
        readFailure_ = error != 0 ? std::strerror(error) : "not a readable file";
}

const IniSectionValues& ProfileFile::Section(const std::string& section) const
{
    if (!section_ || sectionName_ != section) {
        section_.emplace(text_, section);
        sectionName_ = section;
    }
    return *section_;
}

std::string ProfileFile::ReadText(const std::string& section, const std::string& key, const std::string& defaultText) const
{
    return Section(section).Find(key).value_or(defaultText);
}

bool ProfileFile::ReadFlag(const std::string& section, const std::string& key, bool defaultFlag) const
{
    const auto value = Section(section).Find(key);
    if (!value)
        return defaultFlag;
    return ParseIniFlag(*value).value_or(defaultFlag);
}

void ProfileFile::WriteText(const std::string& section, const std::string& key, const std::string& text)
{
    pending_.push_back({section, {key, text}});
}

void ProfileFile::WriteFlag(const std::string& section, const std::string& key, bool flag)
{
    WriteText(section, key, flag ? "1" : "0");
}

void ProfileFile::Save()
{
    const auto refused = [this] { return Error(FormatMessage(messages::UnableToWrite, fileName_)); };
    if (path_.empty())
        throw refused();
    // An existing file that cannot be read would lose its other lines: refuse instead.
    if (state_ == FileState::Unusable)
        throw refused();
    try {
        std::string updated;
        for (std::size_t first = 0; first < pending_.size();) {
            // One pass per section, the entries in their order.
            std::vector<IniEntry> entries;
            std::size_t next = first;
            while (next < pending_.size() && pending_[next].section == pending_[first].section)
                entries.push_back(pending_[next++].entry);
            updated = SetIniValues(first == 0 ? text_ : updated, pending_[first].section, entries);
            first = next;
        }
        if (pending_.empty())
            updated = text_;
        // A bare name's file lives in the program's own folder, made on the first save.
        if (state_ == FileState::Missing && fileName_.find('/') == std::string::npos) {
            std::error_code ignored;
            fs::create_directories(fs::path(path_).parent_path(), ignored);
        }
        StagedFile file(path_);
        file.Write(updated);
        file.Checkpoint();
        file.Commit();
        text_ = std::move(updated);
        state_ = FileState::Readable;
        section_.reset();
        pending_.clear();
    } catch (const std::exception&) {
        throw refused();
    }
}

}  // namespace tickforge
