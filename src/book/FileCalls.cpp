#include "book/FileCalls.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brisna {

namespace {

int SystemOpen(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

constexpr FileCalls kSystemCalls{SystemOpen, ::write,  ::fsync,  ::close,
                                 ::fchmod,   ::linkat, ::rename, ::unlink};

const FileCalls* installed = nullptr;

}  // namespace

const FileCalls& SystemFileCalls() {
    return kSystemCalls;
}

const FileCalls& CurrentFileCalls() {
    return installed != nullptr ? *installed : kSystemCalls;
}

void SetFileCallsForTesting(const FileCalls* calls) {
    installed = calls;
}

}  // namespace brisna
