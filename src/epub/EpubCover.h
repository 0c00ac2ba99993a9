#pragma once
// The cover of an EPUB: a picture the operator chose, one lying beside the book, or one drawn
// from the title and author. A drawn cover depends on nothing but them (and the installed
// fonts), so the same book gets the same picture.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "epub/EpubMetadata.h"

namespace brisna {

inline constexpr int kCoverWidth = 1200;
inline constexpr int kCoverHeight = 1600;
// The largest cover picture taken into a book.
inline constexpr uint64_t kMaxCoverBytes = 16 * 1024 * 1024;

// "image/jpeg" or "image/png" for the bytes of such a picture, else nothing.
std::optional<std::string> PictureMediaType(std::string_view bytes);

// A PNG of kCoverWidth x kCoverHeight with the title (and the author, when there is one) set in
// a Chinese face on a plain ground. Empty when the picture could not be drawn.
EpubCover DrawCover(std::string_view titleUtf8, std::string_view authorUtf8);

// Those of cover.jpg, cover.png, BOOK.jpg and BOOK.png in the book's folder that exist, in this
// order (BOOK is the book's file name without ".txt").
std::vector<std::string> CoversBesideBook(std::string_view bookSourcePath);

enum class CoverFileStatus { kOk, kCannotRead, kTooLarge, kNotAPicture };

struct CoverFileResult {
    CoverFileStatus status = CoverFileStatus::kOk;
    EpubCover cover;
    int error = 0;  // the system's error number, when the file could not be read
};

// Reads a JPEG or PNG cover file.
CoverFileResult ReadCoverFile(const std::string& path);

}  // namespace brisna
