#pragma once
// Runs the real tickforge-cli in a scratch folder of its own, with the C locale and its
// own home, so that dates, numbers and settings read the same on every machine.

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tickforge::clitest {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using Args = Texts;
using testing::ReadFileBytes, testing::WriteFileBytes;

struct RunResult {
    int status;  // the exit status, or 128 + signal for a killed process
    std::string out, err;
};

// "m3.csv" for member 3 of the files named "m.csv".
inline std::string Member(std::string stem, int k) { return stem.append(std::to_string(k)).append(".csv"); }

inline Args With(Args args, const Args& more) { return args.insert(args.end(), more.begin(), more.end()), args; }

inline auto Contains(const std::string& text, const std::string& part)
{
    return ::testing::IsSubstring("part", "text", part, text);
}

// Splits text at each separator; a last piece without one is kept as it is.
inline Texts Split(const std::string& text, const std::string& separator)
{
    Texts parts;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + separator.size()) {
        end = std::min(text.find(separator, start), text.size());
        parts.push_back(text.substr(start, end - start));
    }
    return parts;
}
inline Texts Lines(const std::string& text) { return Split(text, "\r\n"); }
inline Texts Fields(const std::string& line) { return Split(line, ","); }

// Everything left to read from fd, which is then closed.
inline std::string ReadAll(int fd)
{
    std::string bytes;
    char chunk[1 << 16];
    for (ssize_t got = 0; (got = ::read(fd, chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, static_cast<std::size_t>(got));
    return ::close(fd), bytes;
}

class CliFolder {
public:
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    std::string Read(const std::string& name) const { return ReadFileBytes(path_ / name); }
    Texts ReadLines(const std::string& name) const { return Lines(Read(name)); }

    // The files the program left, sorted.
    Texts Files() const
    {
        Texts names;
        for (const auto& entry : fs::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Starts the program here with the C locale and nothing else of the tester's: env entries
    // come first and win. Standard output and error are captured, or go to out and err.
    pid_t Start(Args args, const Texts& env = {}, int out = -1, int err = -1) const
    {
        args.insert(args.begin(), TICKFORGE_CLI_PATH);
        Texts envs = With(env, {"LC_ALL=C", "HOME=" + path_.string(), "TMPDIR=" + path_.string()});
        const auto pointers = [](Texts& texts) {
            std::vector<char*> all(texts.size() + 1);  // the last one null
            std::transform(texts.begin(), texts.end(), all.begin(), [](std::string& text) { return text.data(); });
            return all;
        };
        std::vector<char*> argv = pointers(args), envp = pointers(envs);
        const std::string folder = path_.string(), outPath = io_ / "out", errPath = io_ / "err";
        const int create = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
        const pid_t pid = ::fork();
        if (pid == 0) {  // nothing but system calls between fork and exec
            if (::chdir(folder.c_str()) == 0 && ::dup2(::open("/dev/null", O_RDONLY | O_CLOEXEC), 0) == 0 &&
                ::dup2(out >= 0 ? out : ::open(outPath.c_str(), create, 0644), 1) == 1 &&
                ::dup2(err >= 0 ? err : ::open(errPath.c_str(), create, 0644), 2) == 2)
                ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        return pid;
    }

    RunResult Wait(pid_t pid) const
    {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1,
                ReadFileBytes(io_ / "out"), ReadFileBytes(io_ / "err")};
    }

    RunResult Run(const Args& args, const Texts& env = {}) const { return Wait(Start(args, env)); }

    // A run that must succeed.
    RunResult Ok(const Args& args) const
    {
        RunResult result = Run(args);
        EXPECT_EQ(result.status, 0) << result.err;
        return result;
    }

private:
    testing::ScratchFolder scratch_, io_;  // io_ holds the captured output, out of the program's sight
    const fs::path& path_ = scratch_.Path();
};

class CliTest : public ::testing::Test {
protected:
    CliFolder folder;
};

}  // namespace tickforge::clitest
