#include "book/GenerationPlan.h"

#include <gtest/gtest.h>

#include <random>

#include "Capacities.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna {
namespace {

using test::G;
using test::U;

ChapterRecord Chapter(std::string_view gbkTitle, uint32_t offset, uint32_t length = 0) {
    ChapterRecord record;
    record.SetTitle(gbkTitle);
    record.offset = offset;
    record.length = length;
    return record;
}

// Chapters starting every `every` bytes over a text of textLength bytes, lengths computed.
std::vector<ChapterRecord> EvenChapters(uint32_t textLength, uint32_t every) {
    std::vector<ChapterRecord> chapters;
    for (uint32_t offset = 0; offset < textLength; offset += every) {
        chapters.push_back(Chapter("c" + std::to_string(chapters.size()), offset));
    }
    EXPECT_TRUE(ComputeWorkingLengths(chapters, textLength));
    return chapters;
}

// Every chapter in exactly one file, in order; files of 1..98 chapters that cover the text.
void ExpectSoundPlan(const std::vector<PlannedFile>& files,
                     const std::vector<ChapterRecord>& chapters, uint32_t textLength) {
    ASSERT_FALSE(files.empty());
    uint32_t nextChapter = 0;
    uint64_t covered = 0;
    for (const PlannedFile& file : files) {
        EXPECT_EQ(file.firstChapter, nextChapter);
        EXPECT_GT(file.endChapter, file.firstChapter);
        EXPECT_LE(file.endChapter - file.firstChapter, kMaxChapters);
        EXPECT_EQ(file.textOffset, chapters[file.firstChapter].offset);
        uint64_t chapterBytes = 0;
        for (uint32_t i = file.firstChapter; i < file.endChapter; ++i) {
            chapterBytes += chapters[i].length;
        }
        EXPECT_EQ(file.textLength, chapterBytes);
        covered += file.textLength;
        nextChapter = file.endChapter;
    }
    EXPECT_EQ(nextChapter, chapters.size());
    EXPECT_EQ(covered, textLength);
}

std::vector<int> Numbers(const std::vector<PlannedFile>& files) {
    std::vector<int> numbers;
    for (const PlannedFile& file : files) numbers.push_back(file.number);
    return numbers;
}

TEST(GenerationPlanNames, OutputBaseDropsLowerAndUpperTxtEverywhere) {
    EXPECT_EQ(OutputBase("/books/book.txt"), "/books/book");
    EXPECT_EQ(OutputBase("/books/a.TXT"), "/books/a");
    EXPECT_EQ(OutputBase("/books/a.Txt"), "/books/a.Txt");
    // Folder names never change: the books go beside the text, not into another folder.
    EXPECT_EQ(OutputBase("/old.txt/new.TXT.d/x.txt"), "/old.txt/new.TXT.d/x");
    EXPECT_EQ(OutputBase("notes.txt.d/book.txt"), "notes.txt.d/book");
    EXPECT_EQ(OutputBase("a.txt.txt"), "a");
    EXPECT_EQ(OutputBase(""), "");
    // A removal that joins a new occurrence takes that one too.
    EXPECT_EQ(OutputBase("/b.t.txtxt"), "/b");
    // Paths are UTF-8: a three-byte character right before the extension must not hide it.
    EXPECT_EQ(OutputBase("/书/第一书.txt"), "/书/第一书");
}

TEST(GenerationPlanNames, FileNamesAreNumberedOnlyWhenAPassWritesSeveral) {
    EXPECT_EQ(BookFileName("/b/book", "qbr2", 0), "/b/book.qbr2");
    EXPECT_EQ(BookFileName("/b/book", "qbr", 3), "/b/book3.qbr");
    EXPECT_EQ(BookFileName("/b/a.Txt", "qbr", 0), "/b/a.Txt.qbr");
    EXPECT_EQ(BookFileName("", "qbr2", 0), ".qbr2");
}

TEST(GenerationPlanLengths, RefusesListsThatCannotBeWritten) {
    std::vector<ChapterRecord> good{Chapter("a", 0), Chapter("b", 100), Chapter("c", 250)};
    ASSERT_TRUE(ComputeWorkingLengths(good, 400));
    EXPECT_EQ(good[0].length, 100u);
    EXPECT_EQ(good[1].length, 150u);
    EXPECT_EQ(good[2].length, 150u);

    std::vector<ChapterRecord> descending{Chapter("a", 0), Chapter("b", 500), Chapter("c", 400)};
    EXPECT_FALSE(ComputeWorkingLengths(descending, 1000));
    // The last chapter starting at or past the end would get a wrapped length.
    std::vector<ChapterRecord> pastEnd{Chapter("a", 0), Chapter("b", 300)};
    EXPECT_FALSE(ComputeWorkingLengths(pastEnd, 200));
    EXPECT_FALSE(ComputeWorkingLengths(pastEnd, 300));
    std::vector<ChapterRecord> notAtStart{Chapter("a", 5), Chapter("b", 300)};
    EXPECT_FALSE(ComputeWorkingLengths(notAtStart, 1000));
}

TEST(GenerationPlanPieces, TwentyThousandAsciiCharactersSplitOnlyForTheSmallPieceSize) {
    std::string first = "Chapter 1\r\n" + std::string(20000 - 13, 'x') + "\r\n";
    ASSERT_EQ(first.size(), 20000u);
    std::string text = first + G("第二章\r\nyy");
    std::vector<ChapterRecord> chapters{Chapter("Chapter 1", 0), Chapter(G("第二章"), 20000)};
    ASSERT_TRUE(ComputeWorkingLengths(chapters, static_cast<uint32_t>(text.size())));
    // 40,000 UTF-16 bytes: one record for the large pieces ...
    std::vector<ChapterRecord> big = CutIntoPieces(text, chapters, kQbr2PieceBytes);
    ASSERT_EQ(big.size(), 2u);
    EXPECT_EQ(big[0].Title(), "Chapter 1");
    EXPECT_EQ(big[0].length, 20000u);

    // ... two for the small ones: 32,764 and 7,236 UTF-16 bytes.
    std::vector<ChapterRecord> small = CutIntoPieces(text, chapters, kQbrPieceBytes);
    ASSERT_EQ(small.size(), 3u);
    EXPECT_EQ(small[0].Title(), "Chapter 11");
    EXPECT_EQ(small[1].Title(), "Chapter 12");
    EXPECT_EQ(U(small[2].Title()), "第二章");
    EXPECT_EQ(small[0].offset, 0u);
    EXPECT_EQ(small[0].length, 16382u);
    EXPECT_EQ(small[1].offset, 16382u);
    EXPECT_EQ(small[1].length, 3618u);
    EXPECT_EQ(small[2].offset, 20000u);
    EXPECT_EQ(small[2].length, chapters[1].length);

    // Chinese text counts one unit per two bytes.
    std::string chinese;
    while (chinese.size() < 40000) chinese += G("风");
    std::vector<ChapterRecord> one{Chapter("z", 0)};
    ASSERT_TRUE(ComputeWorkingLengths(one, 40000));
    std::vector<ChapterRecord> pieces = CutIntoPieces(chinese, one, kQbrPieceBytes);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].length, 32764u);
    EXPECT_EQ(pieces[1].offset, 32764u);
}

