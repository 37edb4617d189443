#include "cli/StdoutRelay.h"

#include "platform/Error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace tickforge::cli {

StdoutRelay::StdoutRelay()
{
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec)
        folder = "/tmp";
    std::string pattern = (folder / "tickforge-cli-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw Error(std::string("Cannot create a temporary file for standard output: ") + std::strerror(errno));
    ::close(fd);
    path_ = pattern;
}

StdoutRelay::~StdoutRelay()
{
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

void StdoutRelay::Forward()
{
    std::FILE* in = std::fopen(path_.c_str(), "rb");
    if (in == nullptr)
        throw Error("Cannot read " + path_ + ": " + std::strerror(errno));
    char buffer[1 << 16];
    std::size_t n = 0;
    bool failed = false;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        if (std::fwrite(buffer, 1, n, stdout) != n) {
            failed = true;
            break;
        }
    std::fclose(in);
    if (failed || std::fflush(stdout) != 0)
        throw Error(std::string("Cannot write to standard output: ") + std::strerror(errno));
    std::filesystem::resize_file(path_, 0);
}

}  // namespace tickforge::cli
