#include "epub/EpubReader.h"

#include "Capacities.h"
#include "epub/EpubArchive.h"
#include "epub/EpubChapterPlacement.h"
#include "epub/EpubContentsReading.h"
#include "epub/EpubMessages.h"
#include "epub/EpubPackage.h"
#include "epub/EpubSpineText.h"
#include "text/CodePage936.h"

namespace brisna {

namespace {

// The four steps in turn: package, spine text, contents, chapters. False when the book is
// refused; the reason is in the archive then.
bool ReadBook(EpubArchive& archive, EpubBook& book) {
    if (archive.Encrypted()) return false;
    std::optional<EpubPackage> package = ReadEpubPackage(archive, book.metadata);
    if (!package) return false;
    book.title = CutGbk(Utf8ToGbk(book.metadata.title), kTitleTextBytes);
    std::optional<EpubSpineText> spine = ReadSpineText(archive, *package);
    if (!spine) return false;
    std::optional<std::vector<EpubContentsPoint>> points = ReadContentsPoints(archive, *package);
    if (!points) return false;
    PlaceEpubChapters(*points, *spine, book);
    book.text = std::move(spine->converted.gbk);
    book.replaced = spine->converted.replaced;
    book.firstReplacedLine = spine->converted.firstReplacedLine;
    return true;
}

}  // namespace

EpubReadResult ReadEpub(std::string_view bytes) {
    EpubReadResult result;
    std::unique_ptr<ZipArchiveReader> zip =
        ZipArchiveReader::Open(bytes, {kMaxEpubEntryBytes, kMaxEpubInflatedBytes});
    if (!zip) {
        result.message = Utf8ToGbk(epub_messages::kNotZip);
        return result;
    }
    EpubArchive archive(*zip);
    if (!ReadBook(archive, result.book)) {
        result.message = Utf8ToGbk(archive.Refused() ? archive.Refusal()
                                                     : std::string(epub_messages::kCannotParse));
        result.book = EpubBook();
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace brisna
