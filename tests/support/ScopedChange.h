#pragma once
// Changes a test makes for one scope: each function makes its change and returns the Undo that reverts it at its end.

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include <sys/resource.h>

namespace tickforge::testing {

class [[nodiscard]] Undo {
public:
    explicit Undo(std::function<void()> undo) : undo_(std::move(undo)) {}
    ~Undo() { undo_(); }
    Undo(const Undo&) = delete;
    Undo& operator=(const Undo&) = delete;

private:
    std::function<void()> undo_;
};

// Sets, or with nothing unsets, an environment variable.
inline Undo SetEnvironment(const std::string& name, const std::optional<std::string>& value)
{
    const auto set = [name](const std::optional<std::string>& v) {
        v ? ::setenv(name.c_str(), v->c_str(), 1) : ::unsetenv(name.c_str());
    };
    const char* old = std::getenv(name.c_str());
    std::optional<std::string> previous = old ? std::optional<std::string>(old) : std::nullopt;
    set(value);
    return Undo([set, previous] { set(previous); });
}

inline Undo ChangeCurrentFolder(const std::filesystem::path& folder)
{
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    return Undo([old] {
        std::error_code ignored;
        std::filesystem::current_path(old, ignored);
    });
}

// A write beyond the limit fails. Unlike a missing write permission, this binds the superuser too.
inline Undo LimitFileSize(rlim_t bytes)
{
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);  // else the write would end the process
    rlimit limit = old;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    return Undo([old, handler] {
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, handler);
    });
}

}  // namespace tickforge::testing
