#include "platform/ProfileFile.h"

#include "support/ScratchFolder.h"
#include "support/TestHelpers.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include <sys/stat.h>

using tickforge::ProfileFile;
using tickforge::ResolveProfilePath;
using namespace tickforge::testing;

namespace fs = std::filesystem;

namespace {

// The inode number of a file, which a rename over its name changes.
ino_t Inode(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
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
    }
    EXPECT_EQ(ProfileFile(folder / "none.ini").State(), tickforge::FileState::Missing);
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

    // Marked read-only, the file is refused even to the superuser, not renamed over, and
    // no temporary file is left.
    ProfileFile file(path);
    file.WriteText("Generator", "Seed", "4");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_THROW(file.Save(), tickforge::Error);
    EXPECT_EQ(ReadFileBytes(path), garbage + "\n[Generator]\nSeed=3\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 2);
}

TEST(ProfileFileLocation, ABareNameLiesInTheAbsoluteXdgConfigHomeOrInHomesConfigFolder)
{
    ScratchFolder home;
    EnvironmentOverride homeVariable("HOME", home.Path().string());
    // A relative folder would depend on the current folder: ignored.
    for (const auto& [xdg, folder] : {std::pair<std::optional<std::string>, std::string>{std::nullopt, home / ".config"},
                                      {"", home / ".config"},
                                      {"relative/config", home / ".config"},
                                      {"/absolute/config", "/absolute/config"}}) {
        EnvironmentOverride xdgVariable("XDG_CONFIG_HOME", xdg);
        EXPECT_EQ(ResolveProfilePath("TKF.ini"), folder + "/tickforge/TKF.ini") << xdg.value_or("(unset)");
    }
    for (const char* path : {"./TKF.ini", "/tmp/x/settings.ini", "sub/TKF.ini"})
        EXPECT_EQ(ResolveProfilePath(path), path);  // a name with a slash is a path
}

}  // namespace
