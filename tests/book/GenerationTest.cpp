#include "book/Generation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "book/CCompressLZ77.h"
#include "book/GenerationTestSupport.h"
#include "book/Qbr2Format.h"
#include "book/QbrFormat.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna {
namespace {

using test::G;
using test::MakeBook;
using test::RecordingHost;
using test::TestBook;

uint32_t Get32(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (int k = 3; k >= 0; --k) value = (value << 8) | static_cast<unsigned char>(bytes[at + k]);
    return value;
}

std::string NameField(std::string_view field) {
    std::u16string name = LeBytesToUtf16(field.substr(0, 64));
    return Utf16ToUtf8(name.substr(0, name.find(u'\0')));
}

std::string Qbr2BookNameOf(std::string_view file) {
    return NameField(file.substr(12, 64));
}

std::string QbrBookNameOf(std::string_view file) {
    uint32_t offset = Get32(file, 0), length = Get32(file, 4), packed = Get32(file, 8);
    std::vector<uint8_t> index(length);
    int64_t produced = DecodeLz77(reinterpret_cast<const uint8_t*>(file.data()) + offset, packed,
                                  index.data(), index.size(), length);
    EXPECT_EQ(produced, length);
    return NameField(std::string_view(reinterpret_cast<const char*>(index.data()), 64));
}

class Generation : public ::testing::Test {
  protected:
    GenerationOutcome Generate(const TestBook& book, const std::string& sourceName = "book.txt") {
        editor.Load(book);
        editor.sourcePath = sourceName.empty() ? "" : (dir / sourceName).string();
        GenerationOutcome outcome =
            GenerateBook(editor.ctrl, editor.list, editor.model, editor.host, editor.sourcePath);
        EXPECT_EQ(editor.host.waitDepth, 0);
        return outcome;
    }

    std::vector<std::string> Written(const GenerationOutcome& outcome) const {
        std::vector<std::string> names;
        for (const std::string& path : outcome.writtenFiles) {
            names.push_back(std::filesystem::path(path).filename().string());
        }
        return names;
    }

    std::string File(std::string_view name) const { return test::ReadFileBytes(dir / name); }

    // The book text as the files give it back, chapter after chapter.
    std::string TextOfQbr2Files(const std::vector<std::string>& names) const {
        std::string text;
        for (const std::string& name : names) {
            Qbr2ReadResult read = ReadQbr2(File(name));
            EXPECT_TRUE(read.ok) << name;
            for (const BookChapter& chapter : read.chapters) text += chapter.text;
        }
        return text;
    }
    std::string TextOfQbrFiles(const std::vector<std::string>& names) const {
        std::string text;
        for (const std::string& name : names) {
            QbrReadResult read = ReadQbr(File(name));
            EXPECT_TRUE(read.ok) << name;
            for (const BookChapter& chapter : read.chapters) text += chapter.text;
        }
        return text;
    }

