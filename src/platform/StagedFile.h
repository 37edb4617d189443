#pragma once
// The one way the program writes a file the user keeps (histories, tick paths, dirty
// labels, the settings file): the bytes go into a temporary file and reach the target
// only when they are complete, so a failure or an interruption leaves the old file as
// it was and no temporary behind.
//
// The temporary is an unnamed file (O_TMPFILE) in the target's folder: it has no name
// until Commit links it in and renames it over the target, so even a killed process
// leaves nothing. A folder whose file system lacks unnamed files gets a hidden named
// temporary instead, removed on every way out that the process controls.
//
// Standard output ("-") and targets that are no plain file (a device, a pipe) are
// streams: the temporary sits in the temporary folder and each checkpoint passes its
// complete bytes on. A replaced file keeps its permission bits; a new one gets those the
// umask gives. A link is followed and stays a link.
//
// Only complete parts are published: the bytes written up to the last Checkpoint. A
// batch writes its members one after another and checkpoints after each, so a member
// that fails halfway never appears.

#include <string>
#include <string_view>

namespace tickforge {

class StagedFile {
public:
    enum class Mode {
        Replace,  // the target gets only what is written here
        Append    // the target's present content comes first; a missing target is an error
    };

    // Refuses at once, with tickforge::Error, a target that cannot be written:
    // "Cannot create file <target>: <reason>" (or "Cannot open file" for Append). A plain
    // file that grants nobody write permission is refused even to the superuser.
    explicit StagedFile(std::string target, Mode mode = Mode::Replace);
    // Drops whatever was not committed.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Buffered; a failure raises "Cannot write to file <target>: <reason>".
    void Write(std::string_view bytes);
    // Writes text and the line end (carriage return, line feed).
    void WriteLine(std::string_view text);

    // Moves the buffered bytes into the temporary, so that no room shows now.
    void Flush();
    // The bytes written so far form a complete part. A stream receives them now.
    void Checkpoint();
    // Drops the bytes written since the last checkpoint.
    void Rollback();
    // Publishes the complete parts and ends the staging; without any, the target stays
    // untouched. Failures raise tickforge::Error naming the target.
    void Commit();
    // Whether a checkpoint has been passed since the staging began.
    bool HasCompletePart() const { return checkpointed_; }

    // The target as given ("-" for standard output).
    const std::string& Target() const { return target_; }
    // The target as messages name it: "standard output" for "-".
    std::string TargetName() const;

private:
    void Discard();
    [[noreturn]] void Fail(const char* what, int error) const;
    void ForwardToStream();

    std::string target_;
    std::string writeTarget_;  // a link's final target
    std::string namedTemporary_;  // only where unnamed files are not available
    std::string buffer_;
    int fd_ = -1;
    int streamFd_ = -1;
    bool stream_ = false;
    bool existed_ = false;
    unsigned mode_ = 0;
    long long written_ = 0;     // bytes in the temporary
    long long complete_ = 0;    // bytes up to the last checkpoint
    long long forwarded_ = 0;   // bytes a stream has received
    bool checkpointed_ = false;
};

// Raises what StagedFile's constructor would raise for target, and changes nothing.
void CheckWritable(const std::string& target, StagedFile::Mode mode = StagedFile::Mode::Replace);

}  // namespace tickforge
