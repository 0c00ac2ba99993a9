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

// The files a book's job would write, worked out before anything is written (empty: none).
// Called for several books at the same time, like BookJob.
using BookOutputs = std::function<std::vector<std::string>(const std::string& book)>;

// For each book, the message that refuses it because another book of the batch would write a
// file of the same name, naming that book; empty for a book whose files are its own. Paths are
// compared as the files they name: "out/x.qbr2" and "./out/x.qbr2" are one file.
std::vector<std::string> SharedOutputMessages(const std::vector<std::string>& books,
                                              const std::vector<std::vector<std::string>>& outputs);

// Runs the job for every book, up to `jobs` at a time. With more than one book every line is
// prefixed "BOOK: ". A job that throws is reported for its book and counts as failed; the other
// books go on. With outputsOf, every book's outputs are worked out first, and a book sharing one
// with another book fails with SharedOutputMessages' message instead of running. Returns the
// worst exit code of the books.
int RunBooks(const std::vector<std::string>& books, unsigned jobs, CommandStreams& streams,
             const BookJob& job, const BookOutputs& outputsOf = {});

}  // namespace brisna::cli
