#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "book/BookTestData.h"
#include "book/CCompressLZ77.h"

namespace brisna {
namespace {

using test::BitBuilder;
using test::BitString;

std::vector<uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

struct Coded {
    int result;
    std::vector<uint8_t> stream;  // the whole destination buffer
};

Coded Code(CCompressLZ77& codec, const std::vector<uint8_t>& input) {
    Coded coded{0, std::vector<uint8_t>(input.size() + kLz77DestinationSlack, 0)};
    coded.result =
        codec.Compress(input.data(), static_cast<uint32_t>(input.size()), coded.stream.data());
    return coded;
}

std::vector<uint8_t> Decode(const std::vector<uint8_t>& stream, size_t streamLength,
                            size_t outputLength, int64_t* result = nullptr) {
    std::vector<uint8_t> output(65536, 0);
    int64_t produced =
        DecodeLz77(stream.data(), streamLength, output.data(), output.size(), outputLength);
    if (result) *result = produced;
    output.resize(produced < 0 ? 0 : static_cast<size_t>(produced));
    return output;
}

TEST(Lz77Coder, WorkedExampleOfEightEqualBytes) {
    CCompressLZ77 codec;
    Coded coded = Code(codec, std::vector<uint8_t>(8, 0x61));
    ASSERT_EQ(coded.result, 4);
    EXPECT_EQ(BitString(coded.stream, 0, 27), "010000001010000001100110100");
    EXPECT_EQ(std::vector<uint8_t>(coded.stream.begin(), coded.stream.begin() + 4),
              (std::vector<uint8_t>{0x40, 0xA0, 0x66, 0x80}));
    EXPECT_EQ(Decode(coded.stream, 4, 8), std::vector<uint8_t>(8, 0x61));
}

TEST(Lz77Coder, ResultsForTooLongTooShortAndEmptyInput) {
    CCompressLZ77 codec;
    // One byte codes as 9 bits, 2 bytes: not shorter, so 0.
    Coded one = Code(codec, {0x41});
    EXPECT_EQ(one.result, 0);
    EXPECT_EQ(Code(codec, {}).result, 0);
    std::vector<uint8_t> tooLong(65537, 0);
    std::vector<uint8_t> destination(65537 + kLz77DestinationSlack);
    EXPECT_EQ(codec.Compress(tooLong.data(), 65537, destination.data()), -1);
    // The largest block is accepted (and an all-zero block compresses well).
    Coded largest = Code(codec, std::vector<uint8_t>(65536, 0));
    ASSERT_GT(largest.result, 0);
    EXPECT_EQ(Decode(largest.stream, largest.result, 65536), std::vector<uint8_t>(65536, 0));
}

TEST(Lz77Coder, LiteralsHaveTheirTopThreeBitsInvertedAndTheFirstTwoAreAlwaysLiterals) {
    CCompressLZ77 codec;
    // Even a block that starts with a repeated pair begins with two literals.
    Coded coded = Code(codec, Bytes("\x41\xE0\x41\xE0\x41\xE0\x41\xE0\x41\xE0"));
    EXPECT_EQ(BitString(coded.stream, 0, 9),
              "0"
              "10100001");  // 0x41 -> 0xA1
    EXPECT_EQ(BitString(coded.stream, 9, 9),
              "0"
              "00000000");                           // 0xE0 -> 0x00
    EXPECT_EQ(BitString(coded.stream, 18, 1), "1");  // then a match
}

TEST(Lz77Coder, LengthCodes) {
    // A sequence without repeated pairs, then the same sequence: one match of its length from
    // position 0 right after the literals.
    struct Case {
        const char* input;
        const char* matchToken;  // flag, length code, offset
    } cases[] = {
        {"abab",
         "1"
         "0"
         "0"},  // L = 2, offset in 1 bit
        {"abcabc",
         "1"
         "100"
         "00"},  // L = 3, offset in 2 bits
        {"abcdabcd",
         "1"
         "101"
         "00"},  // L = 4, 2 bits
        {"abcdeabcde",
         "1"
         "11000"
         "000"},  // L = 5, 3 bits
        {"abcdefghiabcdefghi",
         "1"
         "1110000"
         "0000"},  // L = 9 = 2^3 + 0 + 1
    };
    CCompressLZ77 codec;
    for (const Case& c : cases) {
        const std::vector<uint8_t> input = Bytes(c.input);
        Coded coded = Code(codec, input);
        const size_t literals = input.size() / 2;
        EXPECT_EQ(BitString(coded.stream, 9 * literals, std::strlen(c.matchToken)), c.matchToken)
            << c.input;
    }
}

TEST(Lz77Coder, OffsetsAreAbsoluteAndGrowWithThePosition) {
    struct Case {
        const char* input;
        size_t literals;
        const char* matchToken;
    } cases[] = {
        {"xabab", 3,
         "1"
         "0"
         "01"},  // P = 3: source 1 in 2 bits
        {"xyabab", 4,
         "1"
         "0"
         "10"},  // P = 4: source 2 in 2 bits
        {"xyzabab", 5,
         "1"
         "0"
         "011"},  // P = 5: source 3 in 3 bits
    };
    CCompressLZ77 codec;
    for (const Case& c : cases) {
        Coded coded = Code(codec, Bytes(c.input));
        EXPECT_EQ(BitString(coded.stream, 9 * c.literals, std::strlen(c.matchToken)), c.matchToken)
            << c.input;
    }
}

TEST(Lz77Coder, ChoosesTheLongestMatchAndOnTiesTheNewest) {
    CCompressLZ77 codec;
    // "ab" at 0 and 3 both give length 2 at position 6: the newer one (3) is kept.
    // Tokens: a b X, (2 from 0), Y, then the match looked at.
    Coded tie = Code(codec, Bytes("abXabYab"));
    EXPECT_EQ(BitString(tie.stream, 27 + 4 + 9, 5),
              "1"
              "0"
              "011");
    // At position 7 the older "abc" (0) is longer than the newer "ab" (4).
    Coded longer = Code(codec, Bytes("abcXabYabc"));
    EXPECT_EQ(BitString(longer.stream, 36 + 4 + 9, 7),
              "1"
              "100"
              "000");
}

TEST(Lz77Coder, ARunOfEqualBytesKeepsOneNodeAtItsStart) {
    // "aaaa" then 'b' then "aaa": at position 5 the chain of "aa" holds one node for the run,
    // starting at 0, so the match comes from 0 and not from the newest pair position 2.
    CCompressLZ77 codec;
    Coded coded = Code(codec, Bytes("aaaabaaa"));
    // literal a, literal a, match (2 from 0), literal b, match (3 from 0 in 3 bits)
    EXPECT_EQ(BitString(coded.stream, 0, 18 + 3 + 9 + 7),
              "010000001"
              "010000001"
              "100"
              "010000010"
              "1100000");
}

TEST(Lz77Coder, MatchesTheStepByStepCoderBitForBit) {
    CCompressLZ77 codec;
    std::vector<std::vector<uint8_t>> inputs;
    for (uint32_t size : {2u, 3u, 17u, 100u, 1000u, 4099u}) {
        for (unsigned alphabet : {1u, 2u, 3u, 16u, 256u}) {
            inputs.push_back(test::RandomBytes(size, size * 31 + alphabet, alphabet));
        }
    }
    for (uint32_t size : {1000u, 32764u, 65536u}) inputs.push_back(test::SampleChineseUtf16(size));
    // More pairs than the coder's original node pool held (32767), still compressible.
    std::vector<uint8_t> many = test::RandomBytes(40000, 7);
    many.insert(many.end(), many.begin(), many.begin() + 25536);
    inputs.push_back(many);
    // Data made of copies of its own earlier parts, with small changes: long chains, long
    // matches, many ties.
    std::mt19937 random(42);
    for (int round = 0; round < 150; ++round) {
        std::vector<uint8_t> data = test::RandomBytes(2 + random() % 16, round, 2 + round % 5);
        const size_t size = 10 + random() % 5000;
        while (data.size() < size) {
            const size_t from = random() % data.size();
            const size_t length = 1 + random() % std::min<size_t>(64, data.size() - from);
            data.insert(data.end(), data.begin() + from, data.begin() + from + length);
            if (random() % 4 == 0) data.push_back(static_cast<uint8_t>('a' + random() % 3));
        }
        inputs.push_back(data);
    }
    for (const auto& input : inputs) {
        Coded fast = Code(codec, input);
        test::ReferenceOutput reference = test::ReferenceCompress(input);
        ASSERT_EQ(fast.result, reference.result) << input.size();
        if (fast.result > 0) {
            ASSERT_TRUE(std::equal(fast.stream.begin(), fast.stream.begin() + fast.result,
                                   reference.stream.begin()))
                << input.size();
        }
    }
}

TEST(Lz77Coder, RoundTripsOfTextAndData) {
    CCompressLZ77 codec;
    std::vector<std::vector<uint8_t>> inputs = {
        test::SampleChineseUtf16(32764, 3),
        test::SampleChineseUtf16(65536, 4),
        test::RandomBytes(20000, 5, 4),
        std::vector<uint8_t>(65536, 0x7F),
    };
    std::vector<uint8_t> many = test::RandomBytes(50000, 9);
    many.insert(many.end(), many.begin() + 100, many.begin() + 15636);
    inputs.push_back(many);
    for (const auto& input : inputs) {
        Coded coded = Code(codec, input);
        ASSERT_GT(coded.result, 0) << input.size();
        EXPECT_EQ(Decode(coded.stream, coded.result, input.size()), input);
        std::vector<uint8_t> output(input.size());
        EXPECT_EQ(codec.Decompress(output.data(), static_cast<uint32_t>(output.size()),
                                   coded.stream.data(), coded.result),
                  1);
        EXPECT_EQ(output, input);
    }
    // Random bytes do not get shorter.
    EXPECT_EQ(Code(codec, test::RandomBytes(30000, 6)).result, 0);
    EXPECT_EQ(Code(codec, test::RandomBytes(65536, 6)).result, 0);
}

TEST(Lz77Decoder, ReadsTheLongestLengthCode) {
    // A literal, then a match of 65535 from position 0 (offset of 0 bits at P = 1):
    // 15 one-bits, a zero, 32766 in 15 bits.
    BitBuilder stream;
    stream.Literal('q');
    stream.Match(65535, 0, 0);
    EXPECT_EQ(BitString(stream.Bytes(), 9, 32),
              "1"
              "111111111111111"
              "0"
              "111111111111110");
    int64_t result = 0;
    EXPECT_EQ(Decode(stream.Bytes(), stream.Bytes().size(), 65536, &result),
              std::vector<uint8_t>(65536, 'q'));
    EXPECT_EQ(result, 65536);
}

TEST(Lz77Decoder, DamagedStreamsGiveAnotherLength) {
    auto decode = [](const BitBuilder& stream, size_t outputLength, size_t capacity = 65536) {
        std::vector<uint8_t> output(capacity);
        return DecodeLz77(stream.Bytes().data(), stream.Bytes().size(), output.data(), capacity,
                          outputLength);
    };
    BitBuilder fromAhead;  // three literals, then a copy from position 3, not yet produced
    for (char c : {'a', 'b', 'c'}) fromAhead.Literal(c);
    fromAhead.Match(2, 3, 2);
    EXPECT_EQ(decode(fromAhead, 5), -1);

    BitBuilder overlapping;  // a copy that starts inside the output and runs into its own bytes
    overlapping.Literal('a');
    overlapping.Literal('b');
    overlapping.Match(6, 0, 1);
    EXPECT_EQ(decode(overlapping, 8), 8);

    BitBuilder pastEnd;  // a copy that would run past the destination
    pastEnd.Literal('a');
    pastEnd.Literal('b');
    pastEnd.Match(64, 0, 1);
    EXPECT_EQ(decode(pastEnd, 10, 10), -1);
    EXPECT_EQ(decode(pastEnd, 10, 100), 66);  // fits: more than asked, which callers refuse

    BitBuilder tooManyOnes;
    tooManyOnes.Literal('a');
    tooManyOnes.Put(0x3FFFF, 18);
    EXPECT_EQ(decode(tooManyOnes, 100), -1);

    BitBuilder shortStream;  // ends before the output is complete
    shortStream.Literal('a');
    EXPECT_EQ(decode(shortStream, 2), -1);

    std::vector<uint8_t> output(10);
    EXPECT_EQ(DecodeLz77(nullptr, 65537, output.data(), output.size(), 1), -1);
    EXPECT_EQ(DecodeLz77(fromAhead.Bytes().data(), 1, output.data(), output.size(), 11), -1);
    EXPECT_EQ(DecodeLz77(nullptr, 0, output.data(), output.size(), 0), 0);
}

TEST(Lz77Decoder, SurvivesEveryTruncationAndByteChangeOfAValidStream) {
    CCompressLZ77 codec;
    const std::vector<uint8_t> input = test::SampleChineseUtf16(600, 11);
    Coded coded = Code(codec, input);
    ASSERT_GT(coded.result, 0);
    std::vector<uint8_t> stream(coded.stream.begin(), coded.stream.begin() + coded.result);
    // Exact-size heap buffers, so the sanitizer sees any read or write past them.
    for (size_t length = 0; length < stream.size(); ++length) {
        std::vector<uint8_t> cut(stream.begin(), stream.begin() + length);
        std::vector<uint8_t> output(input.size());
        EXPECT_NE(DecodeLz77(cut.data(), cut.size(), output.data(), output.size(), input.size()),
                  static_cast<int64_t>(input.size()))
            << length;
    }
    for (size_t at = 0; at < stream.size(); ++at) {
        for (int bit = 0; bit < 8; ++bit) {
            std::vector<uint8_t> changed = stream;
            changed[at] ^= static_cast<uint8_t>(1 << bit);
            std::vector<uint8_t> output(input.size());
            int64_t result = DecodeLz77(changed.data(), changed.size(), output.data(),
                                        output.size(), input.size());
            EXPECT_LE(result, static_cast<int64_t>(input.size()));
        }
    }
}

}  // namespace
}  // namespace brisna
