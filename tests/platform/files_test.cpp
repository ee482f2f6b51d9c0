// Reading files: only regular files are read, never blocking on a FIFO or a device, within a limit.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/platform.h"
#include "support/test_support.h"

using platform::FileRead;

TEST(ReadFile, ReadsRegularFilesWithinTheLimitAndNothingElse) {
    testing_support::ScratchFolder scratch;
    const std::string folder = scratch.path + "/";
    testing_support::writeFile(folder + "five", "12345");
    ASSERT_EQ(mkfifo((folder + "fifo").c_str(), 0600), 0);
    const struct {
        std::string path;
        std::size_t limit;
        FileRead result;
        std::string bytes;
    } cases[] = {
        {folder + "five", 6, FileRead::Whole, "12345"},
        {folder + "five", 5, FileRead::Whole, "12345"},
        {folder + "five", 4, FileRead::Cut, "1234"},
        {folder + "five", 0, FileRead::Cut, ""},
        {folder + "missing", 10, FileRead::Missing, ""},
        {folder + "five/under-a-file", 10, FileRead::Missing, ""},
        {scratch.path, 10, FileRead::NotAFile, ""},
        {folder + "fifo", 10, FileRead::NotAFile, ""},  // would block for ever if it were opened
        {"/dev/null", 10, FileRead::NotAFile, ""},
    };
    for (const auto& c : cases) {
        std::string bytes = "left over";
        EXPECT_EQ(platform::readFile(c.path, c.limit, &bytes), c.result) << c.path << " limit " << c.limit;
        EXPECT_EQ(bytes, c.bytes) << c.path << " limit " << c.limit;
    }
}

TEST(MoveAndRemoveFile, ReplaceWhatIsThereAndSayWhetherTheyDid) {
    testing_support::ScratchFolder scratch;
    const std::string one = scratch.path + "/one", two = scratch.path + "/two";
    testing_support::writeFile(one, "first");
    testing_support::writeFile(two, "second");
    EXPECT_TRUE(platform::moveFile(one, two));
    EXPECT_EQ(testing_support::readFile(two), "first");
    EXPECT_FALSE(testing_support::fileExists(one));
    EXPECT_FALSE(platform::moveFile(one, two));  // nothing left to move: the file there stays
    EXPECT_EQ(testing_support::readFile(two), "first");
    EXPECT_TRUE(platform::removeFile(two));
    EXPECT_FALSE(testing_support::fileExists(two));
    EXPECT_TRUE(platform::removeFile(two));            // a missing file is no failure
    EXPECT_FALSE(platform::removeFile(scratch.path));  // a folder is still there
}
