#pragma once
// Small EPUBs put together by the tests, entry by entry.

#include <string>
#include <utility>
#include <vector>

#include "epub/EpubZip.h"

namespace brisna::test {

inline const char kContainerXml[] =
    "<?xml version=\"1.0\"?><container version=\"1.0\" "
    "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles><rootfile "
    "full-path=\"OPS/book.opf\" media-type=\"application/oebps-package+xml\"/></rootfiles>"
    "</container>";

// A package listing the documents (name in OPS/, XHTML body) in spine order, with a nav
// document when nav is not empty and an NCX when ncx is not empty.
inline std::vector<ZipEntry> SmallEpub(const std::vector<std::pair<std::string, std::string>>& docs,
                                       const std::string& navBody = "",
                                       const std::string& ncxMap = "") {
    std::string manifest, spine;
    std::vector<ZipEntry> entries{{"mimetype", "application/epub+zip", true},
                                  {"META-INF/container.xml", kContainerXml, false}};
    for (size_t i = 0; i < docs.size(); ++i) {
        const std::string id = "d" + std::to_string(i);
        manifest += "<item id=\"" + id + "\" href=\"" + docs[i].first +
                    "\" media-type=\"application/xhtml+xml\"/>";
        spine += "<itemref idref=\"" + id + "\"/>";
        entries.push_back({"OPS/" + docs[i].first,
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html "
                           "xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head>"
                           "<body>" +
                               docs[i].second + "</body></html>",
                           false});
    }
    if (!navBody.empty()) {
        manifest +=
            "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" "
            "properties=\"nav\"/>";
        entries.push_back({"OPS/nav.xhtml",
                           "<html xmlns=\"http://www.w3.org/1999/xhtml\" "
                           "xmlns:epub=\"http://www.idpf.org/2007/ops\"><body><nav "
                           "epub:type=\"toc\">" +
                               navBody + "</nav></body></html>",
                           false});
    }
    if (!ncxMap.empty()) {
        manifest += "<item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>";
        entries.push_back({"OPS/toc.ncx",
                           "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\"><navMap>" + ncxMap +
                               "</navMap></ncx>",
                           false});
    }
    entries.push_back({"OPS/book.opf",
                       "<?xml version=\"1.0\"?><package xmlns=\"http://www.idpf.org/2007/opf\" "
                       "version=\"3.0\"><metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
                       "<dc:title>书</dc:title></metadata><manifest>" +
                           manifest + "</manifest><spine toc=\"ncx\">" + spine +
                           "</spine></package>",
                       false});
    return entries;
}

inline std::string Zipped(const std::vector<ZipEntry>& entries) {
    return BuildZip(entries).value_or("");
}

}  // namespace brisna::test
