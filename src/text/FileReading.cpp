#include "text/FileReading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace brisna {
namespace {

FileReadResult Failed(FileReadStatus status, int error) {
    FileReadResult result;
    result.status = status;
    result.error = error;
    return result;
}

}  // namespace

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
}

FileReadResult ReadRegularFile(const std::string& path, uint64_t limitBytes) {
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait forever.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) return Failed(FileReadStatus::kCannotOpen, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return Failed(FileReadStatus::kCannotOpen, errno);
    if (S_ISDIR(info.st_mode)) return Failed(FileReadStatus::kCannotOpen, EISDIR);
    if (!S_ISREG(info.st_mode)) return Failed(FileReadStatus::kCannotOpen, EINVAL);
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    if (size >= limitBytes) {
        FileReadResult result = Failed(FileReadStatus::kTooLarge, 0);
        result.size = size;
        return result;
    }
    // A regular file never blocks; back to plain reads so that a short read means the end.
    int flags = ::fcntl(file.get(), F_GETFL);
    if (flags >= 0) ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK);

    FileReadResult result;
    result.size = size;
    result.bytes.resize(static_cast<size_t>(size));
    size_t done = 0;
    while (done < result.bytes.size()) {
        ssize_t got = ::read(file.get(), result.bytes.data() + done, result.bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            FileReadResult failed = Failed(FileReadStatus::kShortRead, got < 0 ? errno : 0);
            failed.size = size;
            return failed;
        }
        done += static_cast<size_t>(got);
    }
    return result;
}

std::string SystemErrorText(int error) {
    if (error == 0) return {};
    return std::strerror(error);
}

}  // namespace brisna
