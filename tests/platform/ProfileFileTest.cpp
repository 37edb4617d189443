#include "platform/ProfileFile.h"

#include "support/FileSizeLimit.h"
#include "support/ScratchFolder.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/stat.h>

using tickforge::ProfileFile;
using tickforge::ResolveProfilePath;
using tickforge::testing::CurrentFolderOverride;
using tickforge::testing::EnvironmentOverride;
using tickforge::testing::FileSizeLimit;
using tickforge::testing::ReadFileBytes;
using tickforge::testing::ScratchFolder;
using tickforge::testing::WriteFileBytes;

namespace fs = std::filesystem;

namespace {

TEST(ProfileFileRead, MissingFileGivesDefaults)
{
    ScratchFolder folder;
    const ProfileFile file(folder / "TKF.ini");
    EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), "3000");
    EXPECT_TRUE(file.ReadFlag("Generator", "Weekends", true));
    EXPECT_FALSE(file.ReadFlag("Generator", "Min", false));
    EXPECT_FALSE(fs::exists(folder / "TKF.ini"));
}

TEST(ProfileFileRead, TextKeyPresentButEmptyIsEmptyWhileAnEmptyFlagTakesTheDefault)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nSeed=\nWeekends=\n");
    const ProfileFile file(folder / "TKF.ini");
    EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), "");
    EXPECT_TRUE(file.ReadFlag("Generator", "Weekends", true));
    EXPECT_FALSE(file.ReadFlag("Generator", "Weekends", false));
}

TEST(ProfileFileRead, FlagForms)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nA=2\nB=-1\nC=0x10\nD=yes\nE=true\nF=0\nG= 1 \n");
    const ProfileFile file(folder / "TKF.ini");
    EXPECT_TRUE(file.ReadFlag("Generator", "A", false));
    EXPECT_TRUE(file.ReadFlag("Generator", "B", false));
    EXPECT_TRUE(file.ReadFlag("Generator", "C", false));
    // Not whole numbers: treated as missing, so the default decides either way.
    EXPECT_FALSE(file.ReadFlag("Generator", "D", false));
    EXPECT_TRUE(file.ReadFlag("Generator", "D", true));
    EXPECT_FALSE(file.ReadFlag("Generator", "E", false));
    EXPECT_TRUE(file.ReadFlag("Generator", "E", true));
    EXPECT_FALSE(file.ReadFlag("Generator", "F", true));
    EXPECT_TRUE(file.ReadFlag("Generator", "G", false));
}

TEST(ProfileFileRead, LongValueIsCutTo2047Characters)
{
    ScratchFolder folder;
    std::string value;
    for (int i = 0; i < 3000; ++i)
        value += static_cast<char>('a' + i % 26);
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nSecurityName=" + value + "\n");
    EXPECT_EQ(ProfileFile(folder / "TKF.ini").ReadText("Generator", "SecurityName", ""), value.substr(0, 2047));
}

TEST(ProfileFileRead, AFolderInPlaceOfTheFileReadsAsNoFile)
{
    ScratchFolder folder;
    fs::create_directory(folder / "TKF.ini");
    const ProfileFile file(folder / "TKF.ini");
    EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), "3000");
    EXPECT_TRUE(file.ReadFlag("Generator", "Candle", true));
}

TEST(ProfileFileRead, AFileWithoutReadPermissionReadsAsNoFileAndIsNotOverwritten)
{
    ScratchFolder folder;
    const std::string path = folder / "TKF.ini";
    WriteFileBytes(path, "[Generator]\nSeed=1\nOther=keep\n");
    fs::permissions(path, fs::perms::owner_write);
    if (::access(path.c_str(), R_OK) == 0)
        GTEST_SKIP() << "the superuser reads every file";
    const ProfileFile file(path);
    EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), "3000");
    // Rewriting it would lose the lines that cannot be read: the write is refused.
    EXPECT_ERROR_MESSAGE(file.WriteText("Generator", "Seed", "2"), "Unable to write to " + path);
    fs::permissions(path, fs::perms::owner_all);
    EXPECT_EQ(ReadFileBytes(path), "[Generator]\nSeed=1\nOther=keep\n");
}

TEST(ProfileFileRead, APipeInPlaceOfTheFileReadsAsNoFileWithoutWaiting)
{
    ScratchFolder folder;
    ASSERT_EQ(::mkfifo((folder / "TKF.ini").c_str(), 0600), 0);
    EXPECT_EQ(ProfileFile(folder / "TKF.ini").ReadText("Generator", "Seed", "3000"), "3000");
}

