#pragma once
// The text of an INI file held in memory: finding a key's value and replacing or adding
// one key's line while every other line stays as it was. ProfileFile does the file
// work around these.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tickforge {

// The longest value a read returns; the rest of a longer stored value is dropped.
inline constexpr std::size_t ProfileValueMaxLength = 2047;

// The value of key in the first section named section (names compared without regard
// to case; the first matching key counts), or nothing when the section or key is
// missing. The value loses its outer blanks, then one pair of matching outer quotes;
// a NUL ends it and it is cut to ProfileValueMaxLength characters.
std::optional<std::string> FindIniValue(std::string_view content, std::string_view section, std::string_view key);

// The entries of the first section named section, read in one pass over content (which
// must outlive this), so that many keys cost one reading however large the file.
class IniSectionValues {
public:
    IniSectionValues(std::string_view content, std::string_view section);
    // As FindIniValue.
    std::optional<std::string> Find(std::string_view key) const;

private:
    std::vector<std::pair<std::string_view, std::string_view>> entries_;
};

struct IniEntry {
    std::string key;
    std::string value;
};

// The content with key set to value: the key's existing line is replaced where it
// stands, a new key goes after the last entry of its section, a missing section is
// appended at the end of the file. Lines come out with LF endings. The value is written
// so that FindIniValue gives it back: NUL, CR and LF cannot stand in a one-line value
// and become blanks; a value with outer blanks or outer matching quotes is wrapped in
// double quotes.
std::string SetIniValue(std::string_view content, std::string_view section, std::string_view key, std::string_view value);
// The content with every entry set, in one pass: the same text as SetIniValue applied
// entry after entry.
std::string SetIniValues(std::string_view content, std::string_view section, const std::vector<IniEntry>& entries);

// A value as a flag: an optional sign, then decimal digits, or hexadecimal digits after
// 0x or 0X; non-zero is true. Nothing when the text is empty or no whole number.
std::optional<bool> ParseIniFlag(std::string_view value);

}  // namespace tickforge
