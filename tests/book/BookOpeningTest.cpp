#include "book/BookOpening.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "Capacities.h"
#include "book/CCompressLZ77.h"
#include "book/Generation.h"
#include "book/GenerationPlan.h"
#include "book/GenerationTestSupport.h"
#include "book/Qbr2Format.h"
#include "book/QbrFormat.h"
#include "chapters/ChapterTitle.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna {
namespace {

using test::G;
using test::MakeBook;
using test::TestBook;

class BookOpening : public ::testing::Test {
  protected:
    BookOpening() {
        // Something already in the editor, to see what a failure keeps.
        editor.view.SetText(G("旧的文字\r\n第二行"));
        editor.ctrl.RebuildLineTable();
        ChapterRecord old;
        old.SetTitle(G("旧章"));
        editor.model.Append(old);
        editor.list.AddString(G("旧章"));
        editor.sourcePath = "old.txt";
    }

    bool Open(BookKind kind, std::optional<std::string> path) {
        editor.host.choices.push_back(std::move(path));
        return OpenBook(kind, editor.ctrl, editor.list, editor.model, editor.host,
                        editor.sourcePath, editor.openedPath);
    }

    std::string Put(std::string_view name, std::string_view bytes) {
        test::WriteFileBytes(dir / name, bytes);
        return (dir / name).string();
    }

    // Writes chapters with the format writers directly, so counts the generator never makes can
    // be tried.
    std::string WriteBookFile(BookKind kind, const TestBook& book, std::string_view name) {
        std::string path = (dir / name).string();
        Qbr2Header header;
        if (kind == BookKind::kQbr2) {
            EXPECT_EQ(WriteQbr2(book.text, book.chapters, path, header), 0);
        } else {
            CCompressLZ77 codec;
            EXPECT_TRUE(WriteQbr(book.text, book.chapters, path, header, codec).ok());
        }
        return path;
    }

    void ExpectOldTextKept() { EXPECT_TRUE(editor.view.GetText() == G("旧的文字\r\n第二行")); }

