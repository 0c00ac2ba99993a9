// brisnamake-cli: generate, check and unpack books, and run operator scripts, without a window.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <iostream>

#include "cli/CommandLine.h"

namespace {

// A standard descriptor the caller closed would otherwise be the next file the program opens,
// and results meant for the terminal would land in a book. /dev/null opened for reading takes
// its place: writes to it fail, and the failure is reported.
void KeepStandardDescriptorsTaken() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1) continue;
        const int opened = ::open("/dev/null", O_RDONLY);
        if (opened >= 0 && opened != fd) ::close(opened);
    }
}

}  // namespace

int main(int argc, char** argv) {
    KeepStandardDescriptorsTaken();
    // A reader that went away is a failed write (EPIPE, exit 3), not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    brisna::cli::CommandStreams streams{std::cin, std::cout, std::cerr};
    return brisna::cli::RunCommandLine(argc, argv, streams);
}
