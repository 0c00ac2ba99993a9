#include "text/BookLoading.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Capacities.h"
#include "text/CodePage936.h"
#include "text/EncodingConversion.h"
#include "text/EncodingDetection.h"
#include "text/FileReading.h"
#include "text/GbkText.h"
#include "text/TextMessages.h"

namespace brisna {

namespace msg = text_messages;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

constexpr unsigned char kFullWidthLead = 0xA3;
constexpr unsigned char kFullWidthZero = 0xB0;
constexpr unsigned char kFullWidthNine = 0xB9;
constexpr unsigned char kFullWidthSpaceTrail = 0xA0;
constexpr size_t kMaxBlankRunPairs = 10;

bool IsCrLfAt(std::string_view text, size_t at) {
    return at + 1 < text.size() && text[at] == '\r' && text[at + 1] == '\n';
}

// Where the bytes of a 64-byte block are lead-range bytes (0x81 .. 0xFE), A3 and CR: bit k for
// byte k.
struct BlockMasks {
    uint64_t lead = 0;
    uint64_t a3 = 0;
    uint64_t cr = 0;
};

constexpr size_t kBlock = 64;

BlockMasks ScanBlock(const unsigned char* block) {
    BlockMasks masks;
#if defined(__SSE2__)
    const __m128i leadBase = _mm_set1_epi8(static_cast<char>(0x81));
    const __m128i leadSpan = _mm_set1_epi8(0xFE - 0x81);
    const __m128i a3 = _mm_set1_epi8(static_cast<char>(kFullWidthLead));
    const __m128i cr = _mm_set1_epi8('\r');
    for (size_t part = 0; part < kBlock / 16; ++part) {
        __m128i bytes;
        std::memcpy(&bytes, block + 16 * part, sizeof bytes);
        __m128i shifted = _mm_sub_epi8(bytes, leadBase);  // lead bytes land on 0 .. 0x7D
        __m128i isLead = _mm_cmpeq_epi8(_mm_min_epu8(shifted, leadSpan), shifted);
        auto bits = [&](__m128i hits) {
            return static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(hits)))
                   << (16 * part);
        };
        masks.lead |= bits(isLead);
        masks.a3 |= bits(_mm_cmpeq_epi8(bytes, a3));
        masks.cr |= bits(_mm_cmpeq_epi8(bytes, cr));
    }
#else
    for (size_t k = 0; k < kBlock; ++k) {
        const uint64_t bit = uint64_t{1} << k;
        if (IsGbkLeadByte(block[k])) masks.lead |= bit;
        if (block[k] == kFullWidthLead) masks.a3 |= bit;
        if (block[k] == '\r') masks.cr |= bit;
    }
#endif
    return masks;
}

// The lead-range bytes of a block that are second bytes of a character. Lead-range bytes are
// valid second bytes too, so within a run of them characters simply alternate from the run's
// first byte; a run starts on a character boundary, because every other byte ends a character.
// `firstIsTrail` says that the block's first byte completes a character begun in the block
// before; it is updated for the next block.
uint64_t TrailBytes(uint64_t lead, bool& firstIsTrail) {
    constexpr uint64_t kEvenBits = 0x5555555555555555ULL;
    uint64_t evenStarts = lead & ~(lead << 1) & kEvenBits;
    // A run that continues a character from the block before behaves as begun one byte earlier.
    if (firstIsTrail) evenStarts &= ~uint64_t{1};
    // Adding a run's lowest bit clears the whole run: what is cleared began on an even bit.
    const uint64_t fromEven = lead & ~(lead + evenStarts);
    const uint64_t fromOdd = lead & ~fromEven;
    const uint64_t trails = (fromEven & ~kEvenBits) | (fromOdd & kEvenBits);
    firstIsTrail = ((lead & ~trails) >> 63) != 0;
    return trails;
}

enum Steps : unsigned { kDigits = 1, kNormalize = 2 };

