#include "platform/ProfileFile.h"

#include "support/FileSizeLimit.h"
#include "support/ScratchFolder.h"
#include "support/TestHelpers.h"

#include <filesystem>
#include <utility>
#include <string>

#include <sys/stat.h>

using tickforge::ProfileFile;
using tickforge::ResolveProfilePath;
using namespace tickforge::testing;

namespace fs = std::filesystem;

namespace {

int EntriesIn(const fs::path& folder)
{
    return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(ProfileFileRead, AFolderPipeOrUnreadableFileInPlaceOfTheFileReadsAsNoFileWithoutWaitingAndSaysWhy)
{
    ScratchFolder folder;
    fs::create_directory(folder / "dir.ini");
    ASSERT_EQ(::mkfifo((folder / "pipe.ini").c_str(), 0600), 0);
    // A plain file whose first bytes cannot be read: this process's memory at address 0.
    for (const auto& [name, why] : {std::pair{folder / "dir.ini", "Is a directory"},
                                    std::pair{folder / "pipe.ini", "not a readable file"},
                                    std::pair{std::string("/proc/self/mem"), "Input/output error"}}) {
        const ProfileFile file(name);
        EXPECT_EQ(file.State(), tickforge::FileState::Unusable);
        EXPECT_EQ(file.ReadFailure(), why);
        EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), "3000") << name;
        EXPECT_TRUE(file.ReadFlag("Generator", "Candle", true)) << name;
    }
    EXPECT_EQ(ProfileFile(folder / "none.ini").State(), tickforge::FileState::Missing);
}

TEST(ProfileFileRead, BinaryGarbageAndVeryLongLinesAreSurvivedAndKeptByASave)
{
    ScratchFolder folder;
    std::string garbage(1 << 20, 'x');  // one line of a mebibyte, then every byte value
    for (int i = 0; i < 256; ++i)
        garbage += static_cast<char>(i);
    WriteFileBytes(folder / "TKF.ini", garbage);
    ProfileFile file(folder / "TKF.ini");
    EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), "3000");
    file.WriteText("Generator", "Seed", "41");
    file.WriteFlag("Generator", "Min", true);
    file.WriteText("Generator", "Seed", "42");  // the last value of a key counts
    file.Save();
    EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), "42");
    EXPECT_EQ(ReadFileBytes(folder / "TKF.ini"), garbage + "\n\n[Generator]\nSeed=42\nMin=1\n");
}

TEST(ProfileFileSave, ReplacesTheFileAtomicallyKeepingItsPermissionsAndSymbolicLink)
{
    ScratchFolder folder;
    const std::string path = folder / "TKF.ini";
    WriteFileBytes(path, "[Generator]\nSeed=1\n");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path, mode);
    // A reader that opened the old file keeps the old text: the new text comes in as a
    // new file renamed over the old name.
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ProfileFile file(path);
    file.WriteText("Generator", "Seed", "2");
    file.Save();
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(fs::status(path).permissions(), mode);
    EXPECT_EQ(ReadFileBytes(path), "[Generator]\nSeed=2\n");
    EXPECT_EQ(EntriesIn(folder.Path()), 1);  // no temporary file left

    fs::create_symlink(path, folder / "link.ini");
    ProfileFile linked(folder / "link.ini");
    linked.WriteText("Generator", "Seed", "3");
    linked.Save();
    EXPECT_TRUE(fs::is_symlink(folder / "link.ini"));
    EXPECT_EQ(ReadFileBytes(path), "[Generator]\nSeed=3\n");
}

TEST(ProfileFileSave, ARefusedSaveLeavesTheOldFileByteForByteAndNoTemporaryFile)
{
    ScratchFolder folder;
    const std::string path = folder / "TKF.ini";
    const std::string old = "[Generator]\nSeed=1\nLength=90\n";
    for (const bool readOnly : {true, false}) {
        WriteFileBytes(path, old);
        ProfileFile file(path);
        file.WriteText("Generator", "Seed", std::string(100, '9'));
        file.WriteText("Generator", "Length", "5");
        // Marked read-only: refused even to the superuser, and not renamed over. Or the
        // new text does not fit under the limit: the write of the temporary file fails.
        fs::permissions(path, readOnly ? fs::perms::owner_read | fs::perms::group_read : fs::perms::owner_all);
        {
            FileSizeLimit limit(readOnly ? RLIM_INFINITY : old.size() + 4);
            EXPECT_ERROR_MESSAGE(file.Save(), "Unable to write to " + path);
        }
        fs::permissions(path, fs::perms::owner_all);
        EXPECT_EQ(ReadFileBytes(path), old) << readOnly;
        EXPECT_EQ(EntriesIn(folder.Path()), 1) << readOnly;
    }
}

TEST(ProfileFileSave, AFolderInPlaceOfTheFileRefusesTheSave)
{
    ScratchFolder folder;
    fs::create_directory(folder / "TKF.ini");
    WriteFileBytes(folder / "TKF.ini/inside", "x");
    ProfileFile file(folder / "TKF.ini");
    file.WriteFlag("Generator", "Min", true);
    EXPECT_ERROR_MESSAGE(file.Save(), "Unable to write to " + folder / "TKF.ini");
    EXPECT_EQ(ReadFileBytes(folder / "TKF.ini/inside"), "x");
}

TEST(ProfileFileLocation, ABareNameLiesInTheAbsoluteXdgConfigHomeOrInHomesConfigFolder)
{
    ScratchFolder home;
    EnvironmentOverride homeVariable("HOME", home.Path().string());
    // A relative folder would depend on the current folder: ignored.
    for (const std::optional<std::string>& xdgValue :
         {std::optional<std::string>(), std::optional<std::string>(""), std::optional<std::string>("relative/config")}) {
        EnvironmentOverride xdg("XDG_CONFIG_HOME", xdgValue);
        EXPECT_EQ(ResolveProfilePath("TKF.ini"), home / ".config/tickforge/TKF.ini") << xdgValue.value_or("(unset)");
    }
    {
        EnvironmentOverride xdg("XDG_CONFIG_HOME", std::string("/absolute/config"));
        EXPECT_EQ(ResolveProfilePath("TKF.ini"), "/absolute/config/tickforge/TKF.ini");
    }
    for (const char* path : {"./TKF.ini", "/tmp/x/settings.ini", "sub/TKF.ini"})
        EXPECT_EQ(ResolveProfilePath(path), path);  // a name with a slash is a path
}

}  // namespace
