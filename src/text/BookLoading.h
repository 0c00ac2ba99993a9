#pragma once
// Bringing a plain-text book in: the size-limited read and the normalisations applied before the
// text reaches the view. Pure functions on paths and byte buffers, so the command line, the
// window and the tests share them.

#include <string>
#include <string_view>

namespace brisna {

enum class BookReadStatus {
    kOk,
    kCannotOpen,  // "打开文件失败"
    kTooLarge,    // 10 MiB or more, or the size cannot be told: "txt文件大小不能超过2M"
    kShortRead,   // fewer bytes arrived than the size promised: "读取文件失败"
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

}  // namespace brisna
