#include "cli/InputFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

#include "book/AtomicFile.h"
#include "cli/CliMessages.h"
#include "cli/CommandSpec.h"
#include "cli/Output.h"
#include "text/FileReading.h"

namespace brisna::cli {

StreamRead ReadAllBounded(int fd, uint64_t limitBytes) {
    RememberInputDescriptor(fd);  // no output may be written over a file read as input
    StreamRead result;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            result.error = errno;
            result.status = StreamReadStatus::kFailed;
            result.bytes.clear();
            return result;
        }
        if (got == 0) return result;
        if (result.bytes.size() + static_cast<uint64_t>(got) >= limitBytes) {
            result.status = StreamReadStatus::kTooLarge;
            result.bytes.clear();
            return result;
        }
        result.bytes.append(buffer, static_cast<size_t>(got));
    }
}

StreamRead ReadNamedStream(const std::string& path, uint64_t limitBytes) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    StreamRead failed;
    failed.status = StreamReadStatus::kFailed;
    if (file.get() < 0) {
        failed.error = errno;
        return failed;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        failed.error = errno;
        return failed;
    }
    if (S_ISDIR(info.st_mode)) {
        failed.error = EISDIR;
        return failed;
    }
    // Opened without blocking; reading may block again (a pipe whose writer is still busy).
    int flags = ::fcntl(file.get(), F_GETFL);
    if (flags >= 0) ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK);
    return ReadAllBounded(file.get(), limitBytes);
}

std::string WordsFileProblem(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) return SystemErrorText(errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return SystemErrorText(errno);
    if (S_ISDIR(info.st_mode)) return SystemErrorText(EISDIR);
    if (!S_ISREG(info.st_mode)) return std::string(messages::kNotRegularFile);
    if (static_cast<uint64_t>(info.st_size) > kMaxWordsFileBytes)
        return std::string(messages::kWordsFileTooLarge);
    return {};
}

int CheckOutputFree(const std::string& path, bool force, std::ostream& err) {
    struct stat info {};
    if (path == "-" || force || ::lstat(path.c_str(), &info) != 0) return kExitOk;
    err << messages::kOutputExists << EscapeLineBreaks(DisplayPath(path)) << '\n';
    return kExitFailed;
}

int WriteOutputFile(const std::string& path, std::string_view bytes, bool force, std::ostream& out,
                    std::ostream& err) {
    if (path == "-") {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) return StandardOutputFailureExit(err);
        return kExitOk;
    }
    if (CheckOutputFree(path, force, err) != kExitOk) return kExitFailed;
    int error = 0;
    if (!WriteFileAtomically(path, bytes, &error)) {
        err << messages::kWriteFileFailed << EscapeLineBreaks(DisplayPath(path));
        if (error != 0) err << ": " << SystemErrorText(error);
        err << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace brisna::cli
