// The loading steps scan 64 bytes at a time and track character boundaries with bit masks.
// Texts with long runs of lead-range bytes, crossing block edges at every parity, are checked
// against character-by-character models of each step.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/TestSupport.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"

namespace brisna {
namespace {

std::string ModelDigits(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (IsGbkLeadByte(byte) && i + 1 < text.size()) {
            auto trail = static_cast<unsigned char>(text[i + 1]);
            if (byte == 0xA3 && trail >= 0xB0 && trail <= 0xB9) {
                out += static_cast<char>('0' + trail - 0xB0);
            } else {
                out += text.substr(i, 2);
            }
            i += 2;
        } else {
            out += text[i++];
        }
    }
    return out;
}

bool CrLf(std::string_view text, size_t i) {
    return i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n';
}

std::string ModelNormalize(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::string out;
    for (size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        bool pair = i + 1 < text.size() && IsGbkLeadByte(byte) &&
                    IsGbkTrailByte(static_cast<unsigned char>(text[i + 1]));
        if (pair) {
            out += byte == 0xA3 && static_cast<unsigned char>(text[i + 1]) == 0xA0
                       ? std::string(" ")
                       : std::string(text.substr(i, 2));
            i += 2;
        } else if (CrLf(text, i) && CrLf(text, i + 2)) {
            size_t pairs = 0;
            while (pairs < 10 && CrLf(text, i + 2 * pairs)) ++pairs;
            out += "\r\n\r\n";
            i += 2 * pairs;
        } else if (byte == '\r' && !CrLf(text, i)) {
            ++i;
        } else {
            out += text[i++];
        }
    }
    return out;
}

// Mostly lead-range bytes (long runs of two-byte characters), with the bytes that matter.
std::string RandomBookBytes(std::mt19937& random, size_t size) {
    static const unsigned char kPool[] = {0xA3, 0xA3, 0xB1, 0xB9, 0xA0, 0xB0, 0xD6, 0xFE,
                                          0x81, 0xFF, 0x80, 0x40, '\r', '\n', 'a',  ' '};
    std::uniform_int_distribution<size_t> pick(0, std::size(kPool) - 1);
    std::uniform_int_distribution<int> crlfRun(0, 40);
    std::string text;
    while (text.size() < size) {
        if (crlfRun(random) == 0) {
            text.append(2 * static_cast<size_t>(crlfRun(random) % 23), '\r');
            for (size_t k = text.size() - 1; k + 1 > 0 && text[k] == '\r'; k -= 2) text[k] = '\n';
        }
        text.push_back(static_cast<char>(kPool[pick(random)]));
    }
    return text;
}

TEST(BlockScanLoading, AgreesWithCharacterByCharacterModels) {
    std::mt19937 random(99);
    for (int round = 0; round < 400; ++round) {
        std::string text = RandomBookBytes(random, 1 + static_cast<size_t>(round) * 3);
        if (round % 7 == 0) text.insert(text.size() / 2, 1, '\0');
        ASSERT_EQ(ReplaceFullWidthDigits(text), ModelDigits(text)) << test::U(text);
        ASSERT_EQ(NormalizeLoadedText(text), ModelNormalize(text)) << test::U(text);
        std::string cut = text.substr(0, text.find('\0'));
        ASSERT_EQ(PrepareLoadedText(text), ModelNormalize(ModelDigits(cut))) << test::U(text);
    }
}

TEST(BlockScanLoading, CharacterBoundaryCarriesAcrossBlocks) {
    // A run of lead-range bytes ending on the last byte of a block leaves a half character that
    // the next block completes: its A3 B1 is a second byte plus a first, never a digit.
    for (size_t run = 60; run < 70; ++run) {
        std::string text(run, '\xB0');
        text += "\xA3\xB1\xA3\xA0";
        std::string expected(run, '\xB0');
        expected += run % 2 == 0 ? std::string("1 ") : std::string("\xA3\xB1\xA3\xA0");
        EXPECT_EQ(PrepareLoadedText(text), expected) << run;
    }
}

}  // namespace
}  // namespace brisna
