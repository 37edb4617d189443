#include "platform/IniText.h"
#include "platform/ProfileFile.h"

#include "support/ScratchFolder.h"
#include "support/ScopedChange.h"
#include "support/TestHelpers.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include <sys/stat.h>

using namespace tickforge;
using namespace tickforge::testing;

namespace fs = std::filesystem;

namespace {

// The inode number of a file, which a rename over its name changes.
ino_t Inode(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(IniTextFind, ReadsTheFirstMatchingKeyOfTheFirstMatchingSection)
{
    const struct {
        std::string content;
        const char *section, *key;
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
        {"[G]\nA=\"\"\n", "G", "A", ""},           {"[G]\nA='x'\n", "G", "A", "x"},
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
        const char *content, *section, *key, *value, *result;
    } cases[] = {
        {"", "Generator", "Seed", "3000", "[Generator]\nSeed=3000\n"},
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

TEST(ProfileFileRead, AFileThatCannotBeReadReadsAsNoFileAndSaysWhy)
{
    // A plain file whose first bytes cannot be read: this process's memory at address 0.
    // The command-line tests show a folder and a pipe in the file's place.
    const ProfileFile file("/proc/self/mem");
    EXPECT_EQ(file.State(), FileState::Unusable);
    EXPECT_EQ(file.ReadFailure(), "Input/output error");
    EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), "3000");
}

TEST(ProfileFileSave, ReplacesTheFileAtomicallyKeepingEveryOtherByteItsModeAndItsSymbolicLink)
{
    ScratchFolder folder;
    const std::string path = folder / "TKF.ini";
    std::string garbage(1 << 20, 'x');  // one line of a mebibyte, then every byte value
    for (int i = 0; i < 256; ++i)
        garbage += static_cast<char>(i);
    WriteFileBytes(path, garbage + "\n[Generator]\nSeed=1\n");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path, mode);
    fs::create_symlink(path, folder / "link.ini");
    // A reader that opened the old file keeps the old text: the new text comes in as a
    // new file renamed over the old name, through a symbolic link to it too.
    for (const std::string seed : {"2", "3"}) {
        const ino_t before = Inode(path);
        ProfileFile file(seed == "2" ? path : folder / "link.ini");
        EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), seed == "2" ? "1" : "2");
        file.WriteText("Generator", "Seed", "0");
        file.WriteText("Generator", "Seed", seed);  // the last value of a key counts
        file.Save();
        EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), seed);
        EXPECT_EQ(ReadFileBytes(path), garbage + "\n[Generator]\nSeed=" + seed + "\n");
        EXPECT_NE(Inode(path), before);
    }
    EXPECT_EQ(fs::status(path).permissions(), mode);
    EXPECT_TRUE(fs::is_symlink(folder / "link.ini"));

    // Marked read-only, the file is refused even to the superuser, not renamed over, and no temporary file is left.
    ProfileFile file(path);
    file.WriteText("Generator", "Seed", "4");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_THROW(file.Save(), Error);
    EXPECT_EQ(ReadFileBytes(path), garbage + "\n[Generator]\nSeed=3\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 2);
}

TEST(ProfileFileLocation, ABareNameLiesInTheAbsoluteXdgConfigHomeOrInHomesConfigFolder)
{
    ScratchFolder home;
    const Undo homeVariable = SetEnvironment("HOME", home.Path().string());
    // A relative folder would depend on the current folder: ignored. The settings tests show an absolute one.
    for (const auto& [xdg, folder] : {std::pair<std::optional<std::string>, std::string>{std::nullopt, home / ".config"},
                                      {"relative/config", home / ".config"}}) {
        const Undo xdgVariable = SetEnvironment("XDG_CONFIG_HOME", xdg);
        EXPECT_EQ(ResolveProfilePath("TKF.ini"), folder + "/tickforge/TKF.ini") << xdg.value_or("(unset)");
    }
    for (const char* path : {"./TKF.ini", "/tmp/x/settings.ini", "sub/TKF.ini"})
        EXPECT_EQ(ResolveProfilePath(path), path);  // a name with a slash is a path
}

}  // namespace
