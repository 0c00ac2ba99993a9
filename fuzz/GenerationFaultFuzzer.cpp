// Generation through a file layer that fails one call, chosen by the input: whatever fails, the
// books written before stay readable, the books not written keep their old bytes, no temporary
// file is left in the folder, and a failure is reported as one.
#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "book/AtomicFile.h"
#include "book/FileCalls.h"
#include "book/Generation.h"
#include "book/Qbr2Format.h"
#include "book/QbrFormat.h"
#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "text/CodePage936.h"

namespace {

using namespace brisna;

// Stops the run with the line of the broken promise.
#define CHECK(condition)                                                         \
    do {                                                                         \
        if (!(condition)) {                                                      \
            std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition); \
            abort();                                                             \
        }                                                                        \
    } while (false)

enum Call { kOpen, kWrite, kFsync, kClose, kFchmod, kLinkat, kRename, kUnlink };

// Which call fails: the n-th call of one kind (any kind when failKind is -1).
struct Fault {
    int failKind = -1;
    int failAt = -1;
    int error = EIO;
    int seen = 0;
    bool fired = false;
    int firedKind = -1;
} fault;

bool Fails(Call kind) {
    if (fault.fired || (fault.failKind >= 0 && fault.failKind != kind)) return false;
    if (fault.seen++ != fault.failAt) return false;
    fault.fired = true;
    fault.firedKind = kind;
    errno = fault.error;
    return true;
}

const FileCalls& System() {
    return SystemFileCalls();
}

const FileCalls kFaultyCalls{
    [](const char* path, int flags, mode_t mode) {
        return Fails(kOpen) ? -1 : System().open(path, flags, mode);
    },
    [](int fd, const void* data, size_t size) -> ssize_t {
        // A short write now and then, as a full disk gives before it fails.
        if (Fails(kWrite)) return fault.error == 0 ? System().write(fd, data, 1) : -1;
        return System().write(fd, data, size);
    },
    [](int fd) { return Fails(kFsync) ? -1 : System().fsync(fd); },
    [](int fd) {
        const int closed = System().close(fd);
        return Fails(kClose) ? -1 : closed;
    },
    [](int fd, mode_t mode) { return Fails(kFchmod) ? -1 : System().fchmod(fd, mode); },
    [](int a, const char* from, int b, const char* to, int flags) {
        return Fails(kLinkat) ? -1 : System().linkat(a, from, b, to, flags);
    },
    [](const char* from, const char* to) {
        return Fails(kRename) ? -1 : System().rename(from, to);
    },
    [](const char* path) { return Fails(kUnlink) ? -1 : System().unlink(path); },
};

