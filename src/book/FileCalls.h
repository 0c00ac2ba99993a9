#pragma once
// The system calls through which book files are written. Tests and the fault-injecting fuzz
// target swap in their own table to make any one call fail; everything else uses the system's.

#include <sys/types.h>

namespace brisna {

struct FileCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*fchmod)(int fd, mode_t mode);
    int (*linkat)(int fromFolder, const char* from, int toFolder, const char* to, int flags);
    int (*rename)(const char* from, const char* to);
    int (*unlink)(const char* path);
};

// The table in use: the system's calls unless a test installed its own.
const FileCalls& CurrentFileCalls();
const FileCalls& SystemFileCalls();
// Installs calls (nullptr: the system's again). Not thread-safe; for tests.
void SetFileCallsForTesting(const FileCalls* calls);

}  // namespace brisna
