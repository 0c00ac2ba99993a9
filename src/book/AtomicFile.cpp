#include "book/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <string>

#include "book/FileCalls.h"
#include "text/FileReading.h"

namespace brisna {

namespace {

std::atomic<unsigned> temporaryCounter{0};

constexpr std::string_view kTemporaryPrefix = ".brisna-";
constexpr std::string_view kTemporarySuffix = ".tmp";
// ".brisna-" + process id + "-" + counter + ".tmp", with both numbers at their longest.
constexpr size_t kLongestTemporaryName = 8 + 10 + 1 + 10 + 4;

bool Fail(int* error, int number) {
    if (error != nullptr) *error = number;
    return false;
}

bool WriteAll(const FileCalls& calls, int fd, std::string_view bytes) {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t written = calls.write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a path finally names once every symbolic link in its last component is followed; the
// file need not exist (a link may point to a file yet to be made). Empty with errno on a loop.
std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return {};
        if (static_cast<size_t>(length) >= target.size()) {
            errno = ENAMETOOLONG;
            return {};
        }
        target.resize(static_cast<size_t>(length));
        path = target.starts_with('/') ? target : FolderOf(path) + target;
    }
    errno = ELOOP;
    return {};
}

std::string TemporaryName(const std::string& folder) {
    return folder + std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" +
           std::to_string(temporaryCounter.fetch_add(1)) + std::string(kTemporarySuffix);
}

// Gives the finished unnamed file a temporary name in its folder. False with errno when the
// system cannot (no /proc, say): the caller then writes a named temporary instead.
bool NameUnnamedFile(const FileCalls& calls, int fd, const std::string& folder,
                     std::string& temporary) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryName(folder);
        if (calls.linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) ==
            0) {
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

// Gives the new file its permissions and contents and flushes it to disk; errno on failure.
bool Fill(const FileCalls& calls, int fd, std::string_view bytes, int permissions) {
    return (permissions < 0 || calls.fchmod(fd, static_cast<mode_t>(permissions)) == 0) &&
           WriteAll(calls, fd, bytes) && calls.fsync(fd) == 0;
}

}  // namespace

bool IsTemporaryFileName(std::string_view name) {
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) return false;
    std::string_view middle = name.substr(
        kTemporaryPrefix.size(), name.size() - kTemporaryPrefix.size() - kTemporarySuffix.size());
    const size_t dash = middle.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == middle.size()) return false;
    for (size_t i = 0; i < middle.size(); ++i) {
        if (i != dash && (middle[i] < '0' || middle[i] > '9')) return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& givenPath, std::string_view bytes, int* error) {
    if (givenPath.empty()) return Fail(error, ENOENT);
    std::string path = FollowLinks(givenPath);
    if (path.empty()) return Fail(error, errno);
    std::string folder = FolderOf(path);
    const FileCalls& calls = CurrentFileCalls();

    // A target near the path limit leaves no room for a temporary beside it whose name is longer
    // than its own: then both are named through a descriptor of the folder.
    const bool nearLimit = folder.size() + kLongestTemporaryName >= PATH_MAX;
    FileDescriptor folderHandle(nearLimit ? ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)
                                          : -1);
    if (nearLimit) {
        if (folderHandle.get() < 0) return Fail(error, errno);
        const std::string name = path.substr(folder.size());
        folder = "/proc/self/fd/" + std::to_string(folderHandle.get()) + "/";
        path = folder + name;
    }

    // An existing file is replaced only where writing it in place would have been allowed, and
    // keeps its permission bits, less the special ones: a copy must never gain privileges.
    int permissions = -1;
    struct stat existing;
    if (::stat(path.c_str(), &existing) == 0) {
        // Never over a file this run read a text from: a link named like the output could
        // otherwise make generation replace its own book.
        if (IsInputFile(IdentityOf(existing))) {
            return Fail(error, kErrorOutputIsInput);
        }
        if (S_ISDIR(existing.st_mode)) return Fail(error, EISDIR);
        if (!S_ISREG(existing.st_mode)) return Fail(error, EINVAL);
        if ((existing.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) {
            return Fail(error, EACCES);
        }
        permissions = static_cast<int>(existing.st_mode & 0777);
    } else if (errno != ENOENT) {
        return Fail(error, errno);
    }

    // An unnamed file vanishes by itself if the program dies before it is complete; it gets a
    // name only once its contents are on disk.
    std::string temporary;
    const std::string openFolder = folder.empty() ? std::string(".") : folder;
    int fd = calls.open(openFolder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
        if (!Fill(calls, fd, bytes, permissions)) {
            const int failure = errno;
            calls.close(fd);
            return Fail(error, failure);
        }
        if (!NameUnnamedFile(calls, fd, folder, temporary)) temporary.clear();
        if (calls.close(fd) != 0 && !temporary.empty()) {
            const int failure = errno;
            calls.unlink(temporary.c_str());
            return Fail(error, failure);
        }
    } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return Fail(error, errno);
    }

    if (temporary.empty()) {
        // A short hidden name beside the target, so the rename stays within one file system and
        // a long target name cannot push it over the name limit.
        fd = -1;
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            temporary = TemporaryName(folder);
            fd = calls.open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST) return Fail(error, errno);
        }
        if (fd < 0) return Fail(error, EEXIST);
        bool ok = Fill(calls, fd, bytes, permissions);
        int failure = ok ? 0 : errno;
        if (calls.close(fd) != 0 && ok) {
            failure = errno;
            ok = false;
        }
        if (!ok) {
            calls.unlink(temporary.c_str());
            return Fail(error, failure);
        }
    }

    if (calls.rename(temporary.c_str(), path.c_str()) != 0) {
        const int failure = errno;
        calls.unlink(temporary.c_str());
        return Fail(error, failure);
    }
    return true;
}

int RemoveStaleTemporaryFiles(const std::string& folder) {
    const std::string prefix = folder.empty() || folder.ends_with('/') ? folder : folder + "/";
    DIR* listing = ::opendir(prefix.empty() ? "." : prefix.c_str());
    if (listing == nullptr) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (!IsTemporaryFileName(name)) continue;
        const std::string_view digits = name.substr(kTemporaryPrefix.size());
        long long pid = 0;
        for (size_t i = 0; i < digits.size() && digits[i] != '-' && pid <= INT_MAX; ++i) {
            pid = pid * 10 + (digits[i] - '0');
        }
        if (pid <= 0 || pid > INT_MAX) continue;
        // Only our own regular files, and only when their writer is gone: a live writer (this
        // program in another window, say) is still filling its file.
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        const std::string path = prefix + std::string(name);
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_uid != ::geteuid()) {
            continue;
        }
        if (::unlink(path.c_str()) == 0) ++removed;
    }
    ::closedir(listing);
    return removed;
}

}  // namespace brisna
