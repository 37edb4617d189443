#include "cli/OutputFile.h"

#include "platform/Error.h"

#include <cerrno>
#include <cstring>

namespace tickforge::cli {

namespace {
constexpr std::size_t BufferSize = 1 << 20;
}

OutputFile::OutputFile(const std::string& path, bool append) : path_(path), isStdout_(path == "-")
{
    if (isStdout_) {
        file_ = stdout;
        return;
    }
    errno = 0;
    file_ = std::fopen(path.c_str(), append ? "ab" : "wb");
    if (file_ == nullptr)
        Fail("Cannot create file", errno);
    std::setvbuf(file_, nullptr, _IOFBF, BufferSize);
}

OutputFile::~OutputFile()
{
    if (file_ != nullptr && !isStdout_)
        std::fclose(file_);
}

void OutputFile::WriteLine(std::string_view text)
{
    errno = 0;
    if ((!text.empty() && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) ||
        std::fwrite("\r\n", 1, 2, file_) != 2)
        Fail("Cannot write to file", errno);
}

void OutputFile::Write(std::string_view bytes)
{
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        Fail("Cannot write to file", errno);
}

void OutputFile::Close()
{
    if (file_ == nullptr)
        return;
    std::FILE* file = file_;
    file_ = nullptr;
    errno = 0;
    const int failed = isStdout_ ? std::fflush(file) : std::fclose(file);
    if (failed != 0)
        Fail("Cannot write to file", errno);
}

void OutputFile::Fail(const char* what, int error) const
{
    std::string text = std::string(what) + " " + (isStdout_ ? std::string("standard output") : path_);
    if (error != 0)
        text += std::string(": ") + std::strerror(error);
    throw Error(text);
}

}  // namespace tickforge::cli
