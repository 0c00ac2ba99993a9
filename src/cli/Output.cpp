#include "cli/Output.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <ostream>

#include "cli/CommandSpec.h"

#include "cli/CliMessages.h"
#include "text/CodePage936.h"

namespace brisna::cli {

namespace {

bool IsUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        size_t extra = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
        } else if (lead >= 0x80) {
            return false;
        }
        if (bytes.size() - i - 1 < extra) return false;
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        }
        i += extra + 1;
    }
    return true;
}

}  // namespace

std::string EscapeLineBreaks(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string DisplayPath(std::string_view pathBytes) {
    return IsUtf8(pathBytes) ? std::string(pathBytes) : GbkToUtf8Lossless(pathBytes);
}

std::string MessageLine(const ShownMessage& message) {
    std::string line = GbkToUtf8Lossless(message.text);
    if (!message.path.empty()) {
        line += ": " + DisplayPath(message.path);
        if (!message.reason.empty()) line += ": " + message.reason;
    }
    return EscapeLineBreaks(line);
}

void ReportStandardOutputFailure(std::ostream& err) {
    // Kept with the stream: one message however many writes failed.
    static const int reportedIndex = std::ios_base::xalloc();
    if (err.iword(reportedIndex) != 0) return;
    err.iword(reportedIndex) = 1;
    err << messages::kWriteStandardOutputFailed << '\n';
}

bool StandardOutputReaderGone() {
    struct stat info {};
    if (::fstat(STDOUT_FILENO, &info) != 0 || !(S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode))) {
        return false;
    }
    // A pipe or socket with nobody left to read it reports an error condition to poll; errno of
    // the failed write is long gone by the time the stream's state is looked at.
    pollfd standardOutput{STDOUT_FILENO, POLLOUT, 0};
    return ::poll(&standardOutput, 1, 0) == 1 &&
           (standardOutput.revents & (POLLERR | POLLHUP)) != 0;
}

int StandardOutputFailureExit(std::ostream& err) {
    if (StandardOutputReaderGone()) return kExitReaderGone;
    ReportStandardOutputFailure(err);
    return kExitFailed;
}

int FinishStandardOutput(std::ostream& out, std::ostream& err, int code) {
    out.flush();
    bool failed = !out;
    // std::cout writes through C's stdout, whose buffer and error flag are its own.
    if (&out == &std::cout) failed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0 || failed;
    if (!failed) return code;
    return StandardOutputFailureExit(err);
}

void LineSink::Result(std::string_view utf8Line) {
    results_ << prefix_ << EscapeLineBreaks(utf8Line) << '\n';
}

void LineSink::Message(std::string_view utf8Line) {
    messages_ << messagePrefix_ << EscapeLineBreaks(utf8Line) << '\n';
}

}  // namespace brisna::cli
