// Any file bytes through the loading steps. The digit replacement and the normalisation each
// give back no more bytes than they took, leave no CR without its LF, and agree byte for byte
// with a plain, obviously correct model of each step (the real ones copy in long stretches for
// speed, which is where an off-by-one would hide).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/BookLoading.h"
#include "text/CodePage936.h"

namespace {

using namespace brisna;

// Walks the text character by character; a full-width digit that starts a character becomes its
// ASCII digit.
std::string ModelReplaceDigits(std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        if (IsGbkLeadByte(byte) && i + 1 < text.size()) {
            unsigned char trail = static_cast<unsigned char>(text[i + 1]);
            if (byte == 0xA3 && trail >= 0xB0 && trail <= 0xB9) {
                out += static_cast<char>('0' + (trail - 0xB0));
            } else {
                out += text.substr(i, 2);
            }
            i += 2;
        } else {
            out += static_cast<char>(byte);
            ++i;
        }
    }
    return out;
}

bool CrLfAt(std::string_view text, size_t i) {
    return i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n';
}

// One position at a time, up to the first NUL. The position stays on a character boundary, so
// A3 A0 is a full-width space only as a character of its own.
std::string ModelNormalize(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        bool pair = i + 1 < text.size() && IsGbkLeadByte(byte) &&
                    IsGbkTrailByte(static_cast<unsigned char>(text[i + 1]));
        if (pair && byte == 0xA3 && static_cast<unsigned char>(text[i + 1]) == 0xA0) {
            out += ' ';
            i += 2;
        } else if (pair) {
            out += text.substr(i, 2);
            i += 2;
        } else if (CrLfAt(text, i) && CrLfAt(text, i + 2)) {
            size_t pairs = 0;
            while (pairs < 10 && CrLfAt(text, i + 2 * pairs)) ++pairs;
            out += "\r\n\r\n";
            i += 2 * pairs;
        } else if (byte == '\r' && !CrLfAt(text, i)) {
            ++i;  // a CR on its own is dropped
        } else {
            out += static_cast<char>(byte);
            ++i;
        }
    }
    return out;
}

bool HasLoneCr(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);

    std::string digits = ReplaceFullWidthDigits(input);
    if (digits.size() > input.size()) std::abort();
    if (digits != ModelReplaceDigits(input)) std::abort();

    std::string normalized = NormalizeLoadedText(input);
    if (normalized.size() > input.size()) std::abort();
    if (HasLoneCr(normalized)) std::abort();
    if (normalized != ModelNormalize(input)) std::abort();

    // The whole load: cut at the first NUL, then both steps in order.
    std::string_view beforeNul = input.substr(0, input.find('\0'));
    std::string prepared = PrepareLoadedText(input);
    if (prepared.size() > beforeNul.size()) std::abort();
    if (prepared.find('\0') != std::string::npos) std::abort();
    if (HasLoneCr(prepared)) std::abort();
    if (prepared != ModelNormalize(ModelReplaceDigits(beforeNul))) std::abort();
    return 0;
}
