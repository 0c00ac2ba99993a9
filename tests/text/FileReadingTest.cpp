#include "text/FileReading.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace brisna {
namespace {

namespace fs = std::filesystem;

class FileReadingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("brisna-read-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return (dir_ / name).string();
    }
    fs::path dir_;
};

TEST_F(FileReadingTest, ReadsRegularFilesUnderTheBoundOnly) {
    std::string path = Write("book.txt", "abc");
    FileReadResult read = ReadRegularFile(path, 4);
    EXPECT_EQ(read.status, FileReadStatus::kOk);
    EXPECT_EQ(read.bytes, "abc");

    read = ReadRegularFile(path, 3);  // the bound is exclusive
    EXPECT_EQ(read.status, FileReadStatus::kTooLarge);
    EXPECT_EQ(read.size, 3u);
    EXPECT_TRUE(read.bytes.empty());

    EXPECT_EQ(ReadRegularFile(Write("empty.txt", ""), 4).status, FileReadStatus::kOk);
}

TEST_F(FileReadingTest, RefusesWhatIsNotARegularFileWithoutBlocking) {
    FileReadResult read = ReadRegularFile((dir_ / "missing.txt").string(), 100);
    EXPECT_EQ(read.status, FileReadStatus::kCannotOpen);
    EXPECT_EQ(read.error, ENOENT);
    EXPECT_FALSE(SystemErrorText(read.error).empty());

    read = ReadRegularFile(dir_.string(), 100);
    EXPECT_EQ(read.status, FileReadStatus::kCannotOpen);
    EXPECT_EQ(read.error, EISDIR);

    // A FIFO with no writer: a plain open would wait forever.
    fs::path fifo = dir_ / "pipe.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadRegularFile(fifo.string(), 100).status, FileReadStatus::kCannotOpen);

    // A huge device is refused by its kind, not read.
    EXPECT_EQ(ReadRegularFile("/dev/zero", 100).status, FileReadStatus::kCannotOpen);
}

}  // namespace
}  // namespace brisna
