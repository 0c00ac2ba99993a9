#include "cli/BookBatch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <ostream>
#include <sstream>
#include <thread>

#include "cli/RunReport.h"

namespace brisna::cli {

namespace {

int RunGuarded(const BookJob& job, const std::string& book, LineSink& sink) {
    try {
        return job(book, sink);
    } catch (const std::bad_alloc&) {
        sink.Message("内存不足");
    } catch (const std::exception& failure) {
        sink.Message(std::string("内部错误: ") + failure.what());
    } catch (...) {
        sink.Message("内部错误");
    }
    return kExitFailed;
}

struct BookSlot {
    std::ostringstream results;
    std::ostringstream messages;
    int exitCode = kExitOk;
    bool done = false;
};

}  // namespace

int RunBooks(const std::vector<std::string>& books, unsigned jobs, CommandStreams& streams,
             const BookJob& job) {
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
            LineSink sink(slot.results, slot.messages, DisplayPath(books[i]) + ": ");
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
