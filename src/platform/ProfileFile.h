#pragma once
// Key-by-key access to an INI profile file: "[Section]" headers and "Key=Value" lines.
// The file is read once, when the object is made; writes are gathered and Save puts
// them all in place at once and atomically, so a large file costs one reading and one
// writing, and a refused save leaves the file byte for byte as it was.
//
// Reading: section and key names match without regard to case; the first matching
// section and the first matching key in it count. Blanks around the name and the value
// are ignored, and a value wrapped in a pair of matching quotes loses them. Lines may
// end in LF or CR LF; lines starting with ';' or '#' are comments. A file that is
// missing, unreadable or no regular file reads as an empty one.
//
// Writing: a key's existing line is replaced where it stands, a new key goes after the
// last entry of its section, a missing section is appended at the end. Every other line
// stays as it was. Lines are written with LF endings.

#include "platform/IniText.h"

#include <optional>
#include <string>
#include <vector>

namespace tickforge {

namespace messages {
inline constexpr const char* UnableToWrite = "Unable to write to %s";
}  // namespace messages

// Where a profile file of the given name lives. A bare name (no '/') lies in the
// program's own settings folder, $XDG_CONFIG_HOME/tickforge (~/.config/tickforge when
// the variable is unset, empty or not an absolute path), never in the current folder.
// A name with a '/' is a path and used as it is. Empty when no home folder is known.
std::string ResolveProfilePath(const std::string& fileName);

enum class FileState { Missing, Readable, Unusable };

class ProfileFile {
public:
    explicit ProfileFile(std::string fileName);

    // Whether the file was there and read.
    FileState State() const { return state_; }
    // Why a file that is there could not be read ("Permission denied", "Is a directory",
    // "not a readable file" for a pipe or device); empty otherwise.
    const std::string& ReadFailure() const { return readFailure_; }

    // The stored text, or defaultText when the key is missing. A key present with an
    // empty value gives the empty text.
    std::string ReadText(const std::string& section, const std::string& key, const std::string& defaultText) const;

    // The stored whole number (decimal, or hexadecimal after 0x or 0X) as ticked when
    // non-zero; defaultFlag when the key is missing or its value is empty or no whole number.
    bool ReadFlag(const std::string& section, const std::string& key, bool defaultFlag) const;

    // Gathers the text for Save. NUL, CR and LF cannot stand in a one-line value and are
    // written as blanks; a value with outer blanks or outer matching quotes is wrapped in
    // quotes so that it reads back unchanged.
    void WriteText(const std::string& section, const std::string& key, const std::string& text);
    // Gathers "1" or "0".
    void WriteFlag(const std::string& section, const std::string& key, bool flag);

    // Writes the gathered keys into the file as read, in one atomic replace. A refused
    // write (a file that could not be read, no right to write it, no room) raises
    // "Unable to write to %s" with the file name as given to the constructor, and leaves
    // the old file byte for byte as it was.
    void Save();

    const std::string& FileName() const { return fileName_; }
    const std::string& Path() const { return path_; }

private:
    struct PendingEntry {
        std::string section;
        IniEntry entry;
    };
    const IniSectionValues& Section(const std::string& section) const;

    std::string fileName_;
    std::string path_;
    FileState state_ = FileState::Missing;
    std::string readFailure_;
    std::string text_;
    std::vector<PendingEntry> pending_;
    mutable std::optional<IniSectionValues> section_;
    mutable std::string sectionName_;
};

}  // namespace tickforge
