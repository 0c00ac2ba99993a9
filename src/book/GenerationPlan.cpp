#include "book/GenerationPlan.h"

#include "Capacities.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

namespace {

// Removes every occurrence, left to right. Paths are the platform's file name bytes (UTF-8),
// where an ASCII byte never sits inside a multibyte character, so a byte search is exact.
std::string RemoveEverywhere(std::string text, std::string_view what) {
    size_t found = text.find(what);
    while (found != std::string::npos) {
        text.erase(found, what.size());
        found = text.find(what, found);
    }
    return text;
}

// UTF-16 units one GBK character converts to. Plain ASCII and well-formed pairs are one unit;
// anything else is asked of the converter, which may split a malformed pair in two.
size_t UnitsOfCharacter(std::string_view character) {
    unsigned char lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1 && lead < 0x80) return 1;
    if (character.size() == 2 && IsGbkTrailByte(static_cast<unsigned char>(character[1]))) {
        return 1;
    }
    return GbkToUtf16(character).size();
}

// "<title><number>", with the title shortened at a character boundary when both would not fit
// the 63 bytes a title holds.
std::string PieceTitle(std::string_view title, int number) {
    std::string digits = std::to_string(number);
    size_t room = kTitleBytes - 1 - digits.size();
    size_t keep = 0;
    while (keep < title.size()) {
        size_t step = GbkCharLength(title, keep);
        if (keep + step > room) break;
        keep += step;
    }
    return std::string(title.substr(0, keep)) + digits;
}

}  // namespace

std::string OutputBase(std::string_view bookSourcePath) {
    // Only the file name: a folder called notes.txt.d must not send the books elsewhere.
    const size_t nameStart = bookSourcePath.rfind('/') + 1;  // 0 when there is no folder
    std::string base(bookSourcePath.substr(nameStart));
    // Removing one spelling may join the other's letters, so repeat until both are gone.
    for (;;) {
        size_t before = base.size();
        base = RemoveEverywhere(std::move(base), ".txt");
        base = RemoveEverywhere(std::move(base), ".TXT");
        if (base.size() == before) return std::string(bookSourcePath.substr(0, nameStart)) + base;
    }
}

std::string BookFileName(std::string_view outputBase, std::string_view extension, int number) {
    std::string name(outputBase);
    if (number != 0) name += std::to_string(number);
    name += '.';
    name += extension;
    return name;
}

bool ComputeWorkingLengths(std::vector<ChapterRecord>& chapters, uint32_t textLength) {
    if (chapters.empty()) return true;
    if (chapters.front().offset != 0) return false;
    for (size_t i = 0; i + 1 < chapters.size(); ++i) {
        if (chapters[i + 1].offset <= chapters[i].offset) return false;
    }
    if (chapters.back().offset >= textLength) return false;
    for (size_t i = 0; i + 1 < chapters.size(); ++i) {
        chapters[i].length = chapters[i + 1].offset - chapters[i].offset;
    }
    chapters.back().length = textLength - chapters.back().offset;
    return true;
}

std::vector<ChapterRecord> CutIntoPieces(std::string_view bookText,
                                         const std::vector<ChapterRecord>& chapters,
                                         uint32_t pieceBytes) {
    std::vector<ChapterRecord> result;
    result.reserve(chapters.size());
    const size_t pieceUnits = pieceBytes / 2;
    for (const ChapterRecord& chapter : chapters) {
        std::string_view body;
        if (chapter.offset < bookText.size())
            body = bookText.substr(chapter.offset, chapter.length);
        if (GbkToUtf16(body).size() * 2 <= pieceBytes) {
            result.push_back(chapter);
            continue;
        }
        // Pieces end on character boundaries of the book text, so each one's GBK length is the
        // bytes it really covers (converting the UTF-16 back would not give the source bytes
        // of a malformed pair, and the following pieces would drift).
        int number = 0;
        size_t pieceStart = 0;
        size_t units = 0;
        size_t at = 0;
        auto closePiece = [&](size_t end) {
            ChapterRecord piece;
            piece.SetTitle(PieceTitle(chapter.Title(), ++number));
            piece.offset = chapter.offset + static_cast<uint32_t>(pieceStart);
            piece.length = static_cast<uint32_t>(end - pieceStart);
            result.push_back(piece);
            pieceStart = end;
            units = 0;
        };
        while (at < body.size()) {
            size_t length = GbkCharLength(body, at);
            size_t characterUnits = UnitsOfCharacter(body.substr(at, length));
            if (units + characterUnits > pieceUnits && units > 0) closePiece(at);
            units += characterUnits;
            at += length;
        }
        if (at > pieceStart) closePiece(at);
    }
    return result;
}

uint32_t FileStep(uint32_t textLength, uint32_t step, uint32_t smallRest) {
    if (textLength <= step) return step;
    uint32_t fullSteps = textLength / step;
    uint32_t rest = textLength - fullSteps * step;
    if (rest >= smallRest) return step;
    return textLength / (fullSteps + 1) + smallRest / fullSteps;
}

std::vector<PlannedFile> PlanFiles(const std::vector<ChapterRecord>& chapters, uint32_t textLength,
                                   uint32_t step, uint32_t smallRest) {
    std::vector<PlannedFile> files;
    const uint32_t count = static_cast<uint32_t>(chapters.size());
    const uint32_t fileStep = FileStep(textLength, step, smallRest);
    uint32_t first = 0;
    uint32_t offset = 0;
    uint32_t remaining = textLength;
    int number = 0;
    // Cut while the rest is longer than a step, and also while more chapters remain than one
    // file holds.
    while (first < count && (remaining > fileStep || count - first > kMaxChapters)) {
        // The chapters that start within this step, at most 99 of them: the last one found
        // begins the next file, so a file holds at most 98.
        uint32_t within = 0;
        while (first + within < count && within < kMaxChapters + 1 &&
               uint64_t{chapters[first + within].offset} <= uint64_t{offset} + fileStep) {
            ++within;
        }
        uint32_t next = first + within - 1;
        if (next <= first) {
            // The chapter alone is longer than the step: it gets a file of its own, and when it
            // is the last one it becomes the final file.
            if (first + 1 >= count) break;
            next = first + 1;
        }
        uint32_t length = chapters[next].offset - chapters[first].offset;
        files.push_back(PlannedFile{first, next, offset, length, ++number});
        remaining -= length < remaining ? length : remaining;
        offset += length;
        first = next;
    }
    if (first < count) {
        files.push_back(PlannedFile{first, count, offset, remaining, number == 0 ? 0 : number + 1});
    }
    return files;
}

}  // namespace brisna
