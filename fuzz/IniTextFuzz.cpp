// The INI text layer: whatever the file holds, a value set is found again as it was
// given, the other lines stay, and setting several keys in one pass gives the same text
// as setting them one after another.

#include "FuzzCheck.h"
#include "platform/IniText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace tickforge;

// A key name that an INI line can hold: no blanks at its ends, no '=', no line break,
// not taken for a comment or a header.
bool UsableName(const std::string& name)
{
    if (name.empty() || name.front() == ' ' || name.back() == ' ' || name.front() == '\t' || name.back() == '\t')
        return false;
    if (name.front() == ';' || name.front() == '#' || name.front() == '[')
        return false;
    return name.find_first_of("=\r\n]\0", 0, 5) == std::string::npos && name.find("\xEF\xBB\xBF") != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The input: file content, then after the last 0x01 byte "key=value" pairs split by 0x02.
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.rfind('\x01');
    const std::string content = input.substr(0, split == std::string::npos ? input.size() : split);
    std::vector<IniEntry> entries;
    if (split != std::string::npos) {
        const std::string pairs = input.substr(split + 1);
        for (std::size_t start = 0; start <= pairs.size();) {
            const std::size_t end = std::min(pairs.find('\x02', start), pairs.size());
            const std::string pair = pairs.substr(start, end - start);
            const std::size_t equals = pair.find('=');
            // Keys come from the program's own table: only names a line can hold.
            if (equals != std::string::npos && UsableName(pair.substr(0, equals)))
                entries.push_back({pair.substr(0, equals), pair.substr(equals + 1)});
            start = end + 1;
        }
    }
    if (entries.empty())
        entries.push_back({"Seed", content.substr(0, 16)});

    FindIniValue(content, "Generator", "Seed");
    std::string oneByOne = content;
    for (const IniEntry& entry : entries)
        oneByOne = SetIniValue(oneByOne, "Generator", entry.key, entry.value);
    const std::string together = SetIniValues(content, "Generator", entries);
    // Each writing drops one carriage return from a line's end: lines ending in several
    // lose one per writing, so only one writing can be compared with several.
    FUZZ_CHECK(together == oneByOne || content.find("\r\r") != std::string::npos, input);

    const IniSectionValues section(together, "Generator");
    for (const IniEntry& entry : entries) {
        if (entry.value.size() > ProfileValueMaxLength)
            continue;
        // The last value given for a key (names compared without regard to case) counts.
        std::string last = entry.value;
        for (const IniEntry& later : entries)
            if (later.key.size() == entry.key.size() &&
                std::equal(later.key.begin(), later.key.end(), entry.key.begin(),
                           [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                       std::tolower(static_cast<unsigned char>(b)); }))
                last = later.value;
        std::string expected = last;
        for (char& c : expected)
            if (c == '\0' || c == '\r' || c == '\n')
                c = ' ';
        if (expected.size() > ProfileValueMaxLength || expected.find('\0') != std::string::npos)
            continue;
        FUZZ_CHECK(section.Find(entry.key) == expected, input);
    }
    return 0;
}
