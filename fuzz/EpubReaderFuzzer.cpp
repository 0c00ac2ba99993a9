// Any bytes as an EPUB, as one of its XHTML documents, or as its table of contents: reading
// never fails but with a message, and a book that is read is one the editor can hold: below the
// text bound, ending in a line break, without NUL, its contents entries in order from 0 (two may
// share a place), each at the start of a line.
//
// The first byte picks the form: 0 the whole file (a zip archive), 1 a document of a fixed
// package, 2 the nav document of a fixed package. Archives made from the input are built here,
// so the parsers see the input itself rather than a zip whose checksum no longer matches.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Capacities.h"
#include "epub/EpubReader.h"
#include "epub/EpubZip.h"

namespace {

using namespace brisna;

const char kContainer[] =
    "<?xml version=\"1.0\"?><container version=\"1.0\" "
    "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles><rootfile "
    "full-path=\"OPS/p.opf\" media-type=\"application/oebps-package+xml\"/></rootfiles>"
    "</container>";
const char kPackage[] =
    "<?xml version=\"1.0\"?><package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\">"
    "<metadata/><manifest><item id=\"a\" href=\"a.xhtml\" media-type=\"application/xhtml+xml\"/>"
    "<item id=\"b\" href=\"sub/b.xhtml\" media-type=\"application/xhtml+xml\"/>"
    "<item id=\"n\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>"
    "</manifest><spine><itemref idref=\"a\"/><itemref idref=\"b\"/></spine></package>";
const char kSecond[] =
    "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body><h1 id=\"x\">第二章</h1><p>乙</p>"
    "<p id=\"y\">丙</p></body></html>";
const char kNav[] =
    "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\">"
    "<body><nav epub:type=\"toc\"><ol><li><a href=\"a.xhtml\">一</a></li><li><a "
    "href=\"sub/b.xhtml#y\">二</a></li></ol></nav></body></html>";

std::string PackageWith(std::string_view first, std::string_view nav) {
    return BuildZip({{"mimetype", "application/epub+zip", true},
                     {"META-INF/container.xml", kContainer, false},
                     {"OPS/p.opf", kPackage, false},
                     {"OPS/a.xhtml", std::string(first), false},
                     {"OPS/sub/b.xhtml", kSecond, false},
                     {"OPS/nav.xhtml", std::string(nav), false}})
        .value_or("");
}

void CheckBook(const EpubReadResult& read) {
    if (!read.ok) {
        if (read.message.empty() || !read.book.text.empty()) std::abort();
        return;
    }
    const EpubBook& book = read.book;
    if (book.text.size() < 2 || book.text.size() >= kMaxTextBytes) std::abort();
    if (book.text.compare(book.text.size() - 2, 2, "\r\n") != 0) std::abort();
    if (book.text.find('\0') != std::string::npos) std::abort();
    if (book.toc.empty() || book.toc.front().offset != 0) std::abort();
    for (size_t i = 0; i < book.toc.size(); ++i) {
        const TocEntry& entry = book.toc[i];
        if (entry.offset >= book.text.size() || entry.title.size() > kMaxEpubTitleBytes) {
            std::abort();
        }
        if (i > 0 && entry.offset < book.toc[i - 1].offset) std::abort();
        if (entry.offset > 0 && book.text.compare(entry.offset - 2, 2, "\r\n") != 0) std::abort();
        if (entry.level < 1 || entry.level > kMaxEpubContentsDepth) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
        case 0:
            CheckBook(ReadEpub(input));
            break;
        case 1:
            CheckBook(ReadEpub(PackageWith(input, kNav)));
            break;
        default:
            CheckBook(ReadEpub(PackageWith("<html><body><p>甲</p></body></html>", input)));
            break;
    }
    return 0;
}
