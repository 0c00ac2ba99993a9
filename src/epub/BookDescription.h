#pragma once
// What an EPUB of a book says about it: title, author, language, summary and identifier, taken
// from what the operator gave, the text's own head, or the book's file name, never empty.

#include <cstdint>
#include <string>
#include <string_view>

#include "epub/EpubMessages.h"
#include "epub/EpubMetadata.h"

namespace brisna {

// The title a book gets when nothing names it.
inline constexpr std::string_view kUntitledBook = epub_messages::kUntitled;

// The metadata of a book. Title and author come from, in this order: `known` (the operator's
// choices, or an opened EPUB's own metadata), the text's head (《书名》, 书名：…, 作者：…, or a
// short first line that is neither a heading nor a sentence), the file name's forms
// 《书名》作者：某某, 书名 作者：某某, 书名_某某 and 书名(某某), the bare file name, and
// "（无标题）". Control characters never reach a title or an author. The language is known's, or
// zh-TW for a text in Traditional characters, else zh-CN; the description known's, else the
// text's 内容简介. The identifier is made from the text alone, so the same text always gets the
// same one; `modifiedSeconds` (seconds since 1970, UTC) is the modification date.
EpubMetadata DescribeBook(std::string_view gbkText, std::string_view bookSourcePath,
                          int64_t modifiedSeconds, const EpubMetadata& known = {});

// Title and author as the file name gives them (either may be empty).
struct NameParts {
    std::string title;
    std::string author;
};
NameParts NamePartsOfFile(std::string_view bookSourcePath);

// The text with control characters (and DEL) left out and spaces around it trimmed (UTF-8).
std::string CleanMetadataText(std::string_view utf8);

// True when the text is written in Traditional characters.
bool IsTraditionalText(std::string_view gbkText);

}  // namespace brisna
