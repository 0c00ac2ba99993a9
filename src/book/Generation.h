#pragma once
// The generate command: checks the book once more, then writes it as .qbr2 files and .qbr files
// beside its text file and tells the operator how it went.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/BookFiles.h"
#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"

namespace brisna {

struct GenerationOutcome {
    bool succeeded = false;                 // "生成qbr和qbr2成功" was shown
    std::vector<std::string> writtenFiles;  // in the order written, also after a failure
};

// Runs the pre-generation checks (stopping at the first failure with its message), then
// writes every .qbr2 file and every .qbr file, named from the book source path. Works on copies
// of the chapter records: the chapter model keeps its titles, offsets and order (the checks
// leave its lengths current), and the chapter list is not touched.
// The paths GenerateBook would write for the book as it stands (every .qbr2 file, then every
// .qbr file), without writing anything; empty when its chapters cannot be written at all. A
// batch uses it to find books whose files would replace each other.
std::vector<std::string> PlannedOutputPaths(CMyRECtrl& bookText, const ChapterModel& chapters,
                                            std::string_view bookSourcePath);

GenerationOutcome GenerateBook(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                               DialogHost& host, std::string_view bookSourcePath);

// The first half of GenerateBook: the checks, then every file of both formats built in memory.
// Nothing when the book is refused; its messages have then been shown. Writes nothing. With
// `codes`, the .qbr blocks already coded (the book's text standing at codesOffset of the text
// they were coded from) are taken instead of coding them again.
std::optional<EncodedBook> PrepareBookFiles(CMyRECtrl& bookText, ListBox& chapterList,
                                            ChapterModel& chapters, DialogHost& host,
                                            std::string_view bookSourcePath,
                                            const QbrBlockCodes* codes = nullptr,
                                            uint32_t codesOffset = 0);

// The second half: writes the prepared files in order and adds each written path. False (with
// the failed format's message shown) when one cannot be written; the ones before it stay.
bool WriteBookFiles(const EncodedBook& encoded, DialogHost& host,
                    std::vector<std::string>& writtenFiles);

}  // namespace brisna
