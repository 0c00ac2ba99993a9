#pragma once
// One EPUB archive as its reader sees it: entries read within the zip bounds, documents parsed
// within the element bounds, and the first reason to refuse the book (UTF-8). Every step of
// reading stops as soon as Refused() is true.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "epub/EpubZip.h"
#include "epub/MarkupDocument.h"

namespace brisna {

class EpubArchive {
  public:
    explicit EpubArchive(ZipArchiveReader& zip) : zip_(zip) {}

    // The entry's bytes. A missing entry refuses the book only when it is required; an entry
    // over the bounds, damaged or under a zip password always does.
    std::optional<std::string> Entry(std::string_view name, bool required);
    // The entry's bytes when they can be read, without refusing anything (a picture the book
    // can do without).
    std::optional<std::string> OptionalEntry(std::string_view name);
    // The parsed document (XHTML when `markup`), after its elements were counted against the
    // bounds of one document and of the whole book; nothing when refused or unreadable.
    XmlDocument Parse(std::string_view bytes, bool markup);
    // Whether the book's text is encrypted (or its list of encryptions cannot be read); the
    // book is refused then. Obfuscated fonts are no encryption of the text.
    bool Encrypted();

    bool Refused() const { return !refusal_.empty(); }
    const std::string& Refusal() const { return refusal_; }
    void Refuse(std::string utf8) { refusal_ = std::move(utf8); }

  private:
    ZipArchiveReader& zip_;
    size_t elements_ = 0;
    std::string refusal_;
};

}  // namespace brisna