// The digit replacement and/or the normalisation in one pass. Only character-starting A3 bytes
// and CRs can change anything, so the text is scanned a block at a time for those and copied in
// long stretches between them.
std::string Transform(std::string_view text, unsigned steps) {
    const size_t size = text.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::string out;
    out.reserve(size);
    size_t copied = 0;  // bytes before this are already in out
    size_t next = 0;    // bytes before this have been dealt with
    auto flush = [&](size_t upTo) { out.append(text.substr(copied, upTo - copied)); };

    bool firstIsTrail = false;
    unsigned char padded[kBlock];
    for (size_t block = 0; block < size; block += kBlock) {
        const unsigned char* scanned = bytes + block;
        if (size - block < kBlock) {
            // Zero padding is neither a lead byte, nor A3, nor CR.
            std::memset(padded, 0, sizeof padded);
            std::memcpy(padded, scanned, size - block);
            scanned = padded;
        }
        const BlockMasks masks = ScanBlock(scanned);
        // A3 is a lead-range byte, so clearing the second bytes leaves those that start one.
        uint64_t events = masks.a3 & ~TrailBytes(masks.lead, firstIsTrail);
        if (steps & kNormalize) events |= masks.cr;  // a CR is never part of a pair

        for (; events != 0; events &= events - 1) {
            const size_t at = block + static_cast<size_t>(std::countr_zero(events));
            if (at < next) continue;
            if (bytes[at] == kFullWidthLead) {
                if (at + 1 >= size) continue;  // a lead byte alone at the end
                const unsigned char trail = bytes[at + 1];
                if ((steps & kDigits) && trail >= kFullWidthZero && trail <= kFullWidthNine) {
                    flush(at);
                    out.push_back(static_cast<char>('0' + (trail - kFullWidthZero)));
                    copied = next = at + 2;
                } else if ((steps & kNormalize) && trail == kFullWidthSpaceTrail) {
                    flush(at);
                    out.push_back(' ');
                    copied = next = at + 2;
                }
            } else if (IsCrLfAt(text, at) && IsCrLfAt(text, at + 2)) {
                // A run of blank lines shrinks to one, ten pairs at a time.
                size_t pairs = 0;
                while (pairs < kMaxBlankRunPairs && IsCrLfAt(text, at + 2 * pairs)) ++pairs;
                flush(at);
                out.append("\r\n\r\n");
                copied = next = at + 2 * pairs;
            } else if (!IsCrLfAt(text, at)) {
                flush(at);  // a CR without LF is dropped
                copied = next = at + 1;
            }
        }
    }
    flush(size);
    return out;
}
}  // namespace

BookReadResult ReadBookFile(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return {BookReadStatus::kCannotOpen, {}};

    // A failed size query gives a negative position, which as an unsigned size is refused too.
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return {BookReadStatus::kTooLarge, {}};
    long position = std::ftell(file.get());
    if (position < 0 || static_cast<unsigned long>(position) >= kMaxTextBytes) {
        return {BookReadStatus::kTooLarge, {}};
    }
    if (std::fseek(file.get(), 0, SEEK_SET) != 0) return {BookReadStatus::kShortRead, {}};

    BookReadResult result;
    result.bytes.resize(static_cast<size_t>(position));
    size_t got = std::fread(result.bytes.data(), 1, result.bytes.size(), file.get());
    if (got != result.bytes.size()) return {BookReadStatus::kShortRead, {}};
    return result;
}

std::string BookReadMessage(BookReadStatus status) {
    switch (status) {
        case BookReadStatus::kCannotOpen:
            return Utf8ToGbk(msg::kOpenFileFailed);
        case BookReadStatus::kTooLarge:
            return Utf8ToGbk(msg::kTxtTooLarge);
        case BookReadStatus::kShortRead:
            return Utf8ToGbk(msg::kReadFileFailed);
        case BookReadStatus::kNotText:
            return Utf8ToGbk(msg::kNotText);
        case BookReadStatus::kOk:
            break;
    }
    return {};
}

std::string ReplaceFullWidthDigits(std::string_view gbk) {
    return Transform(gbk, kDigits);
}

std::string NormalizeLoadedText(std::string_view gbk) {
    return Transform(UpToNul(gbk), kNormalize);
}

std::string PrepareLoadedText(std::string_view fileBytes) {
    // One pass does both: a replaced digit is a one-byte character where a two-byte one stood,
    // so the normalisation sees the same character boundaries, CRs and full-width spaces.
    return Transform(UpToNul(fileBytes), kDigits | kNormalize);
}

std::string CrLineEndsToCrLf(std::string_view text) {
    if (text.find('\r') == std::string_view::npos || text.find('\n') != std::string_view::npos) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char byte : text) {
        out.push_back(byte);
        if (byte == '\r') out.push_back('\n');
    }
    return out;
}

