// brisnamake-cli: generate, check and unpack books, and run operator scripts, without a window.
#include <fcntl.h>
#include <unistd.h>

#include <libintl.h>

#include <clocale>
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
    // The system's reasons ("No such file or directory") in the user's language, as ls gives
    // them, and in UTF-8 like every other message. Only the messages follow the locale: the
    // character classes stay C's, so no byte of a GBK text is judged by the user's locale.
    std::setlocale(LC_MESSAGES, "");
    ::bind_textdomain_codeset("libc", "UTF-8");
    // A reader that went away makes a write fail (EPIPE) instead of killing the program in the
    // middle of writing a book; the run then ends quietly with SIGPIPE's status, 141.
    std::signal(SIGPIPE, SIG_IGN);
    brisna::cli::CommandStreams streams{std::cin, std::cout, std::cerr};
    return brisna::cli::RunCommandLine(argc, argv, streams);
}
