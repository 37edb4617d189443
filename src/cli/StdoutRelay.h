#pragma once
// "-o -": the export writes each member into a private temporary file, and the relay
// passes what was written on to standard output after each member. Standard output
// itself is never reopened, so a pipe, a terminal or a file opened for appending all
// receive the bytes unchanged.

#include <string>

namespace tickforge::cli {

class StdoutRelay {
public:
    StdoutRelay();
    ~StdoutRelay();
    StdoutRelay(const StdoutRelay&) = delete;
    StdoutRelay& operator=(const StdoutRelay&) = delete;

    // The path to hand to the export as its chosen path.
    const std::string& Path() const { return path_; }
    // Copies the file to standard output and empties it; the export's next member,
    // appended, then starts from an empty file again.
    void Forward();

private:
    std::string path_;
};

}  // namespace tickforge::cli
