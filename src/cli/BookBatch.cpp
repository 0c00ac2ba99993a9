#include "cli/BookBatch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <map>
#include <mutex>
#include <new>
#include <ostream>
#include <sstream>
#include <thread>

#include "cli/CliMessages.h"
#include "cli/RunReport.h"

namespace brisna::cli {

namespace {

int RunGuarded(const BookJob& job, const std::string& book, LineSink& sink) {
    try {
        return job(book, sink);
    } catch (const std::bad_alloc&) {
        sink.Message(std::string(messages::kOutOfMemory));
    } catch (const std::exception& failure) {
        sink.Message(std::string(messages::kInternalErrorPrefix) + failure.what());
    } catch (...) {
        sink.Message(std::string(messages::kInternalError));
    }
    return kExitFailed;
}

// The file a path names, for comparing: the folder as it really is (links and ".." resolved as
// far as it exists), then the name.
std::string FileKey(const std::string& path) {
    std::error_code error;
    const std::filesystem::path given(path);
    std::filesystem::path folder = std::filesystem::absolute(given, error).parent_path();
    std::filesystem::path real = std::filesystem::weakly_canonical(folder, error);
    if (error) real = folder.lexically_normal();
    return (real / given.filename()).string();
}

// Runs work(i) for i in [0, count), up to `jobs` at a time; work must not throw.
void ForEachInParallel(size_t count, unsigned jobs, const std::function<void(size_t)>& work) {
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t i = next++; i < count; i = next++) work(i);
    };
    const size_t threads = std::clamp<size_t>(jobs, 1, std::max<size_t>(count, 1));
    std::vector<std::jthread> pool;
    pool.reserve(threads);
    for (size_t t = 0; t < threads; ++t) pool.emplace_back(worker);
}

struct BookSlot {
    std::ostringstream results;
    std::ostringstream messages;
    int exitCode = kExitOk;
    bool done = false;
};

}  // namespace

std::vector<std::string> SharedOutputMessages(
    const std::vector<std::string>& books, const std::vector<std::vector<std::string>>& outputs) {
    std::vector<std::string> messages(books.size());
    std::map<std::string, size_t> owner;  // file -> the first book that writes it
    for (size_t i = 0; i < books.size() && i < outputs.size(); ++i) {
        for (const std::string& path : outputs[i]) {
            auto [found, added] = owner.emplace(FileKey(path), i);
            const size_t other = found->second;
            if (added || other == i) continue;
            // Both books are refused, each told of the other.
            auto refuse = [&](size_t book, size_t by) {
                if (!messages[book].empty()) return;
                messages[book] =
                    cli::messages::SameOutput(DisplayPath(path), DisplayPath(books[by]));
            };
            refuse(i, other);
            refuse(other, i);
        }
    }
    return messages;
}

int RunBooks(const std::vector<std::string>& books, unsigned jobs, CommandStreams& streams,
             const BookJob& givenJob, const BookOutputs& outputsOf) {
    std::vector<std::string> refusals;
    if (outputsOf && books.size() > 1) {
        std::vector<std::vector<std::string>> outputs(books.size());
        ForEachInParallel(books.size(), jobs, [&](size_t i) {
            try {
                outputs[i] = outputsOf(books[i]);
            } catch (...) {
                // The job itself then meets the same trouble and reports it.
            }
        });
        refusals = SharedOutputMessages(books, outputs);
    }
    std::map<std::string, std::string> refusalOf;
    for (size_t i = 0; i < refusals.size(); ++i) {
        if (!refusals[i].empty()) refusalOf[books[i]] = refusals[i];
    }
    const BookJob job = [&](const std::string& book, LineSink& sink) {
        auto refused = refusalOf.find(book);
        if (refused == refusalOf.end()) return givenJob(book, sink);
        sink.Message(refused->second);
        return kExitFailed;
    };

    if (books.size() == 1) {
        LineSink sink(streams.out, streams.err, "");
        int code = RunGuarded(job, books.front(), sink);
        streams.out.flush();
        return code;
    }

    std::vector<BookSlot> slots(books.size());
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t i = next++; i < books.size(); i = next++) {
            BookSlot& slot = slots[i];
            LineSink sink(slot.results, slot.messages, books[i] + ": ");
            int code = RunGuarded(job, books[i], sink);
            {
                std::lock_guard<std::mutex> lock(mutex);
                slot.exitCode = code;
                slot.done = true;
            }
            finished.notify_all();
        }
    };
    const size_t threads = std::clamp<size_t>(jobs, 1, books.size());
    std::vector<std::jthread> pool;
    pool.reserve(threads);
    for (size_t t = 0; t < threads; ++t) pool.emplace_back(worker);

    // Each book's lines go out as soon as it and every book before it are done.
    int worst = kExitOk;
    BatchTally tally;
    ProgressLine progress(streams.err, StandardErrorIsTerminal() && !Quiet());
    for (BookSlot& slot : slots) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            finished.wait(lock, [&] { return slot.done; });
        }
        progress.Clear();
        streams.out << slot.results.str();
        streams.out.flush();
        streams.err << slot.messages.str();
        streams.err.flush();
        slot.results = std::ostringstream();
        slot.messages = std::ostringstream();
        worst = std::max(worst, slot.exitCode);
        tally.Count(slot.exitCode);
        const size_t index = static_cast<size_t>(&slot - slots.data());
        progress.Show(index + 1, slots.size(), DisplayPath(books[index]).c_str());
    }
    progress.Clear();
    if (!Quiet()) WriteBatchSummary(streams.err, tally);
    return worst;
}

}  // namespace brisna::cli