TEST(GenerationPlanPieces, PieceSizeIsInclusiveAndTheRestMayBeOneCharacter) {
    std::string exact(kQbrPieceBytes / 2, 'a');
    std::string oneMore(kQbrPieceBytes / 2 + 1, 'a');
    std::string text = exact + oneMore;
    std::vector<ChapterRecord> chapters{Chapter("t", 0), Chapter("u", exact.size())};
    ASSERT_TRUE(ComputeWorkingLengths(chapters, static_cast<uint32_t>(text.size())));
    std::vector<ChapterRecord> pieces = CutIntoPieces(text, chapters, kQbrPieceBytes);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].Title(), "t");
    EXPECT_EQ(pieces[1].Title(), "u1");
    EXPECT_EQ(pieces[2].Title(), "u2");
    EXPECT_EQ(pieces[2].length, 1u);
    EXPECT_EQ(pieces[2].offset, text.size() - 1);
}

TEST(GenerationPlanPieces, MalformedBytesNeverMakeLaterPiecesDrift) {
    // Pairs whose second byte is no trail byte convert to two units; a piece must still end on
    // a character of the book text and the pieces must cover the chapter exactly.
    std::string body;
    while (body.size() < 40000) body += std::string("\x81\x30", 2) + G("汉") + "\x80";
    std::vector<ChapterRecord> chapters{Chapter("m", 0)};
    ASSERT_TRUE(ComputeWorkingLengths(chapters, static_cast<uint32_t>(body.size())));
    std::vector<ChapterRecord> pieces = CutIntoPieces(body, chapters, kQbrPieceBytes);
    ASSERT_GE(pieces.size(), 2u);
    uint32_t next = 0;
    for (const ChapterRecord& piece : pieces) {
        EXPECT_EQ(piece.offset, next);
        EXPECT_LE(GbkToUtf16(body.substr(piece.offset, piece.length)).size() * 2, kQbrPieceBytes);
        next += piece.length;
    }
    EXPECT_EQ(next, body.size());
}

