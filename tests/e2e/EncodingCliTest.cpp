// A real book saved in each encoding books come in gives the same chapters and byte-identical
// generated files; a GBK file name gives its name to the books. The book is built at test time
// from the Chinese manual pages installed on the machine.
#include <gtest/gtest.h>
#include <opencc/opencc.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna::e2e {
namespace {

using test::G;

// The text in another encoding, converted by ICU; empty when a character has no form there.
std::string Encode(std::string_view utf8, const char* encoding) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(encoding, &status);
    if (U_FAILURE(status)) return {};
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    std::u16string units = Utf8ToUtf16(utf8);
    std::string out(units.size() * 4 + 16, '\0');
    int32_t length = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                     reinterpret_cast<const UChar*>(units.data()),
                                     static_cast<int32_t>(units.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<size_t>(length));
    return out;
}

// The UTF-8 book: chapters headed 第N章 on lines of their own, about chapterBytes of GBK each.
std::string ChapteredBook(const std::vector<std::string>& lines, size_t chapters,
                          size_t chapterBytes) {
    std::string book;
    size_t next = 0;
    for (size_t i = 0; i < chapters && next < lines.size(); ++i) {
        book += "第" + std::to_string(i + 1) + "章\r\n";
        size_t bytes = 0;
        while (bytes < chapterBytes && next < lines.size()) {
            bytes += G(lines[next]).size() + 2;
            book += lines[next++] + "\r\n";
        }
    }
    return book;
}

std::vector<std::string> Utf8Lines(const std::string& gbk) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < gbk.size()) {
        size_t end = gbk.find("\r\n", at);
        if (end == std::string::npos) end = gbk.size();
        lines.push_back(GbkToUtf8Lossless(gbk.substr(at, end - at)));
        at = end + 2;
    }
    return lines;
}

struct Outcome {
    std::string chapters;                        // the `chapters` listing
    std::map<std::string, std::string> written;  // generated file name -> bytes
};

// Writes the bytes as book.txt in a folder of its own and runs `chapters` and `generate`.
Outcome RunInFolder(const std::string& bytes, const std::string& folderName,
                    const test::TempDir& root) {
    const std::filesystem::path folder = root / folderName;
    std::filesystem::create_directory(folder);
    test::WriteFileBytes(folder / "book.txt", bytes);
    Outcome outcome;
    CliResult chapters = RunCli({"chapters", "book.txt", "--incremental", "第1章"}, folder);
    EXPECT_EQ(chapters.exitCode, 0) << folderName << chapters.err;
    EXPECT_EQ(chapters.err, "") << folderName;
    outcome.chapters = chapters.out;
    CliResult generate = RunCli({"generate", "book.txt", "--incremental", "第1章"}, folder);
    EXPECT_EQ(generate.exitCode, 0) << folderName << generate.out << generate.err;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".qbr") || name.ends_with(".qbr2")) {
            outcome.written[name] = test::ReadFileBytes(entry.path());
        }
    }
    return outcome;
}

void ExpectSameOutcome(const Outcome& expected, const Outcome& got, const std::string& what) {
    EXPECT_EQ(got.chapters, expected.chapters) << what;
    ASSERT_EQ(got.written.size(), expected.written.size()) << what;
    for (const auto& [name, bytes] : expected.written) {
        auto found = got.written.find(name);
        ASSERT_NE(found, got.written.end()) << what << ": " << name;
        EXPECT_TRUE(found->second == bytes) << what << ": " << name << " differs";
    }
}

TEST(EncodingCli, RealBookGivesTheSameBooksInEveryEncoding) {
    const std::string prose = InstalledChineseText(400000);
    if (prose.empty()) GTEST_SKIP() << "the Chinese manual pages (manpages-zh) are not installed";
    const std::string book = ChapteredBook(Utf8Lines(prose), 16, 20000);
    ASSERT_EQ(Utf8ToGbk(book).size(), G(book).size());

    test::TempDir root;
    const Outcome gbk = RunInFolder(G(book), "gbk", root);
    ASSERT_GE(gbk.written.size(), 2u);
    ASSERT_NE(gbk.chapters.find("第16章"), std::string::npos);
    const std::pair<const char*, std::string> forms[] = {
        {"utf-8", book},
        {"utf-8-bom", "\xEF\xBB\xBF" + book},
        {"utf-16le-bom", "\xFF\xFE" + Encode(book, "UTF-16LE")},
        {"utf-16be-bom", "\xFE\xFF" + Encode(book, "UTF-16BE")},
    };
    for (const auto& [name, bytes] : forms)
        ExpectSameOutcome(gbk, RunInFolder(bytes, name, root), name);
}

TEST(EncodingCli, TraditionalBookAsBig5AndAsGbk) {
    const std::string prose = InstalledChineseText(200000);
    if (prose.empty()) GTEST_SKIP() << "the Chinese manual pages (manpages-zh) are not installed";
    opencc_t toTraditional = opencc_open("s2t.json");
    if (toTraditional == reinterpret_cast<opencc_t>(-1)) GTEST_SKIP() << "no OpenCC s2t data";
    // The lines in Traditional characters that both Big5 and GBK can hold.
    std::vector<std::string> lines;
    for (const std::string& line : Utf8Lines(prose)) {
        char* converted = opencc_convert_utf8(toTraditional, line.data(), line.size());
        if (converted == nullptr) continue;
        std::string traditional(converted);
        opencc_convert_utf8_free(converted);
        if (!Encode(traditional, "windows-950").empty() && !Encode(traditional, "GBK").empty()) {
            lines.push_back(traditional);
        }
    }
    opencc_close(toTraditional);
    const std::string book = ChapteredBook(lines, 8, 20000);
    const std::string big5 = Encode(book, "windows-950");
    ASSERT_FALSE(big5.empty());

    test::TempDir root;
    const Outcome gbk = RunInFolder(G(book), "gbk", root);
    ASSERT_NE(gbk.chapters.find("第8章"), std::string::npos);
    ExpectSameOutcome(gbk, RunInFolder(big5, "big5", root), "big5");
}

TEST(EncodingCli, GbkFileNameNamesTheBook) {
    test::TempDir dir;
    const std::string gbkName = G("三体全集.txt");
    test::WriteFileBytes(dir / gbkName, NumberedBook({3000, 3000}));
    CliResult generate = RunCli({"generate", gbkName, "--incremental", "第1章"}, dir.path());
    ASSERT_EQ(generate.exitCode, 0) << generate.out << generate.err;
    // The output keeps the input's name bytes; the name inside is the decoded name.
    const std::string qbr2 = test::ReadFileBytes(dir / (G("三体全集") + ".qbr2"));
    ASSERT_GE(qbr2.size(), 104u);
    const std::string expected = Utf16ToLeBytes(u"三体全集.");
    EXPECT_EQ(qbr2.substr(12, expected.size()), expected);
    EXPECT_EQ(qbr2.substr(12 + expected.size(), 64 - expected.size()),
              std::string(64 - expected.size(), '\0'));
    EXPECT_TRUE(std::filesystem::exists(dir / (G("三体全集") + ".qbr")));
}

}  // namespace
}  // namespace brisna::e2e
