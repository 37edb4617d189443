#include "platform/StagedFile.h"

#include "platform/Error.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tickforge {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t BufferSize = 1 << 20;

std::string Folder(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FileName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a link finally names (the path itself when it is no link), so that a write
// replaces the linked file and the link stays.
std::string FollowLinks(std::string path)
{
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec)))
            return path;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec)
            return path;
        path = next.is_absolute() ? next.string() : (fs::path(Folder(path)) / next).string();
    }
    return path;
}

bool UnnamedFilesUnsupported(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// A file without a name in folder, open for reading and writing; -1 with errno set.
int OpenUnnamed(const std::string& folder) { return ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666); }

// A hidden file beside target, created anew; -1 with errno set.
int OpenNamedBeside(const std::string& target, std::string& name)
{
    const std::string stem = Folder(target) + "/." + FileName(target) + ".tmp-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = stem + std::to_string(attempt);
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// A private scratch file in the temporary folder, for the bytes of a stream.
int OpenScratch()
{
    const char* tmp = std::getenv("TMPDIR");
    const std::string folder = tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
    int fd = OpenUnnamed(folder);
    if (fd >= 0 || !UnnamedFilesUnsupported(errno))
        return fd;
    std::string pattern = folder + "/tickforge-XXXXXX";
    fd = ::mkstemp(pattern.data());
    if (fd >= 0)
        ::unlink(pattern.c_str());
    return fd;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t wrote = ::write(fd, data, size);
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return true;
}

// Copies bytes [from, to) of in to out; false with errno set on failure.
bool CopyRange(int in, long long from, long long to, int out)
{
    char chunk[1 << 16];
    while (from < to) {
        const auto want = static_cast<std::size_t>(std::min<long long>(to - from, sizeof chunk));
        const ssize_t got = ::pread(in, chunk, want, from);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                errno = EIO;
            return false;
        }
        if (!WriteAll(out, chunk, static_cast<std::size_t>(got)))
            return false;
        from += got;
    }
    return true;
}

// Keeps the signals that end a process by default away while a name is being moved.
class SignalsHeld {
public:
    SignalsHeld()
    {
        sigset_t all;
        sigfillset(&all);
        ::pthread_sigmask(SIG_BLOCK, &all, &old_);
    }
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t old_{};
};

}  // namespace