class Host : public DialogHost {
  public:
    void ShowMessage(std::string_view gbkText, MessageCaption) override {
        messages.emplace_back(gbkText);
    }
    std::optional<std::string> ChooseFileToOpen(FileFilter) override { return std::nullopt; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    std::string GetFieldText(int) override { return {}; }
    std::vector<std::string> messages;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> Entries();

const std::string& Folder() {
    // Never destroyed: the clean-up at exit still needs it.
    static const std::string& folder = *new std::string([] {
        char name[] = "/tmp/brisna-fault-XXXXXX";
        CHECK(::mkdtemp(name) != nullptr);
        // The folder goes when the run ends normally.
        std::atexit([] {
            for (const std::string& entry : Entries()) ::unlink((Folder() + entry).c_str());
            ::rmdir(Folder().c_str());
        });
        return std::string(name) + "/";
    }());
    return folder;
}

std::vector<std::string> Entries() {
    std::vector<std::string> names;
    if (DIR* listing = ::opendir(Folder().c_str())) {
        while (const dirent* entry = ::readdir(listing)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(listing);
    }
    return names;
}

// A book of chapters headed "第<n>章", each filled with repeating text of the size the input
// asks for (well within the per-chapter limit, and compressible).
struct Book {
    std::string text;
    std::vector<ChapterRecord> chapters;
};

Book MakeBook(const uint8_t* data, size_t size) {
    static const std::string kProse = Utf8ToGbk("天色已晚，他推开窗，远处的山影渐渐模糊。");
    Book book;
    const size_t count = 2 + (size > 0 ? data[0] % 8 : 0);
    for (size_t i = 0; i < count; ++i) {
        const size_t grow = 1 + i < size ? data[1 + i] : 7;
        ChapterRecord record;
        const std::string title = Utf8ToGbk("第") + std::to_string(i + 1) + Utf8ToGbk("章");
        record.SetTitle(title);
        record.offset = static_cast<uint32_t>(book.text.size());
        book.chapters.push_back(record);
        book.text += title + "\r\n";
        for (size_t k = 0; k < 4 + grow * 2; ++k) book.text += kProse;
        book.text += "\r\n";
    }
    return book;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    fault = Fault{};
    fault.failKind = data[0] % 9 == 8 ? -1 : data[0] % 9;
    fault.failAt = data[1] % 32;
    static const int kErrors[] = {EIO, ENOSPC, EDQUOT, EINTR, EACCES, EOPNOTSUPP, EEXIST, 0};
    fault.error = kErrors[data[2] % 8];
    const Book book = MakeBook(data + 3, size - 3);

    // The books of an earlier run, one of them behind a link.
    for (const std::string& name : Entries()) ::unlink((Folder() + name).c_str());
    WriteAll(Folder() + "old.qbr", "old qbr");
    CHECK(!(::symlink("old.qbr", (Folder() + "book.qbr").c_str()) != 0));
    WriteAll(Folder() + "book.qbr2", "old qbr2");

    HeadlessRichEdit view;
    CMyRECtrl control(view);
    HeadlessListBox list;
    ChapterModel model;
    Host host;
    view.SetText(book.text);
    control.RebuildLineTable();
    for (const ChapterRecord& record : book.chapters) {
        model.Append(record);
        list.AddString(record.Title());
    }

    SetFileCallsForTesting(&kFaultyCalls);
    const GenerationOutcome outcome =
        GenerateBook(control, list, model, host, Folder() + "book.txt");
    SetFileCallsForTesting(nullptr);

    const std::string success = Utf8ToGbk("生成qbr和qbr2成功");
    CHECK(!host.messages.empty());
    CHECK(outcome.succeeded == (host.messages.back() == success));
    // A failure needs a fault; a fault is a failure unless the writer has another way: a named
    // temporary where an unnamed one or its link fails, a retry after EINTR, EEXIST or a short
    // write.
    CHECK(outcome.succeeded || fault.fired);
    const bool recoverable = fault.firedKind == kLinkat ||
                             (fault.firedKind == kOpen && fault.error == EOPNOTSUPP) ||
                             (fault.firedKind == kWrite && fault.error == 0) ||
                             (fault.firedKind == kWrite && fault.error == EINTR) ||
                             (fault.firedKind == kOpen && fault.error == EEXIST);
    CHECK(!outcome.succeeded || !fault.fired || recoverable);

    bool wroteQbr2 = false, wroteQbr = false;
    for (const std::string& path : outcome.writtenFiles) {
        const std::string bytes = ReadAll(path);
        if (path == Folder() + "book.qbr2") {
            wroteQbr2 = true;
            CHECK(ReadQbr2(bytes).ok);
        } else {
            CHECK(path == Folder() + "book.qbr");
            wroteQbr = true;
            CHECK(ReadQbr(bytes).ok);
        }
    }
    // What was not written keeps its old bytes; the .qbr book is written through its link.
    CHECK(wroteQbr2 || ReadAll(Folder() + "book.qbr2") == "old qbr2");
    CHECK(wroteQbr || ReadAll(Folder() + "old.qbr") == "old qbr");
    char target[16] = {};
    CHECK(::readlink((Folder() + "book.qbr").c_str(), target, sizeof target - 1) == 7);
    for (const std::string& name : Entries()) CHECK(!IsTemporaryFileName(name));
    return 0;
}
