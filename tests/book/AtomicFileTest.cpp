#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "book/AtomicFile.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

size_t EntriesIn(const std::filesystem::path& folder) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(AtomicFile, WritesAndReplacesWholeFiles) {
    test::TempDir dir;
    const std::string path = (dir / "b.qbr").string();
    ASSERT_TRUE(WriteFileAtomically(path, std::string("one\0two", 7)));
    EXPECT_EQ(test::ReadFileBytes(path), std::string("one\0two", 7));
    // Replacing keeps the permissions of the file replaced and leaves no temporary behind.
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "second"));
    EXPECT_EQ(test::ReadFileBytes(path), "second");
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    ASSERT_TRUE(WriteFileAtomically(path, ""));
    EXPECT_EQ(test::ReadFileBytes(path), "");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(AtomicFile, AFailedWriteLeavesNothingNew) {
    test::TempDir dir;
    EXPECT_FALSE(WriteFileAtomically((dir / "missing" / "b.qbr").string(), "x"));
    EXPECT_FALSE(WriteFileAtomically("", "x"));
    // The target is a folder: the rename fails and the temporary goes away.
    std::filesystem::create_directory(dir / "taken");
    EXPECT_FALSE(WriteFileAtomically((dir / "taken").string(), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken"));
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace brisna
