#pragma once
// Bringing a plain-text book in: the size-limited read and the normalisations applied before the
// text reaches the view. Pure functions on paths and byte buffers, so the command line, the
// window and the tests share them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/TextEncoding.h"

namespace brisna {

enum class BookReadStatus {
    kOk,
    kCannotOpen,  // "打开文件失败"
    kTooLarge,    // 10 MiB or more, or the size cannot be told: "txt文件大小不能超过10M"
    kShortRead,   // fewer bytes arrived than the size promised: "读取文件失败"
    kNotText,  // detected bytes that fit no encoding (a program, a picture): "文件不是文本，未载入"
};

struct BookReadResult {
    BookReadStatus status = BookReadStatus::kOk;
    std::string bytes;  // the whole file when status is kOk, else empty
};

// Reads a whole book file (path in the platform's file name bytes) under the text bound.
BookReadResult ReadBookFile(const std::string& path);

// The message a failed read shows (GBK); empty for kOk.
std::string BookReadMessage(BookReadStatus status);

// Full-width digits ０ .. ９ (A3 B0 .. A3 B9) become ASCII digits where they start on a character
// boundary; everything else is copied.
std::string ReplaceFullWidthDigits(std::string_view gbk);

// One pass: the character A3 A0 becomes a space, runs of two or more CR LF pairs become one blank
// line (CR LF CR LF) per ten pairs, a CR without LF is dropped. Never longer than its input.
std::string NormalizeLoadedText(std::string_view gbk);

// The text a file's bytes load as: up to the first NUL, digits replaced, normalised.
std::string PrepareLoadedText(std::string_view fileBytes);

// A book file in another encoding may be larger than its GBK text; one of more than this many
// bytes is refused before it is read.
inline constexpr uint64_t kMaxSourceBytes = 32 * 1024 * 1024;
// The bound to read a book's bytes under, from a file or a stream alike: kMaxSourceBytes itself
// is still taken.
inline constexpr uint64_t kSourceReadLimit = kMaxSourceBytes + 1;

struct BookLoadResult {
    BookReadStatus status = BookReadStatus::kOk;
    std::string text;                            // the loaded GBK text when status is kOk
    TextEncoding encoding = TextEncoding::kGbk;  // what the file was read as
    size_t replaced = 0;                         // characters GBK could not hold ('?' now)
    size_t firstReplacedLine = 0;                // 1-based line of the first of them, 0 if none
    size_t nulLine = 0;  // 1-based line of the NUL the text was cut at, 0 if it had none
    int error = 0;       // the system's error number when the file could not be read, else 0
};

// The notices a successful load leaves for the operator (GBK), in the order they are shown:
// replaced characters, then a NUL that cut the text.
std::vector<std::string> LoadNotices(const BookLoadResult& loaded);

// A text whose only line ends are CRs (not one LF) with each CR made CR LF; others unchanged.
std::string CrLineEndsToCrLf(std::string_view text);

// 1-based line of the byte at offset: lines end at LF or at a CR without one.
size_t LineOfOffset(std::string_view text, size_t offset);

// The text a book file's bytes load as in `encoding` (kAuto: detected): converted to GBK, then
// prepared as PrepareLoadedText does. GBK bytes are taken as they stand. kTooLarge when the GBK
// text would be 10 MiB or more. A text whose line ends are all CRs has them read as CR LF; a NUL
// ends the text (nulLine says where). Detection refuses bytes that are no text (kNotText).
BookLoadResult DecodeBookBytes(std::string_view fileBytes, TextEncoding encoding);

// Reads and decodes a book file (regular files only). A GBK file of 10 MiB or more is refused
// as ReadBookFile refuses it; other files are read up to kMaxSourceBytes and judged by the size
// of their GBK text.
BookLoadResult LoadBookFile(const std::string& path, TextEncoding encoding);

}  // namespace brisna
