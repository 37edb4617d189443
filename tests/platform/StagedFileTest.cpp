// The staged file's own refusals and its rollback; the history writer's tests show the rest of it at work.

#include "platform/StagedFile.h"

#include "support/ScratchFolder.h"
#include "support/ScopedChange.h"
#include "support/TestHelpers.h"

#include <unistd.h>

using namespace tickforge;
using namespace tickforge::testing;

namespace fs = std::filesystem;

namespace {

TEST(StagedFile, PublishesOnlyCheckpointedBytesAndRefusesWritesAfterTheCommit)
{
    ScratchFolder folder;
    const std::string path = folder / "out.csv";
    StagedFile file(path);
    file.Write("kept");
    file.Checkpoint();
    file.Write(" dropped");
    file.Flush();
    file.Rollback();
    file.Write(" dropped too");
    file.Commit();
    EXPECT_EQ(ReadFileBytes(path), "kept");
    EXPECT_ERROR_MESSAGE(file.Write("late"), "Cannot write to file " + path + ": Bad file descriptor");
    EXPECT_THROW(file.Checkpoint(), tickforge::Error);
}

TEST(StagedFile, RefusesWhatTheSystemRefusesAndLeavesNothingOpen)
{
    ScratchFolder folder;
    const std::string tooLong = folder / std::string(300, 'x');
    EXPECT_ERROR_MESSAGE(CheckWritable(tooLong), "Cannot create file " + tooLong + ": File name too long");
    // /proc has no unnamed files: a named temporary is tried, which /proc refuses too (a
    // user without the superuser's rights is refused the unnamed one already).
    try {
        CheckWritable("/proc/x.csv");
        ADD_FAILURE() << "/proc took a file";
    } catch (const tickforge::Error& error) {
        const std::string why = std::string(error.what()).substr(std::string("Cannot create file /proc/x.csv: ").size());
        EXPECT_TRUE(why == "No such file or directory" || why == "Permission denied") << error.what();
    }
    // A write of a mebibyte or more goes straight to the file and fails at once.
    {
        StagedFile big(folder / "big.csv");
        const Undo limit = LimitFileSize(1000);
        EXPECT_ERROR_MESSAGE(big.Write(std::string(1 << 20, 'x')), "Cannot write to file " + folder / "big.csv" + ": File too large");
    }
    const auto openFiles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()); };
    const auto openBefore = openFiles();
    {
        StagedFile full("/dev/full");  // a device: written as a stream at each checkpoint
        full.Write("x");
        EXPECT_THROW(full.Checkpoint(), tickforge::Error);
    }
    EXPECT_EQ(openFiles(), openBefore);  // neither the device nor the scratch file is left open
}

TEST(StagedFile, GivesUpWhenAHundredTemporaryNamesAreTakenAndLeavesTheOldFile)
{
    ScratchFolder folder;
    const std::string path = folder / "out.csv";
    WriteFileBytes(path, "old");
    for (int k = 0; k < 100; ++k)
        WriteFileBytes(folder / (".out.csv.tmp-" + std::to_string(::getpid()) + "-" + std::to_string(k)), "");
    // Refused when the temporary is named, at the latest when the commit names it.
    try {
        StagedFile file(path);
        file.Write("new");
        file.Checkpoint();
        file.Commit();
        ADD_FAILURE() << "a free name was found";
    } catch (const tickforge::Error& error) {
        EXPECT_TRUE(std::string(error.what()).ends_with(path + ": File exists")) << error.what();
    }
    EXPECT_EQ(ReadFileBytes(path), "old");
}

}  // namespace