    test::TempDir dir;
    test::TestEditor editor;
};

TEST(BookOpeningPaths, SourcePathReplacesTheExtensionEverywhere) {
    EXPECT_EQ(BookSourcePathOf("/x/book.qbr2", BookKind::kQbr2), "/x/book.txt");
    EXPECT_EQ(BookSourcePathOf("/a.qbr2/b.qbr2", BookKind::kQbr2), "/a.qbr2/b.txt");
    EXPECT_EQ(BookSourcePathOf("d.qbr/e.qbr", BookKind::kQbr), "d.qbr/e.txt");
    EXPECT_EQ(BookSourcePathOf("/x/book3.qbr", BookKind::kQbr), "/x/book3.txt");
    EXPECT_EQ(BookSourcePathOf("/x/b.qbr2", BookKind::kQbr), "/x/b.txt2");
}

TEST_F(BookOpening, CancelledDialogChangesNothing) {
    EXPECT_FALSE(Open(BookKind::kQbr2, std::nullopt));
    EXPECT_EQ(editor.host.filters, std::vector<FileFilter>{FileFilter::kQbr2});
    EXPECT_TRUE(editor.host.messages.empty());
    EXPECT_EQ(editor.sourcePath, "old.txt");
    EXPECT_EQ(editor.model.Count(), 1u);
    EXPECT_EQ(editor.list.GetCount(), 1);
    ExpectOldTextKept();
    EXPECT_FALSE(Open(BookKind::kQbr, std::nullopt));
    EXPECT_EQ(editor.host.filters.back(), FileFilter::kQbr);
}

TEST_F(BookOpening, FileLevelFailuresKeepEverythingButThePaths) {
    std::string missing = (dir / "none.qbr2").string();
    EXPECT_FALSE(Open(BookKind::kQbr2, missing));
    EXPECT_EQ(editor.host.Texts(), std::vector<std::string>{"打开qbr文件失败"});
    EXPECT_EQ(editor.openedPath, missing);
    EXPECT_EQ(editor.sourcePath, (dir / "none.txt").string());
    EXPECT_EQ(editor.model.Count(), 1u);
    ExpectOldTextKept();

    // Exactly 10 MiB is too large (whatever the message says); one byte less is read and then
    // judged by its format.
    editor.host.messages.clear();
    EXPECT_FALSE(Open(BookKind::kQbr, Put("big.qbr", std::string(kMaxTextBytes, 'x'))));
    EXPECT_EQ(editor.host.Texts(), std::vector<std::string>{"qbr文件大小不能超过10M"});
    EXPECT_EQ(editor.model.Count(), 1u);
    editor.host.messages.clear();
    EXPECT_FALSE(Open(BookKind::kQbr, Put("big.qbr", std::string(kMaxTextBytes - 1, 'x'))));
    EXPECT_EQ(editor.host.Texts(), std::vector<std::string>{"解析qbr文件失败，文件头错误"});
    ExpectOldTextKept();
}

TEST_F(BookOpening, OnlyRegularFilesAreReadAndFailuresNameTheFile) {
    std::filesystem::create_directory(dir / "folder.qbr2");
    const std::string fifo = (dir / "pipe.qbr").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        BookKind kind;
        std::string path;
        std::string reason;
    } cases[] = {
        {BookKind::kQbr2, (dir / "folder.qbr2").string(), "Is a directory"},
        // A FIFO without a writer would block a plain open for good.
        {BookKind::kQbr, fifo, "Invalid argument"},
        {BookKind::kQbr2, (dir / "none.qbr2").string(), "No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        editor.host.messages.clear();
        EXPECT_FALSE(Open(c.kind, c.path));
        ASSERT_EQ(editor.host.messages.size(), 1u);
        EXPECT_EQ(editor.host.messages[0].text, "打开qbr文件失败");
        EXPECT_EQ(editor.host.messages[0].path, c.path);
        EXPECT_EQ(editor.host.messages[0].reason, c.reason);
        EXPECT_EQ(editor.model.Count(), 1u);
        ExpectOldTextKept();
    }
}

// Books made elsewhere may hold what the editor cannot show as it is: line breaks other than
// CR LF are shown as CR LF (the chapters must still start at their titles), and a NUL would
// cut the text short, so it is refused.
TEST_F(BookOpening, ForeignLineBreaksAndNulsNeverMisplaceChapters) {
    TestBook book;
    std::string filler;
    for (int i = 0; i < 100; ++i) filler += G("甲乙");  // long enough to pack
    for (const std::string& chapter :
         {G("第1章\n") + filler + G("\r乙\r"), G("\n第2章\r\n") + filler + G("\n\n")}) {
        ChapterRecord record;
        record.SetTitle(G("章"));
        record.offset = static_cast<uint32_t>(book.text.size());
        record.length = static_cast<uint32_t>(chapter.size());
        book.chapters.push_back(record);
        book.text += chapter;
    }
    const std::string first = G("第1章\r\n") + filler + G("\r\n乙\r\n");
    const std::string shown = first + G("\r\n第2章\r\n") + filler + G("\r\n\r\n");
    for (BookKind kind : {BookKind::kQbr2, BookKind::kQbr}) {
        SCOPED_TRACE(static_cast<int>(kind));
        editor.host.messages.clear();
        ASSERT_TRUE(
            Open(kind, WriteBookFile(kind, book, kind == BookKind::kQbr2 ? "lf.qbr2" : "lf.qbr")));
        EXPECT_TRUE(editor.view.GetText() == shown);
        ASSERT_EQ(editor.model.Count(), 2u);
        EXPECT_EQ(editor.model.RecordAt(0)->offset, 0u);
        EXPECT_EQ(editor.model.RecordAt(0)->length, first.size());
        EXPECT_EQ(editor.model.RecordAt(1)->offset, first.size());
        EXPECT_EQ(editor.model.RecordAt(1)->length, shown.size() - first.size());
    }

    TestBook withNul = MakeBook({300, 300});
    withNul.text[350] = '\0';
    EXPECT_FALSE(Open(BookKind::kQbr2, WriteBookFile(BookKind::kQbr2, withNul, "nul.qbr2")));
    EXPECT_EQ(editor.host.messages.back().text, "解析qbr文件失败，章节数据错误");
    EXPECT_EQ(editor.model.Count(), 0u);
    EXPECT_TRUE(editor.view.GetText() == shown);
    // A .qbr file goes chapter by chapter: the chapter before the NUL stays in the list.
    EXPECT_FALSE(Open(BookKind::kQbr, WriteBookFile(BookKind::kQbr, withNul, "nul.qbr")));
    EXPECT_EQ(editor.host.messages.back().text, "解析qbr文件失败，章节数据错误");
    EXPECT_EQ(editor.host.messages.back().path, (dir / "nul.qbr").string());
    EXPECT_EQ(editor.model.Count(), 1u);
    EXPECT_TRUE(editor.view.GetText() == shown);
}

TEST_F(BookOpening, DamagedQbr2ClearsTheChaptersButKeepsTheText) {
    TestBook book = MakeBook({3000, 3000, 3000});
    std::string file = test::ReadFileBytes(WriteBookFile(BookKind::kQbr2, book, "b.qbr2"));
    file.push_back('\0');
    EXPECT_FALSE(Open(BookKind::kQbr2, Put("b.qbr2", file)));
    EXPECT_EQ(editor.host.Texts(), std::vector<std::string>{"解析qbr文件失败，文件长度错误"});
    EXPECT_EQ(editor.model.Count(), 0u);
    EXPECT_EQ(editor.list.GetCount(), 0);
    ExpectOldTextKept();
}

TEST_F(BookOpening, DamagedQbrKeepsTheChaptersBeforeTheDamage) {
    TestBook book = MakeBook({3000, 3000, 3000, 3000});
    std::string file = test::ReadFileBytes(WriteBookFile(BookKind::kQbr, book, "b.qbr"));
    // The third block follows the first two; its record sits in the index, so find it by
    // decoding the index the way the reader does.
    uint32_t indexOffset = 0, indexLength = 0, packed = 0;
    std::memcpy(&indexOffset, file.data(), 4);
    std::memcpy(&indexLength, file.data() + 4, 4);
    std::memcpy(&packed, file.data() + 8, 4);
    std::vector<uint8_t> index(indexLength);
    ASSERT_EQ(DecodeLz77(reinterpret_cast<const uint8_t*>(file.data()) + indexOffset, packed,
                         index.data(), index.size(), indexLength),
              indexLength);
    uint32_t thirdBlock = 0;
    std::memcpy(&thirdBlock, index.data() + 72 + 72 * 4 + 12 * 2, 4);
    // Cutting the stream short makes it decode to too little.
    std::memset(file.data() + thirdBlock, 0xFF, 8);
    EXPECT_FALSE(Open(BookKind::kQbr, Put("b.qbr", file)));
    EXPECT_EQ(editor.host.Texts(), std::vector<std::string>{"解析qbr文件失败，章节数据错误"});
    ASSERT_EQ(editor.model.Count(), 2u);
    EXPECT_EQ(editor.list.Texts(), (std::vector<std::string>{G("第1章"), G("第2章")}));
    EXPECT_EQ(editor.model.RecordAt(1)->offset, 3000u);
    ExpectOldTextKept();
}

TEST_F(BookOpening, MoreThan98ChaptersAreRefusedWithTheDataMessage) {
    TestBook book = MakeBook(std::vector<uint32_t>(99, 400));
    EXPECT_FALSE(Open(BookKind::kQbr2, WriteBookFile(BookKind::kQbr2, book, "many.qbr2")));
    EXPECT_EQ(editor.host.Texts(), std::vector<std::string>{"解析qbr文件失败，章节数据错误"});
    EXPECT_EQ(editor.model.Count(), 0u);
    ExpectOldTextKept();

    // A .qbr file goes chapter by chapter: the first 98 stay, as after damage at the 99th.
    editor.host.messages.clear();
    const std::string many = WriteBookFile(BookKind::kQbr, book, "many.qbr");
    // The reader stops at the 99th chapter instead of decoding them all first.
    EXPECT_EQ(ReadQbr(test::ReadFileBytes(many)).chapters.size(), kMaxChapters);
    EXPECT_FALSE(Open(BookKind::kQbr, many));
    EXPECT_EQ(editor.host.Texts(), std::vector<std::string>{"解析qbr文件失败，章节数据错误"});
    EXPECT_EQ(editor.model.Count(), kMaxChapters);
    EXPECT_EQ(editor.list.GetCount(), static_cast<int32_t>(kMaxChapters));
    ExpectOldTextKept();
}

TEST_F(BookOpening, TextOfTenMebibytesIsRefused) {
    // 160 full blocks of double-byte characters: the largest .qbr2 text, 10 MiB of GBK.
    TestBook book;
    std::string chapter;
    for (uint32_t i = 0; i < kMaxTextBytes / 4; ++i) chapter += G("长");
    book.text = chapter + chapter;
    ASSERT_EQ(book.text.size(), kMaxTextBytes);
    ChapterRecord first, second;
    first.SetTitle("a");
    first.length = static_cast<uint32_t>(chapter.size());
    second.SetTitle("b");
    second.length = first.length;
    book.chapters = {first, second};
    std::string path = WriteBookFile(BookKind::kQbr2, book, "huge.qbr2");
    ASSERT_LT(std::filesystem::file_size(path), kMaxTextBytes);
    EXPECT_FALSE(Open(BookKind::kQbr2, path));
    EXPECT_EQ(editor.host.Texts(), std::vector<std::string>{"解析qbr文件失败，图书内容数据错误"});
    EXPECT_EQ(editor.model.Count(), 0u);
    ExpectOldTextKept();
}

TEST_F(BookOpening, GeneratedBookOpensBackWithItsTextAndChapters) {
    TestBook book = MakeBook(std::vector<uint32_t>(30, 9000));
    editor.Load(book);
    std::string source = (dir / "book.txt").string();
    ASSERT_TRUE(
        GenerateBook(editor.ctrl, editor.list, editor.model, editor.host, source).succeeded);

    for (BookKind kind : {BookKind::kQbr2, BookKind::kQbr}) {
        editor.host.messages.clear();
        editor.view.SetText("other");
        std::string path = (dir / (kind == BookKind::kQbr2 ? "book.qbr2" : "book.qbr")).string();
        ASSERT_TRUE(Open(kind, path));
        EXPECT_TRUE(editor.host.messages.empty());
        EXPECT_EQ(editor.openedPath, path);
        EXPECT_EQ(editor.sourcePath, source);
        EXPECT_TRUE(editor.view.GetText() == book.text);
        EXPECT_EQ(editor.view.GetSelection(), (CharRange{0, 0}));
        EXPECT_EQ(editor.ctrl.LineStarts().size(), static_cast<size_t>(editor.view.GetLineCount()));
        std::vector<ChapterRecord> records = editor.Records();
        ASSERT_EQ(records.size(), book.chapters.size());
        for (size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].Title(), book.chapters[i].Title());
            EXPECT_EQ(editor.list.GetText(static_cast<int32_t>(i)), book.chapters[i].Title());
            EXPECT_EQ(records[i].offset, book.chapters[i].offset);
            EXPECT_EQ(records[i].length, book.chapters[i].length);
        }
    }
}