TEST(ProfileFileRead, BinaryGarbageAndVeryLongLinesAreSurvived)
{
    ScratchFolder folder;
    std::string garbage;
    for (int i = 0; i < 200000; ++i)
        garbage += static_cast<char>((i * 131 + 7) % 256);
    garbage += std::string(1 << 20, 'x');  // one line of a mebibyte
    WriteFileBytes(folder / "TKF.ini", garbage);
    const ProfileFile file(folder / "TKF.ini");
    EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), "3000");
    // Writing keeps the garbage and adds the section; the key reads back.
    file.WriteText("Generator", "Seed", "42");
    EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), "42");
    EXPECT_EQ(ReadFileBytes(folder / "TKF.ini").size(), garbage.size() + std::string("\n\n[Generator]\nSeed=42\n").size());
}

TEST(ProfileFileWrite, NewFileHoldsTheSectionAndKeysInTheOrderWritten)
{
    ScratchFolder folder;
    const ProfileFile file(folder / "TKF.ini");
    file.WriteText("Generator", "Seed", "3000");
    file.WriteFlag("Generator", "RandomSeed", false);
    file.WriteFlag("Generator", "Weekends", true);
    EXPECT_EQ(ReadFileBytes(folder / "TKF.ini"), "[Generator]\nSeed=3000\nRandomSeed=0\nWeekends=1\n");
}

TEST(ProfileFileWrite, ReplacesInPlaceAndKeepsUnknownLines)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini",
                   "; kept comment\r\n[Window]\r\nLeft=10\r\n\r\n[GENERATOR]\r\nfoo=bar\r\nseed=1\r\nLength=90\r\n");
    const ProfileFile file(folder / "TKF.ini");
    file.WriteText("Generator", "Seed", "2500");
    file.WriteText("Generator", "Bias", "5");
    EXPECT_EQ(ReadFileBytes(folder / "TKF.ini"),
              "; kept comment\n[Window]\nLeft=10\n\n[GENERATOR]\nfoo=bar\nSeed=2500\nLength=90\nBias=5\n");
    EXPECT_EQ(file.ReadText("Window", "Left", ""), "10");
}

TEST(ProfileFileWrite, WrittenTextsReadBack)
{
    ScratchFolder folder;
    const ProfileFile file(folder / "TKF.ini");
    for (const std::string& value : {std::string(), std::string("  padded  "), std::string("\"q\""), std::string("1,5"), std::string(2047, 'z')}) {
        file.WriteText("Generator", "SecurityName", value);
        EXPECT_EQ(file.ReadText("Generator", "SecurityName", "default"), value);
    }
}

