#include "text/BookLoading.h"

#include <cstdio>
#include <memory>

#include "Capacities.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {
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
            return Utf8ToGbk("打开文件失败");
        case BookReadStatus::kTooLarge:
            return Utf8ToGbk("txt文件大小不能超过2M");
        case BookReadStatus::kShortRead:
            return Utf8ToGbk("读取文件失败");
        case BookReadStatus::kOk:
            break;
    }
    return {};
}

std::string ReplaceFullWidthDigits(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size());
    size_t copied = 0;  // text before this has been written out
    size_t at = 0;
    while (at < gbk.size()) {
        size_t length = GbkCharLength(gbk, at);
        if (length == 2 && static_cast<unsigned char>(gbk[at]) == kFullWidthLead) {
            unsigned char trail = static_cast<unsigned char>(gbk[at + 1]);
            if (trail >= kFullWidthZero && trail <= kFullWidthNine) {
                out.append(gbk.substr(copied, at - copied));
                out.push_back(static_cast<char>('0' + (trail - kFullWidthZero)));
                copied = at + 2;
            }
        }
        at += length;
    }
    out.append(gbk.substr(copied));
    return out;
}

std::string NormalizeLoadedText(std::string_view gbk) {
    gbk = UpToNul(gbk);
    const size_t size = gbk.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(gbk.data());
    std::string out;
    out.reserve(size);
    size_t copied = 0;  // bytes before this are already in out
    auto flush = [&](size_t upTo) { out.append(gbk.substr(copied, upTo - copied)); };

    // i always stands on a character boundary: A3 A0 is a full-width space only as a character
    // of its own, never as the trail byte of one character and the lead byte of the next.
    size_t i = 0;
    while (i < size) {
        const unsigned char byte = bytes[i];
        if (byte == kFullWidthLead && i + 1 < size && bytes[i + 1] == kFullWidthSpaceTrail) {
            flush(i);
            out.push_back(' ');
            i += 2;
            copied = i;
        } else if (byte == '\r') {
            if (IsCrLfAt(gbk, i) && IsCrLfAt(gbk, i + 2)) {
                // A run of blank lines shrinks to one, ten pairs at a time.
                size_t pairs = 0;
                while (pairs < kMaxBlankRunPairs && IsCrLfAt(gbk, i + 2 * pairs)) ++pairs;
                flush(i);
                out.append("\r\n\r\n");
                i += 2 * pairs;
                copied = i;
            } else if (IsCrLfAt(gbk, i)) {
                i += 2;  // a single line end stays as it is
            } else {
                flush(i);  // a CR without LF is dropped
                copied = ++i;
            }
        } else if (IsGbkLeadByte(byte) && i + 1 < size && IsGbkTrailByte(bytes[i + 1])) {
            i += 2;
        } else {
            ++i;
        }
    }
    flush(size);
    return out;
}

std::string PrepareLoadedText(std::string_view fileBytes) {
    return NormalizeLoadedText(ReplaceFullWidthDigits(UpToNul(fileBytes)));
}

}  // namespace brisna
