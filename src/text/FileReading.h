#pragma once
// Reading a whole file that the operator named: only regular files (a folder or a device is
// refused, a FIFO never blocks the program), and never more than the caller's bound, told from
// the size before anything is read.

#include <sys/stat.h>

#include <compare>
#include <cstdint>
#include <string>

namespace brisna {

// A file descriptor closed when it goes out of scope (a negative one is an open that failed).
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

enum class FileReadStatus {
    kOk,
    kCannotOpen,  // missing, no permission, or not a regular file (error says which)
    kTooLarge,    // limitBytes or more
    kShortRead,   // fewer bytes arrived than the size promised
};

// Which file a file is: its device and inode, and its modification time, which tells a file
// apart from a later one that was given the inode of a deleted file.
struct FileIdentity {
    uint64_t device = 0, inode = 0;
    int64_t modifiedNanoseconds = 0;
    auto operator<=>(const FileIdentity&) const = default;
};
FileIdentity IdentityOf(const struct stat& info);

struct FileReadResult {
    FileReadStatus status = FileReadStatus::kOk;
    std::string bytes;      // the whole file when status is kOk, else empty
    uint64_t size = 0;      // the size the file had when it was opened
    int error = 0;          // the system's error number where it gave one, else 0
    FileIdentity identity;  // which file it was, when it could be opened
};

// Reads the file at path (the platform's file name bytes) when it is a regular file of fewer
// than limitBytes bytes.
FileReadResult ReadRegularFile(const std::string& path, uint64_t limitBytes);

// The system's text for an error number ("Permission denied"), empty for 0; kErrorOutputIsInput
// has a text of its own.
std::string SystemErrorText(int error);

// The files a run read its texts from (books, word lists, scripts), so that no output of the run
// is ever written over one of them, through a link or otherwise. Safe from any thread.
void RememberInputFile(const FileIdentity& file);
// Remembers the file open at fd when it is a regular file (standard input redirected from one).
void RememberInputDescriptor(int fd);
bool IsInputFile(const FileIdentity& file);

// The error a writer reports for an output that would replace one of the run's input files.
inline constexpr int kErrorOutputIsInput = -1;

}  // namespace brisna
