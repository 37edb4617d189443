#pragma once
// A member's file that takes effect only once the member is complete: it is written
// under a temporary name, and Commit puts it in place. An interrupted or failed member
// then leaves nothing of it behind. The temporary sits beside its target where it can,
// so that Commit is a rename; standard output, a target that is not a plain file
// (/dev/null, a link) and a member appended to the file of the one before get the
// temporary's bytes copied instead, a buffer at a time.

#include <string>

namespace tickforge::cli {

class StagedFile {
public:
    StagedFile() = default;
    // Removes a temporary that was not committed.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Starts a fresh temporary for target ("-" for standard output), discarding one not
    // committed; append adds it to the target's end on Commit instead of replacing the
    // target. Returns the temporary's path, to be written as a new file.
    const std::string& Begin(const std::string& target, bool append);
    // Puts the temporary in place; does nothing without one. A failure raises
    // tickforge::Error naming the target, and the temporary is removed.
    void Commit();
    // Removes the temporary, if any.
    void Discard();

private:
    void CopyToTarget() const;

    std::string target_;
    std::string temporary_;
    bool append_ = false;
    bool besideTarget_ = false;
};

// Raises tickforge::Error "Cannot create file <path>: <reason>" unless path ("-" for
// standard output aside) can be opened for writing. The check changes nothing: an
// existing file is opened for appending, a new one created and removed again.
void CheckWritable(const std::string& path);

}  // namespace tickforge::cli
