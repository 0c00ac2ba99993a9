#include "text/FileReading.h"
#include "text/TextMessages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <utility>

namespace brisna {

namespace msg = text_messages;

namespace {

std::mutex inputFilesMutex;
std::set<FileIdentity>& InputFiles() {
    static std::set<FileIdentity> files;
    return files;
}

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
    result.identity = IdentityOf(info);
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
    if (error == kErrorOutputIsInput) return std::string(msg::kOutputIsInput);
    return std::strerror(error);
}

FileIdentity IdentityOf(const struct stat& info) {
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
            static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

void RememberInputFile(const FileIdentity& file) {
    std::lock_guard<std::mutex> lock(inputFilesMutex);
    InputFiles().insert(file);
}

void RememberInputDescriptor(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        RememberInputFile(IdentityOf(info));
    }
}

bool IsInputFile(const FileIdentity& file) {
    std::lock_guard<std::mutex> lock(inputFilesMutex);
    return InputFiles().count(file) != 0;
}

}  // namespace brisna
