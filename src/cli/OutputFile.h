#pragma once
// A buffered output file of the command line's own files (tick paths, dirty labels),
// or standard output for the path "-". Failures raise tickforge::Error naming the path.

#include <cstdio>
#include <string>
#include <string_view>

namespace tickforge::cli {

class OutputFile {
public:
    // append false creates or empties the file; append true adds to its end.
    OutputFile(const std::string& path, bool append);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Writes text and the line end (carriage return, line feed).
    void WriteLine(std::string_view text);
    // Writes bytes as they are.
    void Write(std::string_view bytes);
    // Flushes, and closes a real file; a failure raises.
    void Close();

    const std::string& Path() const { return path_; }

private:
    [[noreturn]] void Fail(const char* what, int error) const;

    std::string path_;
    std::FILE* file_ = nullptr;
    bool isStdout_ = false;
};

}  // namespace tickforge::cli
