#include "chapters/ChapterModel.h"

#include <gtest/gtest.h>

#include <vector>

namespace brisna {
namespace {

ChapterRecord Record(std::string_view title, uint32_t offset, uint32_t length = 0) {
    ChapterRecord record;
    record.SetTitle(title);
    record.offset = offset;
    record.length = length;
    return record;
}

std::vector<std::string> Titles(const ChapterModel& model) {
    std::vector<std::string> titles;
    for (uint32_t i = 0; i < model.Count(); ++i) titles.emplace_back(model.RecordAt(i)->Title());
    return titles;
}

ChapterModel WithOffsets(std::vector<uint32_t> offsets, uint32_t textLength) {
    ChapterModel model;
    for (uint32_t offset : offsets) model.Append(Record("c", offset, 7));
    model.SetTextLength(textLength);
    return model;
}

std::vector<uint32_t> Lengths(const ChapterModel& model) {
    std::vector<uint32_t> lengths;
    for (uint32_t i = 0; i < model.Count(); ++i) lengths.push_back(model.RecordAt(i)->length);
    return lengths;
}

bool SlotIsZero(const ChapterRecord& record) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    for (size_t i = 0; i < sizeof record; ++i) {
        if (bytes[i] != 0) return false;
    }
    return true;
}

TEST(ChapterModel, InsertMoveAndRemoveKeepWholeRecords) {
    ChapterModel model;
    model.Append(Record("b", 20, 5));
    model.InsertAt(Record("a", 10), 0);
    model.InsertAt(Record("c", 30), model.Count());
    EXPECT_EQ(Titles(model), (std::vector<std::string>{"a", "b", "c"}));

    model.MoveUp(0);
    model.MoveDown(2);
    EXPECT_EQ(Titles(model), (std::vector<std::string>{"a", "b", "c"}));
    model.MoveDown(1);
    EXPECT_EQ(Titles(model), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_EQ(model.RecordAt(2)->offset, 20u);
    EXPECT_EQ(model.RecordAt(2)->length, 5u);
    model.MoveUp(2);
    EXPECT_EQ(Titles(model), (std::vector<std::string>{"a", "b", "c"}));

    const ChapterRecord* last = model.RecordAt(2);
    model.RemoveAt(2);
    EXPECT_EQ(model.Count(), 2u);
    EXPECT_EQ(model.RecordAt(2), nullptr);
    EXPECT_TRUE(SlotIsZero(*last));  // the freed slot holds no stale chapter
    model.RemoveAt(0);
    EXPECT_EQ(Titles(model), (std::vector<std::string>{"b"}));
    model.RemoveAt(5);
    EXPECT_EQ(model.Count(), 1u);
    EXPECT_EQ(model.OffsetAt(0), 20u);
    EXPECT_EQ(model.OffsetAt(1), 0u);
}

TEST(ChapterModel, EmptyModelIgnoresMoves) {
    ChapterModel model;
    model.MoveDown(0);
    model.MoveUp(0);
    model.RemoveAt(0);
    EXPECT_EQ(model.Count(), 0u);
    EXPECT_EQ(model.RecordAt(0), nullptr);
}

TEST(ChapterModel, NeverWritesPastItsCapacity) {
    ChapterModel model;
    for (uint32_t i = 0; i < kMaxChapters + 3; ++i) model.Append(Record("x", i));
    EXPECT_EQ(model.Count(), kMaxChapters);
    model.InsertAt(Record("y", 0), 0);
    model.InsertAt(Record("z", 0), 500);
    EXPECT_EQ(model.Count(), kMaxChapters);
    EXPECT_EQ(model.RecordAt(0)->Title(), "x");
}

TEST(ChapterModel, ClearEmptiesRecordsAndLength) {
    ChapterModel model = WithOffsets({0, 10}, 50);
    model.Clear();
    EXPECT_EQ(model.Count(), 0u);
    EXPECT_EQ(model.TextLength(), 0u);
    model.Append(Record("n", 3));
    EXPECT_EQ(model.RecordAt(0)->length, 0u);
}

TEST(ChapterModel, ComputeLengthsAscendingOffsets) {
    ChapterModel model = WithOffsets({0, 100, 250}, 400);
    EXPECT_EQ(model.ComputeLengths(), 0u);
    EXPECT_EQ(Lengths(model), (std::vector<uint32_t>{100, 150, 150}));

    ChapterModel single = WithOffsets({0}, 500);
    EXPECT_EQ(single.ComputeLengths(), 0u);
    EXPECT_EQ(Lengths(single), (std::vector<uint32_t>{500}));

    ChapterModel empty;
    EXPECT_EQ(empty.ComputeLengths(), 0u);
}

TEST(ChapterModel, ComputeLengthsNamesTheFirstChapterAtFault) {
    ChapterModel model = WithOffsets({0, 100, 100}, 400);
    EXPECT_EQ(model.ComputeLengths(), 2u);
    EXPECT_EQ(Lengths(model), (std::vector<uint32_t>{100, 7, 7}));

    ChapterModel descending = WithOffsets({50, 10}, 400);
    EXPECT_EQ(descending.ComputeLengths(), 1u);
    EXPECT_EQ(Lengths(descending), (std::vector<uint32_t>{7, 7}));

    ChapterModel single = WithOffsets({0}, 0);
    EXPECT_EQ(single.ComputeLengths(), 1u);
}

TEST(ChapterModel, ComputeLengthsChecksTheLastAgainstTheOneBefore) {
    ChapterModel model = WithOffsets({0, 300}, 200);
    EXPECT_EQ(model.ComputeLengths(), 0u);
    EXPECT_EQ(Lengths(model), (std::vector<uint32_t>{300, static_cast<uint32_t>(200u - 300u)}));

    ChapterModel noText = WithOffsets({0, 300}, 0);
    EXPECT_EQ(noText.ComputeLengths(), 2u);
    EXPECT_EQ(Lengths(noText), (std::vector<uint32_t>{300, 7}));
}

}  // namespace
}  // namespace brisna