size_t LineOfOffset(std::string_view text, size_t offset) {
    // Lines end at LF or at a CR without one; neither byte is ever part of a GBK pair.
    size_t line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++line;
        }
    }
    return line;
}

BookLoadResult DecodeBookBytes(std::string_view fileBytes, TextEncoding encoding) {
    BookLoadResult result;
    result.encoding = encoding;
    std::optional<GbkConversion> converted;
    bool notText = false;
    if (encoding == TextEncoding::kAuto) {
        // DetectTextEncoding's order, with the UTF-8 check and conversion done in one pass.
        result.encoding = DetectMarkedEncoding(fileBytes);
        if (result.encoding == TextEncoding::kAuto) {
            if (!HasNonAscii(fileBytes)) {
                result.encoding = TextEncoding::kGbk;
            } else if ((converted = ConvertValidUtf8ToGbk(fileBytes))) {
                result.encoding = TextEncoding::kUtf8;
            } else if (ReadsAsUtf8(fileBytes)) {
                result.encoding = TextEncoding::kUtf8;  // a few damaged sequences become '?'
            } else {
                result.encoding =
                    LooksLikeBig5(fileBytes) ? TextEncoding::kBig5 : TextEncoding::kGbk;
            }
        }
        // Bytes that fit no encoding would load as whatever stands before their first NUL. A
        // byte-order mark or valid UTF-8 says text. Refused once the size has been judged.
        notText = result.encoding != TextEncoding::kUtf8 &&
                  ByteOrderMarkLength(fileBytes, result.encoding) == 0 &&
                  LooksLikeBinary(fileBytes, result.encoding);
    }
    std::string_view gbk = fileBytes;
    if (result.encoding == TextEncoding::kGbk) {
        if (fileBytes.size() >= kMaxTextBytes) {
            return {BookReadStatus::kTooLarge, {}, result.encoding};
        }
        if (notText) return {BookReadStatus::kNotText, {}, result.encoding};
    } else {
        if (!converted) converted = ConvertToGbk(fileBytes, result.encoding);
        if (converted->gbk.size() >= kMaxTextBytes) {
            return {BookReadStatus::kTooLarge, {}, result.encoding};
        }
        if (notText) return {BookReadStatus::kNotText, {}, result.encoding};
        gbk = converted->gbk;
        result.replaced = converted->replaced;
        result.firstReplacedLine = converted->firstReplacedLine;
    }
    // The book text ends at a NUL; what follows is dropped, and the operator is told where.
    const std::string_view kept = UpToNul(gbk);
    if (kept.size() < gbk.size()) result.nulLine = LineOfOffset(gbk, kept.size());
    if (kept.find('\n') == std::string_view::npos && kept.find('\r') != std::string_view::npos) {
        // CRs without a single LF are the line ends of the file, not stray bytes.
        result.text = PrepareLoadedText(CrLineEndsToCrLf(kept));
        if (result.text.size() >= kMaxTextBytes) {
            return {BookReadStatus::kTooLarge, {}, result.encoding};
        }
    } else {
        result.text = PrepareLoadedText(kept);
    }
    return result;
}

std::vector<std::string> LoadNotices(const BookLoadResult& loaded) {
    std::vector<std::string> notices;
    if (loaded.replaced > 0) {
        notices.push_back(ReplacedCharactersMessage(loaded.replaced, loaded.firstReplacedLine));
    }
    if (loaded.nulLine > 0) {
        notices.push_back(Utf8ToGbk(msg::NulLineNotice(loaded.nulLine)));
    }
    return notices;
}

BookLoadResult LoadBookFile(const std::string& path, TextEncoding encoding) {
    const uint64_t limit = encoding == TextEncoding::kGbk ? kMaxTextBytes : kSourceReadLimit;
    FileReadResult read = ReadRegularFile(path, limit);
    if (read.status == FileReadStatus::kOk) RememberInputFile(read.identity);
    BookLoadResult failed;
    failed.encoding = encoding;
    failed.error = read.error;
    switch (read.status) {
        case FileReadStatus::kOk:
            break;
        case FileReadStatus::kCannotOpen:
            failed.status = BookReadStatus::kCannotOpen;
            return failed;
        case FileReadStatus::kTooLarge:
            failed.status = BookReadStatus::kTooLarge;
            return failed;
        case FileReadStatus::kShortRead:
            failed.status = BookReadStatus::kShortRead;
            return failed;
    }
    return DecodeBookBytes(read.bytes, encoding);
}

}  // namespace brisna
