#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "book/AtomicFile.h"
#include "book/FileCalls.h"
#include "support/TestSupport.h"
#include "text/FileReading.h"

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

// An input of the run is never replaced, by its name or through a hard link; a later file that
// was given the inode of a deleted input (a window opens books for hours) is no input.
TEST(AtomicFile, InputsOfTheRunAreNeverReplaced) {
    test::TempDir dir;
    const std::string input = (dir / "book.txt").string();
    test::WriteFileBytes(input, "text");
    ASSERT_EQ(::link(input.c_str(), (dir / "book.epub").c_str()), 0);
    FileReadResult read = ReadRegularFile(input, 100);
    RememberInputFile(read.identity);
    int error = 0;
    EXPECT_FALSE(WriteFileAtomically(input, "x", &error));
    EXPECT_EQ(error, kErrorOutputIsInput);
    EXPECT_FALSE(WriteFileAtomically((dir / "book.epub").string(), "x"));
    EXPECT_EQ(test::ReadFileBytes(input), "text");

    std::filesystem::remove(input);
    std::filesystem::remove(dir / "book.epub");
    for (int i = 0; i < 50; ++i) {
        const std::string later = (dir / ("later" + std::to_string(i))).string();
        test::WriteFileBytes(later, "new");
        struct stat info {};
        ASSERT_EQ(::stat(later.c_str(), &info), 0);
        if (info.st_ino != read.identity.inode) continue;
        EXPECT_TRUE(WriteFileAtomically(later, "replaced")) << "inode reused at try " << i;
        break;
    }
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

TEST(AtomicFile, ReplacingBehavesLikeWritingInPlace) {
    test::TempDir dir;
    // A link is written through: the file it points to gets the bytes, the link stays a link.
    std::filesystem::create_directory(dir / "real");
    test::WriteFileBytes(dir / "real" / "b.qbr", "old");
    std::filesystem::create_symlink("real/b.qbr", dir / "b.qbr");
    ASSERT_TRUE(WriteFileAtomically((dir / "b.qbr").string(), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "b.qbr"));
    EXPECT_EQ(test::ReadFileBytes(dir / "real" / "b.qbr"), "new");
    // A dangling link makes the file it names.
    std::filesystem::create_symlink("real/made.qbr", dir / "made.qbr");
    ASSERT_TRUE(WriteFileAtomically((dir / "made.qbr").string(), "made"));
    EXPECT_EQ(test::ReadFileBytes(dir / "real" / "made.qbr"), "made");

    // Special permission bits are never carried over to the new file.
    const std::string special = (dir / "s.qbr").string();
    test::WriteFileBytes(special, "old");
    ASSERT_EQ(::chmod(special.c_str(), 06755 | S_ISVTX), 0);
    ASSERT_TRUE(WriteFileAtomically(special, "new"));
    struct stat info;
    ASSERT_EQ(::stat(special.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0755u);

    // A read-only file is refused, as opening it for writing would be, and stays as it was.
    const std::string readOnly = (dir / "r.qbr2").string();
    test::WriteFileBytes(readOnly, "keep");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    int error = 0;
    EXPECT_FALSE(WriteFileAtomically(readOnly, "lost", &error));
    EXPECT_EQ(error, EACCES);
    EXPECT_EQ(test::ReadFileBytes(readOnly), "keep");
    // A link loop is a failure with its reason, not a hang.
    std::filesystem::create_symlink("loop2", dir / "loop1");
    std::filesystem::create_symlink("loop1", dir / "loop2");
    EXPECT_FALSE(WriteFileAtomically((dir / "loop1").string(), "x", &error));
    EXPECT_EQ(error, ELOOP);
    EXPECT_EQ(EntriesIn(dir.path()), 7u);
}

TEST(AtomicFile, StaleTemporariesOfDeadWritersAreRemoved) {
    test::TempDir dir;
    // A process id that cannot be running: far above any pid_max.
    test::WriteFileBytes(dir / ".brisna-2000000000-3.tmp", "left by a killed run");
    const std::string live = ".brisna-" + std::to_string(::getpid()) + "-9.tmp";
    test::WriteFileBytes(dir / live, "being written");
    for (const char* other : {".brisna-x-1.tmp", ".brisna-2000000001.tmp", "book.tmp"}) {
        test::WriteFileBytes(dir / other, "not ours");
    }
    EXPECT_EQ(RemoveStaleTemporaryFiles(dir.path().string()), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / ".brisna-2000000000-3.tmp"));
    EXPECT_TRUE(std::filesystem::exists(dir / live));
    EXPECT_EQ(EntriesIn(dir.path()), 4u);
    EXPECT_EQ(RemoveStaleTemporaryFiles((dir / "missing").string()), 0);
}

// Fails one chosen kind of call; the rest go to the system.
struct FailingCalls {
    static inline int failOpenFlags = -1;  // open calls with all these flags fail
    static inline int failWhich = -1;      // 0 write, 1 fsync, 2 close, 3 linkat, 4 rename
    static inline int failError = EIO;

    static int Open(const char* path, int flags, mode_t mode) {
        if (failOpenFlags >= 0 && (flags & failOpenFlags) == failOpenFlags) {
            errno = failError;
            return -1;
        }
        return SystemFileCalls().open(path, flags, mode);
    }
    static bool Fails(int which) {
        if (failWhich != which) return false;
        errno = failError;
        return true;
    }
    static ssize_t Write(int fd, const void* data, size_t size) {
        return Fails(0) ? -1 : SystemFileCalls().write(fd, data, size);
    }
    static int Fsync(int fd) { return Fails(1) ? -1 : SystemFileCalls().fsync(fd); }
    static int Close(int fd) {
        int result = SystemFileCalls().close(fd);
        return Fails(2) ? -1 : result;
    }
    static int Linkat(int a, const char* from, int b, const char* to, int flags) {
        return Fails(3) ? -1 : SystemFileCalls().linkat(a, from, b, to, flags);
    }
    static int Rename(const char* from, const char* to) {
        return Fails(4) ? -1 : SystemFileCalls().rename(from, to);
    }
    static constexpr FileCalls kTable{Open,     Write,  Fsync,  Close,
                                      ::fchmod, Linkat, Rename, ::unlink};
};

TEST(AtomicFile, EveryFailingCallLeavesTheOldFileAndNoTemporary) {
    struct Case {
        int openFlags;
        int which;
        bool succeeds;  // the write finds another way
    };
    const Case cases[] = {
        {-1, 0, false},
        {-1, 1, false},
        {-1, 2, false},
        {-1, 3, true},
        {-1, 4, false},
        // No unnamed files on this file system: the named temporary takes over.
        {O_TMPFILE, -1, true},
        {O_TMPFILE, 0, false},
        {O_TMPFILE, 1, false},
        {O_TMPFILE, 2, false},
        {O_TMPFILE, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "open flags " << c.openFlags << ", call " << c.which);
        test::TempDir dir;
        const std::string path = (dir / "b.qbr2").string();
        test::WriteFileBytes(path, "old");
        FailingCalls::failOpenFlags = c.openFlags;
        FailingCalls::failWhich = c.which;
        FailingCalls::failError = c.openFlags >= 0 && c.which < 0 ? EOPNOTSUPP : EIO;
        SetFileCallsForTesting(&FailingCalls::kTable);
        int error = 0;
        const bool written = WriteFileAtomically(path, "new", &error);
        SetFileCallsForTesting(nullptr);
        EXPECT_EQ(written, c.succeeds);
        EXPECT_EQ(test::ReadFileBytes(path), written ? "new" : "old");
        if (!written) {
            EXPECT_EQ(error, EIO);
        }
        EXPECT_EQ(EntriesIn(dir.path()), 1u);
    }
}

}  // namespace
}  // namespace brisna