TEST(ProfileFileWrite, KeepsTheFilePermissions)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\n");
    fs::permissions(folder / "TKF.ini", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ProfileFile(folder / "TKF.ini").WriteText("Generator", "Seed", "1");
    EXPECT_EQ(fs::status(folder / "TKF.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(ProfileFileWrite, WritesThroughASymbolicLink)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "real.ini", "[Generator]\nSeed=1\n");
    fs::create_symlink(folder / "real.ini", folder / "TKF.ini");
    ProfileFile(folder / "TKF.ini").WriteText("Generator", "Seed", "2");
    EXPECT_TRUE(fs::is_symlink(folder / "TKF.ini"));
    EXPECT_EQ(ReadFileBytes(folder / "real.ini"), "[Generator]\nSeed=2\n");
}

TEST(ProfileFileWrite, RefusedWriteNamesTheFileAsPassedAndLeavesTheOldFile)
{
    ScratchFolder folder;
    // A regular file where the settings folder should be: nothing can be created inside.
    WriteFileBytes(folder / "config", "not a folder");
    EnvironmentOverride config("XDG_CONFIG_HOME", folder / "config");
    const ProfileFile file("TKF.ini");
    EXPECT_ERROR_MESSAGE(file.WriteText("Generator", "Seed", "1"), "Unable to write to TKF.ini");
    EXPECT_ERROR_MESSAGE(file.WriteFlag("Generator", "Min", true), "Unable to write to TKF.ini");
    EXPECT_EQ(ReadFileBytes(folder / "config"), "not a folder");
}

TEST(ProfileFileWrite, AFolderInPlaceOfTheFileRefusesTheWrite)
{
    ScratchFolder folder;
    fs::create_directory(folder / "TKF.ini");
    WriteFileBytes(folder / "TKF.ini" + std::string("/inside"), "x");
    const std::string name = folder / "TKF.ini";
    EXPECT_ERROR_MESSAGE(ProfileFile(name).WriteText("Generator", "Seed", "1"), "Unable to write to " + name);
    EXPECT_TRUE(fs::is_directory(name));
    EXPECT_EQ(ReadFileBytes(name + "/inside"), "x");
}

int EntriesIn(const fs::path& folder)
{
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++entries;
    return entries;
}

TEST(ProfileFileWrite, AFailedWriteLeavesTheOldFileIntactAndNoTemporaryFile)
{
    ScratchFolder folder;
    const std::string path = folder / "TKF.ini";
    const std::string old = "[Generator]\nSeed=1\nLength=90\n";
    WriteFileBytes(path, old);
    const ProfileFile file(path);
    {
        // The new text does not fit under the limit: the write of the temporary file fails.
        FileSizeLimit limit(old.size() + 4);
        EXPECT_ERROR_MESSAGE(file.WriteText("Generator", "Seed", std::string(100, '9')), "Unable to write to " + path);
    }
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(EntriesIn(folder.Path()), 1);

    // A successful write leaves no temporary file behind either.
    file.WriteText("Generator", "Seed", "2");
    EXPECT_EQ(ReadFileBytes(path), "[Generator]\nSeed=2\nLength=90\n");
    EXPECT_EQ(EntriesIn(folder.Path()), 1);
}

TEST(ProfileFileWrite, ReplacementIsAtomic)
{
    ScratchFolder folder;
    const std::string path = folder / "TKF.ini";
    WriteFileBytes(path, "[Generator]\nSeed=1\n");
    // A reader that opened the old file keeps reading the old text: the new text comes
    // in as a new file renamed over the old name, not by rewriting the old file.
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ProfileFile(path).WriteText("Generator", "Seed", "2");
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(ReadFileBytes(path), "[Generator]\nSeed=2\n");
}

TEST(ProfileFileLocation, BareNameLiesInTheConfigFolderNotTheCurrentFolder)
{
    ScratchFolder config;
    ScratchFolder current;
    EnvironmentOverride xdg("XDG_CONFIG_HOME", config.Path().string());
    CurrentFolderOverride cd(current.Path());
    WriteFileBytes(current / "TKF.ini", "[Generator]\nSeed=111\n");

    EXPECT_EQ(ResolveProfilePath("TKF.ini"), (config.Path() / "tickforge" / "TKF.ini").string());
    const ProfileFile file("TKF.ini");
    EXPECT_EQ(file.FileName(), "TKF.ini");
    EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), "3000");

    // The folder is made by the first save.
    EXPECT_FALSE(fs::exists(config.Path() / "tickforge"));
    file.WriteText("Generator", "Seed", "222");
    EXPECT_EQ(ReadFileBytes(config / "tickforge/TKF.ini"), "[Generator]\nSeed=222\n");
    EXPECT_EQ(file.ReadText("Generator", "Seed", "3000"), "222");
    EXPECT_EQ(ReadFileBytes(current / "TKF.ini"), "[Generator]\nSeed=111\n");
}

TEST(ProfileFileLocation, WithoutXdgConfigHomeTheHomeConfigFolderIsUsed)
{
    ScratchFolder home;
    EnvironmentOverride homeVariable("HOME", home.Path().string());
    {
        EnvironmentOverride xdg("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(ResolveProfilePath("TKF.ini"), home / ".config/tickforge/TKF.ini");
    }
    {
        EnvironmentOverride xdg("XDG_CONFIG_HOME", std::string());
        EXPECT_EQ(ResolveProfilePath("TKF.ini"), home / ".config/tickforge/TKF.ini");
    }
    {
        // A relative folder would depend on the current folder: ignored.
        EnvironmentOverride xdg("XDG_CONFIG_HOME", std::string("relative/config"));
        EXPECT_EQ(ResolveProfilePath("TKF.ini"), home / ".config/tickforge/TKF.ini");
    }
}

TEST(ProfileFileLocation, ANameWithASlashIsUsedAsItIs)
{
    EXPECT_EQ(ResolveProfilePath("./TKF.ini"), "./TKF.ini");
    EXPECT_EQ(ResolveProfilePath("/tmp/x/settings.ini"), "/tmp/x/settings.ini");
    EXPECT_EQ(ResolveProfilePath("sub/TKF.ini"), "sub/TKF.ini");
}

}  // namespace
