#pragma once
// The command line's own file handling around the core: standard input as a book or a script,
// a script file, the suspicious-word file an option names, and the output files it writes.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "app/SuspiciousWords.h"

namespace brisna::cli {

enum class StreamReadStatus { kOk, kTooLarge, kFailed };

struct StreamRead {
    StreamReadStatus status = StreamReadStatus::kOk;
    std::string bytes;
    int error = 0;  // the system's error number of a failure, or 0
};

// Reads an open descriptor to its end without seeking (a pipe works); limitBytes or more is
// refused without keeping more than that in memory.
StreamRead ReadAllBounded(int fd, uint64_t limitBytes);

// Reads a named file as a stream: a folder is refused, a FIFO without a writer reads as empty
// instead of blocking the program, and the bound holds as for ReadAllBounded.
StreamRead ReadNamedStream(const std::string& path, uint64_t limitBytes);

// The largest suspicious-word file the program reads.
inline constexpr uint64_t kMaxWordsFileBytes = kMaxWordListBytes;

// Why a suspicious-word file named on the command line cannot be used ("No such file or
// directory", ...); empty when it is a regular, readable file of at most 1 MiB.
std::string WordsFileProblem(const std::string& path);

// Refuses an existing output file unless force (reported on err): kExitOk or kExitFailed.
// "-" (standard output) is always free.
int CheckOutputFree(const std::string& path, bool force, std::ostream& err);

// Writes an output the operator named: "-" is standard output; an existing file is replaced
// only with force. Failures are reported on err. Returns the exit code (0 or 3).
int WriteOutputFile(const std::string& path, std::string_view bytes, bool force, std::ostream& out,
                    std::ostream& err);

}  // namespace brisna::cli
