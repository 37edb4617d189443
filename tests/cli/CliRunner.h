#pragma once
// Runs the real tickforge-cli in a folder of its own and collects what it printed and
// how it ended. The locale is fixed to C so that dates and numbers read the same on
// every machine.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tickforge::clitest {

struct RunResult {
    int exitCode = -1;   // the status, or 128 + signal for a killed process
    std::string out;     // standard output
    std::string err;     // standard error
};

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A fresh working folder, removed afterwards.
class CliFolder {
public:
    CliFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tickforge-cli-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a scratch folder");
        path_ = pattern;
        std::filesystem::create_directory(path_ / ".io");
    }
    ~CliFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    CliFolder(const CliFolder&) = delete;
    CliFolder& operator=(const CliFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    std::string Read(const std::string& name) const { return ReadBytes(path_ / name); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }

    // The files the program left (its own capture folder aside), sorted.
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            if (entry.path().filename() != ".io")
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Starts the program with args in this folder. The caller waits with Wait().
    pid_t Start(const std::vector<std::string>& args) const
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string in = "/dev/null";
        const std::string out = (path_ / ".io" / "out").string();
        const std::string err = (path_ / ".io" / "err").string();
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

        std::vector<std::string> argStore;
        argStore.push_back(TICKFORGE_CLI_PATH);
        argStore.insert(argStore.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : argStore)
            argv.push_back(a.data());
        argv.push_back(nullptr);

        // The child runs in this folder, with the C locale and its own home, so that no
        // settings of the person running the tests can reach it.
        std::vector<std::string> envStore;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (entry.rfind("LC_", 0) == 0 || entry.rfind("LANG=", 0) == 0 || entry.rfind("LANGUAGE=", 0) == 0 ||
                entry.rfind("HOME=", 0) == 0 || entry.rfind("XDG_CONFIG_HOME=", 0) == 0 || entry.rfind("PWD=", 0) == 0)
                continue;
            envStore.push_back(entry);
        }
        envStore.push_back("LC_ALL=C");
        envStore.push_back("HOME=" + path_.string());
        std::vector<char*> envp;
        for (auto& e : envStore)
            envp.push_back(e.data());
        envp.push_back(nullptr);

        // posix_spawn has no working-folder action before glibc 2.29's extension; go
        // through the shell-free route of changing folder around the spawn instead.
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(path_);
        pid_t pid = 0;
        const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        std::filesystem::current_path(previous);
        posix_spawn_file_actions_destroy(&actions);
        if (failed != 0)
            throw std::runtime_error("cannot start " + std::string(TICKFORGE_CLI_PATH));
        return pid;
    }

    RunResult Wait(pid_t pid) const
    {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0) {
        }
        RunResult result;
        if (WIFEXITED(status))
            result.exitCode = WEXITSTATUS(status);
        else if (WIFSIGNALED(status))
            result.exitCode = 128 + WTERMSIG(status);
        result.out = ReadBytes(path_ / ".io" / "out");
        result.err = ReadBytes(path_ / ".io" / "err");
        return result;
    }

    RunResult Run(const std::vector<std::string>& args) const { return Wait(Start(args)); }

private:
    std::filesystem::path path_;
};

// Splits text at CR LF; a last line without its ending is kept as it is.
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline std::vector<std::string> Fields(const std::string& line, char delimiter = ',')
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, delimiter))
        fields.push_back(field);
    if (!line.empty() && line.back() == delimiter)
        fields.emplace_back();
    return fields;
}

inline std::string Unquote(const std::string& field)
{
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        return field.substr(1, field.size() - 2);
    return field;
}

}  // namespace tickforge::clitest