TEST(GenerationPlanPieces, LongTitlesLeaveRoomForThePieceNumber) {
    std::string title;
    while (title.size() < 62) title += G("长");
    std::string text = title + std::string(20000, 'z');
    std::vector<ChapterRecord> chapters{Chapter(title, 0)};
    ASSERT_EQ(chapters[0].Title().size(), 62u);
    ASSERT_TRUE(ComputeWorkingLengths(chapters, static_cast<uint32_t>(text.size())));
    std::vector<ChapterRecord> pieces = CutIntoPieces(text, chapters, kQbrPieceBytes);
    ASSERT_EQ(pieces.size(), 2u);
    // 62 bytes + "1" fits; a 63-byte title would drop its last whole character instead.
    EXPECT_EQ(pieces[0].Title(), title + "1");
    ChapterRecord odd = Chapter(title + "x", 0, static_cast<uint32_t>(text.size()));
    ASSERT_EQ(odd.Title().size(), 63u);
    std::vector<ChapterRecord> cut = CutIntoPieces(text, {odd}, kQbrPieceBytes);
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[1].Title(), title + "2");
}

TEST(GenerationPlanFiles, StepGrowsWhenTheRestWouldBeSmall) {
    EXPECT_EQ(FileStep(819200, kQbr2FileStep, kQbr2SmallRest), 819200u);
    EXPECT_EQ(FileStep(1000000, kQbr2FileStep, kQbr2SmallRest), 819200u);
    EXPECT_EQ(FileStep(850000, kQbr2FileStep, kQbr2SmallRest), 506920u);
    EXPECT_EQ(FileStep(900000, kQbr2FileStep, kQbr2SmallRest), 531920u);
    EXPECT_EQ(FileStep(900000, kQbrFileStep, kQbrSmallRest), 409600u);
}

TEST(GenerationPlanFiles, SingleFileUpToOneStep) {
    for (uint32_t length : {819200u, 409600u, 1000u}) {
        auto chapters = EvenChapters(length, 10240);
        auto qbr2 = PlanFiles(chapters, length, kQbr2FileStep, kQbr2SmallRest);
        ASSERT_EQ(qbr2.size(), 1u);
        EXPECT_EQ(qbr2[0].number, 0);
        ExpectSoundPlan(qbr2, chapters, length);
    }
    auto chapters = EvenChapters(409600, 10240);
    EXPECT_EQ(PlanFiles(chapters, 409600, kQbrFileStep, kQbrSmallRest).size(), 1u);
}