    test::TempDir dir;
    test::TestEditor editor;
};

const std::vector<std::string> kSuccess{"生成qbr和qbr2成功"};

TEST_F(Generation, UpToOneStepGivesOneUnnumberedFile) {
    TestBook book = MakeBook(std::vector<uint32_t>(40, 10240));  // 409,600 bytes
    GenerationOutcome outcome = Generate(book);
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(Written(outcome), (std::vector<std::string>{"book.qbr2", "book.qbr"}));
    EXPECT_EQ(editor.host.Texts(), kSuccess);
    EXPECT_EQ(editor.host.messages[0].caption, MessageCaption::kPrompt);
    // "book.qbr2" minus four characters.
    EXPECT_EQ(Qbr2BookNameOf(File("book.qbr2")), "book.");
    EXPECT_EQ(QbrBookNameOf(File("book.qbr")), "book.");
    EXPECT_TRUE(TextOfQbr2Files({"book.qbr2"}) == book.text);
    EXPECT_TRUE(TextOfQbrFiles({"book.qbr"}) == book.text);

    editor.host.messages.clear();
    // 819,200 bytes: still one .qbr2 file; two full .qbr steps leave no rest, so the .qbr step
    // grows to 293,546 bytes and gives three files.
    TestBook twice = MakeBook(std::vector<uint32_t>(80, 10240));
    outcome = Generate(twice);
    EXPECT_EQ(Written(outcome),
              (std::vector<std::string>{"book.qbr2", "book1.qbr", "book2.qbr", "book3.qbr"}));
    EXPECT_TRUE(TextOfQbr2Files({"book.qbr2"}) == twice.text);
    EXPECT_TRUE(TextOfQbrFiles({"book1.qbr", "book2.qbr", "book3.qbr"}) == twice.text);
}

TEST_F(Generation, NineHundredThousandBytesSpreadOverNumberedFiles) {
    TestBook book = MakeBook(std::vector<uint32_t>(90, 10000));
    GenerationOutcome outcome = Generate(book);
    ASSERT_TRUE(outcome.succeeded);
    EXPECT_EQ(Written(outcome), (std::vector<std::string>{"book1.qbr2", "book2.qbr2", "book1.qbr",
                                                          "book2.qbr", "book3.qbr"}));
    EXPECT_EQ(Qbr2BookNameOf(File("book1.qbr2")), "book1.");
    // Every .qbr file carries the name of the last .qbr2 file of the run.
    for (const char* name : {"book1.qbr", "book2.qbr", "book3.qbr"}) {
        EXPECT_EQ(QbrBookNameOf(File(name)), "book2.") << name;
    }
    EXPECT_TRUE(TextOfQbr2Files({"book1.qbr2", "book2.qbr2"}) == book.text);
    EXPECT_TRUE(TextOfQbrFiles({"book1.qbr", "book2.qbr", "book3.qbr"}) == book.text);
    // The second .qbr2 file starts with the last chapter that starts within 531,920 bytes.
    Qbr2ReadResult second = ReadQbr2(File("book2.qbr2"));
    ASSERT_FALSE(second.chapters.empty());
    EXPECT_EQ(second.chapters[0].title, G("第54章"));
}

TEST_F(Generation, OnlyLowerAndUpperTxtLeaveTheName) {
    TestBook book = MakeBook({2000, 2000});
    EXPECT_EQ(Written(Generate(book, "a.TXT")), (std::vector<std::string>{"a.qbr2", "a.qbr"}));
    EXPECT_EQ(Written(Generate(book, "a.Txt")),
              (std::vector<std::string>{"a.Txt.qbr2", "a.Txt.qbr"}));
}

TEST_F(Generation, EmptySourcePathWritesDotFilesInTheCurrentFolder) {
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    GenerationOutcome outcome = Generate(MakeBook({2000, 2000}), "");
    std::filesystem::current_path(before);
    EXPECT_EQ(Written(outcome), (std::vector<std::string>{".qbr2", ".qbr"}));
    EXPECT_EQ(Qbr2BookNameOf(File(".qbr2")), ".");
    EXPECT_EQ(QbrBookNameOf(File(".qbr")), ".");
}

TEST_F(Generation, LongChapterIsCutOnlyForTheQbrFile) {
    TestBook book;
    book.text = "Chapter 1\r\n" + std::string(20000 - 13, 'x') + "\r\n";
    std::string second = "Chapter 2\r\n";
    while (second.size() < 600) second += "the water wheel turns again. ";
    book.text += second;
    ChapterRecord first;
    first.SetTitle("Chapter 1");
    ChapterRecord next;
    next.SetTitle("Chapter 2");
    next.offset = 20000;
    book.chapters = {first, next};
    ASSERT_TRUE(Generate(book).succeeded);

    Qbr2ReadResult qbr2 = ReadQbr2(File("book.qbr2"));
    ASSERT_EQ(qbr2.chapters.size(), 2u);
    EXPECT_EQ(qbr2.chapters[0].title, "Chapter 1");
    EXPECT_EQ(qbr2.chapters[0].text.size(), 20000u);
    QbrReadResult qbr = ReadQbr(File("book.qbr"));
    ASSERT_EQ(qbr.chapters.size(), 3u);
    EXPECT_EQ(qbr.chapters[0].title, "Chapter 11");
    EXPECT_EQ(qbr.chapters[1].title, "Chapter 12");
    EXPECT_EQ(qbr.chapters[2].title, "Chapter 2");
    EXPECT_EQ(qbr.chapters[0].text.size() * 2, 32764u);
    EXPECT_EQ(qbr.chapters[1].text.size() * 2, 7236u);
}

TEST_F(Generation, LeavesTheOperatorsChaptersAsTheyWere) {
    TestBook book = MakeBook(std::vector<uint32_t>(90, 10000));
    editor.Load(book);
    std::vector<std::string> listBefore = editor.list.Texts();
    editor.sourcePath = (dir / "book.txt").string();
    ASSERT_TRUE(GenerateBook(editor.ctrl, editor.list, editor.model, editor.host, editor.sourcePath)
                    .succeeded);
    std::vector<ChapterRecord> after = editor.Records();
    ASSERT_EQ(after.size(), book.chapters.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].Title(), book.chapters[i].Title());
        EXPECT_EQ(after[i].offset, book.chapters[i].offset);  // never rebased per file
        EXPECT_EQ(after[i].length, book.chapters[i].length);  // current, as the checks left them
    }
    EXPECT_EQ(editor.list.Texts(), listBefore);
    // A second run over the untouched model gives the same files.
    std::string first = File("book2.qbr2");
    editor.host.messages.clear();
    ASSERT_TRUE(GenerateBook(editor.ctrl, editor.list, editor.model, editor.host, editor.sourcePath)
                    .succeeded);
    EXPECT_EQ(File("book2.qbr2"), first);
}