StagedFile::StagedFile(std::string target, Mode mode) : target_(std::move(target))
{
    const char* openFailure = mode == Mode::Append ? "Cannot open file" : "Cannot create file";
    if (target_.empty())
        Fail(openFailure, ENOENT);
    if (target_ == "-") {
        stream_ = true;
        streamFd_ = STDOUT_FILENO;
    } else {
        writeTarget_ = FollowLinks(target_);
        struct stat info {};
        if (::stat(writeTarget_.c_str(), &info) == 0) {
            if (S_ISDIR(info.st_mode))
                Fail(openFailure, EISDIR);
            if (!S_ISREG(info.st_mode)) {
                // A device or a pipe has no content to keep: it is written as a stream.
                stream_ = true;
                streamFd_ = ::open(writeTarget_.c_str(), O_WRONLY | O_CLOEXEC | (mode == Mode::Append ? O_APPEND : 0));
                if (streamFd_ < 0)
                    Fail(openFailure, errno);
            } else {
                existed_ = true;
                mode_ = info.st_mode & 07777;
                if (::access(writeTarget_.c_str(), W_OK) != 0)
                    Fail(openFailure, errno);
                // Marked read-only for everyone: the superuser keeps away too.
                if ((mode_ & 0222) == 0)
                    Fail(openFailure, EACCES);
            }
        } else if (errno != ENOENT) {
            Fail(openFailure, errno);
        } else if (mode == Mode::Append) {
            Fail(openFailure, ENOENT);
        }
    }

    if (stream_) {
        fd_ = OpenScratch();
        if (fd_ < 0) {
            const int error = errno;
            if (streamFd_ > STDERR_FILENO)
                ::close(streamFd_);
            throw Error("Cannot create a temporary file for " + TargetName() + ": " + std::strerror(error));
        }
        return;
    }
    fd_ = OpenUnnamed(Folder(writeTarget_));
    if (fd_ < 0 && UnnamedFilesUnsupported(errno))
        fd_ = OpenNamedBeside(writeTarget_, namedTemporary_);
    if (fd_ < 0) {
        namedTemporary_.clear();
        Fail(openFailure, errno);
    }
    if (mode == Mode::Append) {
        const int old = ::open(writeTarget_.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info {};
        if (old < 0 || ::fstat(old, &info) != 0 || !CopyRange(old, 0, info.st_size, fd_)) {
            const int error = errno;
            if (old >= 0)
                ::close(old);
            Discard();
            Fail(openFailure, error);
        }
        ::close(old);
        written_ = complete_ = info.st_size;
    }
}

StagedFile::~StagedFile() { Discard(); }

std::string StagedFile::TargetName() const { return target_ == "-" ? "standard output" : target_; }

void StagedFile::Fail(const char* what, int error) const
{
    std::string text = target_ == "-" ? std::string("Cannot write to standard output") : std::string(what) + " " + target_;
    if (error != 0)
        text += std::string(": ") + std::strerror(error);
    throw Error(text);
}

void StagedFile::Write(std::string_view bytes)
{
    if (fd_ < 0)
        Fail("Cannot write to file", EBADF);
    if (buffer_.size() + bytes.size() < BufferSize) {
        buffer_.append(bytes);
        return;
    }
    // A large piece goes straight to the file, without a copy in the buffer.
    Flush();
    if (!WriteAll(fd_, bytes.data(), bytes.size())) {
        const int error = errno;
        written_ = ::lseek(fd_, 0, SEEK_CUR);
        Fail("Cannot write to file", error);
    }
    written_ += static_cast<long long>(bytes.size());
}

void StagedFile::WriteLine(std::string_view text)
{
    Write(text);
    Write("\r\n");
}

void StagedFile::Flush()
{
    if (buffer_.empty())
        return;
    const std::size_t size = buffer_.size();
    const bool wrote = WriteAll(fd_, buffer_.data(), size);
    const int error = errno;
    buffer_.clear();
    if (!wrote) {
        // What did reach the file is dropped again by the next rollback.
        written_ = ::lseek(fd_, 0, SEEK_CUR);
        Fail("Cannot write to file", error);
    }
    written_ += static_cast<long long>(size);
}

void StagedFile::Checkpoint()
{
    if (fd_ < 0)
        Fail("Cannot write to file", EBADF);
    Flush();
    complete_ = written_;
    checkpointed_ = true;
    if (stream_)
        ForwardToStream();
}

void StagedFile::ForwardToStream()
{
    if (!CopyRange(fd_, forwarded_, complete_, streamFd_))
        Fail("Cannot write to file", errno);
    // The stream has them: the scratch file starts again from nothing.
    if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0)
        Fail("Cannot write to file", errno);
    written_ = complete_ = forwarded_ = 0;
}

void StagedFile::Rollback()
{
    buffer_.clear();
    if (fd_ < 0 || written_ == complete_)
        return;
    if (::ftruncate(fd_, complete_) != 0 || ::lseek(fd_, complete_, SEEK_SET) != complete_)
        Fail("Cannot write to file", errno);
    written_ = complete_;
}

void StagedFile::Commit()
{
    if (fd_ < 0)
        return;
    try {
        Rollback();
        if (!checkpointed_ || stream_) {
            // A stream already has every complete part.
            Discard();
            return;
        }
        if (::fdatasync(fd_) != 0)
            Fail("Cannot write to file", errno);
        if (existed_ && ::fchmod(fd_, mode_) != 0)
            Fail("Cannot write to file", errno);
        SignalsHeld held;
        if (namedTemporary_.empty()) {
            std::string name;
            const std::string self = "/proc/self/fd/" + std::to_string(fd_);
            const std::string stem = Folder(writeTarget_) + "/." + FileName(writeTarget_) + ".tmp-" +
                                     std::to_string(::getpid()) + "-";
            int linked = -1;
            for (int attempt = 0; attempt < 100 && linked != 0; ++attempt) {
                name = stem + std::to_string(attempt);
                linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
                if (linked != 0 && errno != EEXIST)
                    Fail("Cannot write to file", errno);
            }
            if (linked != 0)
                Fail("Cannot write to file", EEXIST);
            namedTemporary_ = name;
        }
        if (::rename(namedTemporary_.c_str(), writeTarget_.c_str()) != 0)
            Fail("Cannot write to file", errno);
        namedTemporary_.clear();
    } catch (...) {
        Discard();
        throw;
    }
    Discard();
}

void StagedFile::Discard()
{
    buffer_.clear();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (streamFd_ > STDERR_FILENO)
        ::close(streamFd_);
    streamFd_ = -1;
    if (!namedTemporary_.empty())
        ::unlink(namedTemporary_.c_str());
    namedTemporary_.clear();
}

void CheckWritable(const std::string& target, StagedFile::Mode mode) { StagedFile check(target, mode); }

}  // namespace tickforge