// A book whose line break falls exactly between two of its .qbr files: the reader of the first
// file makes the lone CR a line break, and the second file must not add another for its lone LF.
// (A .qbr2 piece holds more than a chapter may, so only the .qbr cuts inside a chapter.)
TEST_F(BookOpening, LineBreakSplitBetweenTwoFilesJoinsByteExact) {
    // Chapters of ASCII prose with a CR LF that the piece size cuts in two; a shorter first
    // chapter moves the file boundaries until one falls on such a cut.
    std::string text;
    std::vector<ChapterRecord> chapters;
    bool found = false;
    for (uint32_t shorter = 0; shorter < 14000 && !found; shorter += 1009) {
        text.clear();
        chapters.clear();
        for (int c = 0; text.size() < kQbrFileStep + kQbrFileStep / 2; ++c) {
            ChapterRecord record;
            record.SetTitle(G("第") + std::to_string(c + 1) + G("章"));
            record.offset = static_cast<uint32_t>(text.size());
            std::string chapter = std::string(record.Title()) + "\r\n";
            const size_t units = GbkToUtf16(chapter).size();
            chapter += std::string(kQbrPieceBytes / 2 - 1 - units, 'x') + "\r\n";
            while (chapter.size() < kChapterSizeLimit - 200 - (c == 0 ? shorter : 0)) {
                chapter += std::string(98, 'y') + "\r\n";
            }
            text += chapter;
            chapters.push_back(record);
        }
        std::vector<ChapterRecord> records = chapters;
        ASSERT_TRUE(ComputeWorkingLengths(records, static_cast<uint32_t>(text.size())));
        for (const PlannedFile& file :
             PlanFiles(CutIntoPieces(text, records, kQbrPieceBytes),
                       static_cast<uint32_t>(text.size()), kQbrFileStep, kQbrSmallRest)) {
            const uint32_t at = file.textOffset;
            found = found || (at > 0 && text[at - 1] == '\r' && text[at] == '\n');
        }
    }
    ASSERT_TRUE(found) << "no layout splits a line break between files";
    test::TestEditor writer;
    writer.sourcePath = (dir / "split.txt").string();
    writer.Load(TestBook{text, chapters});
    GenerationOutcome outcome =
        GenerateBook(writer.ctrl, writer.list, writer.model, writer.host, writer.sourcePath);
    ASSERT_TRUE(outcome.succeeded) << ::testing::PrintToString(writer.host.Texts());
    std::string joined;
    for (const std::string& path : outcome.writtenFiles) {
        if (!path.ends_with(".qbr")) continue;
        ASSERT_TRUE(Open(BookKind::kQbr, path)) << path;
        joined += ReadBookText(editor.view);
    }
    EXPECT_EQ(joined.size(), text.size());
    EXPECT_TRUE(joined == text);
}

}  // namespace
}  // namespace brisna