TEST(GenerationPlanFiles, NineHundredThousandBytesGiveTwoAndThreeFiles) {
    auto chapters = EvenChapters(900000, 10000);
    auto qbr2 = PlanFiles(chapters, 900000, kQbr2FileStep, kQbr2SmallRest);
    EXPECT_EQ(Numbers(qbr2), (std::vector<int>{1, 2}));
    // The last chapter starting within 531,920 bytes (at 530,000) begins the second file.
    EXPECT_EQ(qbr2[0].endChapter, 53u);
    ExpectSoundPlan(qbr2, chapters, 900000);
    auto qbr = PlanFiles(chapters, 900000, kQbrFileStep, kQbrSmallRest);
    EXPECT_EQ(Numbers(qbr), (std::vector<int>{1, 2, 3}));
    ExpectSoundPlan(qbr, chapters, 900000);
}

TEST(GenerationPlanFiles, NoFileHoldsMoreThan98Chapters) {
    // 120 chapters inside one step: 98, then the 99th starts the next file.
    auto some = EvenChapters(12000, 100);
    auto files = PlanFiles(some, 12000, kQbr2FileStep, kQbr2SmallRest);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].endChapter, 98u);
    EXPECT_EQ(Numbers(files), (std::vector<int>{1, 2}));
    ExpectSoundPlan(files, some, 12000);
    // More than 98 left for the final file: the pass goes on.
    auto many = EvenChapters(25000, 100);
    files = PlanFiles(many, 25000, kQbrFileStep, kQbrSmallRest);
    EXPECT_EQ(Numbers(files), (std::vector<int>{1, 2, 3}));
    ExpectSoundPlan(files, many, 25000);
}

TEST(GenerationPlanFiles, ChapterLongerThanTheStepGetsAFileOfItsOwn) {
    std::vector<ChapterRecord> chapters{Chapter("a", 0), Chapter("b", 10), Chapter("c", 900000)};
    ASSERT_TRUE(ComputeWorkingLengths(chapters, 910000));
    auto files = PlanFiles(chapters, 910000, kQbr2FileStep, kQbr2SmallRest);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[1].firstChapter, 1u);
    EXPECT_EQ(files[1].endChapter, 2u);
    ExpectSoundPlan(files, chapters, 910000);
    // ... also when it is the last one.
    std::vector<ChapterRecord> lastLong{Chapter("a", 0), Chapter("b", 10)};
    ASSERT_TRUE(ComputeWorkingLengths(lastLong, 2000000));
    files = PlanFiles(lastLong, 2000000, kQbr2FileStep, kQbr2SmallRest);
    EXPECT_EQ(Numbers(files), (std::vector<int>{1, 2}));
    ExpectSoundPlan(files, lastLong, 2000000);
}

TEST(GenerationPlanFiles, RandomBooksAlwaysGiveSoundPlans) {
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        uint32_t count = 2 + random() % 300;
        std::vector<ChapterRecord> chapters;
        uint32_t offset = 0;
        for (uint32_t i = 0; i < count; ++i) {
            chapters.push_back(Chapter("c", offset));
            uint32_t kind = random() % 10;
            offset += kind == 0 ? 1 + random() % 1000000 : 1 + random() % 40000;
        }
        uint32_t length = offset;
        ASSERT_TRUE(ComputeWorkingLengths(chapters, length));
        ExpectSoundPlan(PlanFiles(chapters, length, kQbr2FileStep, kQbr2SmallRest), chapters,
                        length);
        ExpectSoundPlan(PlanFiles(chapters, length, kQbrFileStep, kQbrSmallRest), chapters, length);
    }
}

}  // namespace
}  // namespace brisna