TEST_F(Generation, FailedCheckWritesNothing) {
    TestBook book = MakeBook({2000, 2000});
    book.chapters.pop_back();
    GenerationOutcome outcome = Generate(book);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.writtenFiles.empty());
    EXPECT_EQ(editor.host.Texts(), std::vector<std::string>{"请至少添加2个章节"});
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(Generation, WriterFailuresEndTheRunWithTheirMessage) {
    TestBook book = MakeBook({2000, 2000});
    // No such folder: the first .qbr2 file cannot be written.
    GenerationOutcome outcome = Generate(book, "missing/book.txt");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.writtenFiles.empty());
    EXPECT_EQ(editor.host.Texts(), std::vector<std::string>{"生成qbr2失败"});

    // A folder in the way of the .qbr file: the .qbr2 file stays.
    editor.host.messages.clear();
    std::filesystem::create_directory(dir / "book.qbr");
    outcome = Generate(book);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(Written(outcome), std::vector<std::string>{"book.qbr2"});
    EXPECT_EQ(editor.host.Texts(), std::vector<std::string>{"生成qbr失败"});
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "book.qbr2"));
}

TEST_F(Generation, FilesAreWrittenWhereTheTextIsAndRefusedWhereTheyMayNotBe) {
    TestBook book = MakeBook({2000, 2000});
    // A folder whose name holds the extension is not renamed into another folder's file.
    std::filesystem::create_directory(dir / "notes.txt.d");
    test::WriteFileBytes(dir / "notes.d", "unrelated");
    GenerationOutcome outcome = Generate(book, "notes.txt.d/book.txt");
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "notes.txt.d" / "book.qbr2"));
    EXPECT_EQ(File("notes.d"), "unrelated");

    // A read-only book is refused as a direct write would be; the message names file and reason.
    editor.host.messages.clear();
    test::WriteFileBytes(dir / "book.qbr2", "read-only");
    ASSERT_EQ(::chmod((dir / "book.qbr2").c_str(), 0444), 0);
    outcome = Generate(book);
    EXPECT_FALSE(outcome.succeeded);
    ASSERT_EQ(editor.host.messages.size(), 1u);
    EXPECT_EQ(editor.host.messages[0].text, "生成qbr2失败");
    EXPECT_EQ(editor.host.messages[0].path, (dir / "book.qbr2").string());
    EXPECT_EQ(editor.host.messages[0].reason, "Permission denied");
    EXPECT_EQ(File("book.qbr2"), "read-only");

    // Temporaries of a writer that was killed are cleared by the next run.
    ASSERT_EQ(::chmod((dir / "book.qbr2").c_str(), 0644), 0);
    test::WriteFileBytes(dir / ".brisna-2000000000-0.tmp", "left behind");
    editor.host.messages.clear();
    EXPECT_TRUE(Generate(book).succeeded);
    EXPECT_FALSE(std::filesystem::exists(dir / ".brisna-2000000000-0.tmp"));
}

TEST_F(Generation, IncompressibleChapterIsNamedBeforeTheFailureAndNothingIsWritten) {
    TestBook book = MakeBook({3000});
    ChapterRecord tiny;
    tiny.SetTitle(G("尾声"));
    tiny.offset = static_cast<uint32_t>(book.text.size());
    book.text += G("尾声") + "\r\nxy";
    book.chapters.push_back(tiny);
    GenerationOutcome outcome = Generate(book);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(
        editor.host.Texts(),
        (std::vector<std::string>{"尾声章节长度过短，无法生成QBR，建议合并章节", "生成qbr失败"}));
    EXPECT_EQ(editor.host.messages[0].caption, MessageCaption::kAppName);
    EXPECT_EQ(editor.host.messages[1].caption, MessageCaption::kNone);
    // Both formats are built before either is written: no .qbr2 without its .qbr.
    EXPECT_TRUE(Written(outcome).empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "book.qbr2"));
}

}  // namespace
}  // namespace brisna
