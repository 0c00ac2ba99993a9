#pragma once
// Running one job per book, several books side by side, with each book's lines kept together
// and printed in the order the books were given.

#include <functional>
#include <string>
#include <vector>

#include "cli/CommandSpec.h"
#include "cli/Output.h"

namespace brisna::cli {

// Works on one book and returns its exit code. Each call builds its own session, so calls for
// different books may run on different threads at the same time.
using BookJob = std::function<int(const std::string& book, LineSink& sink)>;

// Runs the job for every book, up to `jobs` at a time. With more than one book every line is
// prefixed "BOOK: ". A job that throws is reported for its book and counts as failed; the other
// books go on. Returns the worst exit code of the books.
int RunBooks(const std::vector<std::string>& books, unsigned jobs, CommandStreams& streams,
             const BookJob& job);

}  // namespace brisna::cli
