#include "platform/IniText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using tickforge::FindIniValue;
using tickforge::ParseIniFlag;
using tickforge::SetIniValue;

namespace {

TEST(IniTextFind, ReadsTheFirstMatchingKeyOfTheFirstMatchingSection)
{
    const struct {
        std::string content;
        const char* section;
        const char* key;
        std::optional<std::string> value;
    } cases[] = {
        {"[generator]\nSEED=3000\n", "Generator", "Seed", "3000"},  // names without regard to case
        {"[Other]\nSeed=1\n[Generator]\nLength=180\n", "Generator", "Seed", std::nullopt},
        {"[Generator]\nLength=180\n[Other]\nSeed=1\n", "Other", "Seed", "1"},
        {"[Generator]\nSeed=1\nSeed=2\n[Generator]\nSeed=3\nLength=9\n", "Generator", "Seed", "1"},
        {"  [ Generator ]  \n\t Seed \t=  3000 \t\n", "Generator", "Seed", "3000"},  // blanks ignored
        {"[Generator]\nSecurityName=a=b\n", "Generator", "SecurityName", "a=b"},
        {"[G]\nA=\" x \"\n", "G", "A", " x "},  // one pair of matching outer quotes goes
        {"[G]\nA=\"z'\n", "G", "A", "\"z'"},
        {"[G]\nA=\"\"\n", "G", "A", ""},
        {"[Generator]\r\nSeed=1\nLength=2\r\nBias=3", "Generator", "Length", "2"},  // CR LF and LF mixed
        {"\xEF\xBB\xBF[Generator]\r\nSeed=7\r\n", "Generator", "Seed", "7"},  // a byte order mark is skipped
        {"[Generator]\n;Seed=1\n# Seed=2\nSend=4\nSeed=3\n", "Generator", "Seed", "3"},
        {"[Generator\nSeed=1\n", "Generator", "Seed", std::nullopt},  // no closing bracket: no section
        {"[G]\nA=12" + std::string(1, '\0') + "34\n", "G", "A", "12"},  // a NUL ends the value
        {"[G]\nA=" + std::string(3000, 'q') + "\n", "G", "A", std::string(2047, 'q')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindIniValue(c.content, c.section, c.key), c.value) << c.content.substr(0, 60);
}

TEST(IniTextSet, ReplacesOrAddsOneKeyAndKeepsEveryOtherLine)
{
    const struct {
        const char* content;
        const char* section;
        const char* key;
        const char* value;
        const char* result;
    } cases[] = {
        {"", "Generator", "Seed", "3000", "[Generator]\nSeed=3000\n"},
        // replaced where it stands, under the name as written now
        {"; my settings\n[Generator]\nseed = 1\nLength=180\n\n[Other]\nX=1\n", "GENERATOR", "Seed", "42",
         "; my settings\n[Generator]\nSeed=42\nLength=180\n\n[Other]\nX=1\n"},
        // a new key follows the section's last entry, before what leads into the next section
        {"[Generator]\nSeed=1\nUnknown=7\n\n; about other\n[Other]\nX=1\n", "Generator", "Length", "180",
         "[Generator]\nSeed=1\nUnknown=7\nLength=180\n\n; about other\n[Other]\nX=1\n"},
        {"[Generator]\n[Other]\nX=1\n", "Generator", "Seed", "5", "[Generator]\nSeed=5\n[Other]\nX=1\n"},
        // a missing section is appended after one blank line
        {"[Other]\nX=1\n", "Generator", "Seed", "5", "[Other]\nX=1\n\n[Generator]\nSeed=5\n"},
        {"[Other]\nX=1\n\n", "Generator", "Seed", "5", "[Other]\nX=1\n\n[Generator]\nSeed=5\n"},
        // other lines keep their bytes; only their line ends become LF
        {"  odd line without equals\r\n[Generator]\r\n  Bias =  5  \r\n#c\r\n[x\r\n", "Generator", "Seed", "1",
         "  odd line without equals\n[Generator]\n  Bias =  5  \n#c\n[x\nSeed=1\n"},
        {"\xEF\xBB\xBF[Generator]\r\nSeed=7\r\n", "Generator", "Seed", "8", "\xEF\xBB\xBF[Generator]\nSeed=8\n"},
        // line breaks cannot stand in a one-line value
        {"", "Generator", "Seed", "a\r\nb\nc", "[Generator]\nSeed=a  b c\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SetIniValue(c.content, c.section, c.key, c.value), c.result) << c.content;
}

TEST(IniTextSet, WrittenValuesReadBackUnchanged)
{
    for (const std::string value : {"", "  padded  ", "\t", "\"quoted\"", "'q'", "\"", "a=b", "; not a comment"}) {
        const std::string content = SetIniValue("[Generator]\nSeed=old\n", "Generator", "Seed", value);
        EXPECT_EQ(FindIniValue(content, "Generator", "Seed"), value) << "value [" << value << "]";
    }
}

TEST(IniFlag, WholeNumbersDecimalOrHexadecimalElseNothing)
{
    for (const char* ticked : {"1", "2", "-1", "01", "0x10", "0x9", "0xa", "0xfF", "99999999999999999999999"})
        EXPECT_EQ(ParseIniFlag(ticked), true) << ticked;
    for (const char* unticked : {"0", "+0", "0X0", "000"})
        EXPECT_EQ(ParseIniFlag(unticked), false) << unticked;
    for (const char* text : {"", "yes", "1a", "0x", "0xg", "-", "1.0", " 1"})
        EXPECT_FALSE(ParseIniFlag(text)) << "text [" << text << "]";
}

}  // namespace
