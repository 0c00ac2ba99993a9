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

// The text a script's open-txt shows, read with the encoding given.
CliResult ShownText(const std::filesystem::path& folder, const std::string& encoding) {
    return RunShell(
        "printf 'open-txt book.txt\\nprint text\\n' | brisnamake-cli script - "
        "--encoding " +
            encoding,
        folder);
}

TEST(EncodingCli, GbkBooksLoadTheSameDetectedOrForced) {
    const std::pair<const char*, std::string> books[] = {
        {"ascii", "Chapter 1\r\nA short text, pure ASCII.\r\n"},
        {"two bytes", G("书")},
        {"short", G("第一章 开始\r\n他走了。")},
        {"book", NumberedBook({3000, 3000})},
    };
    for (const auto& [name, bytes] : books) {
        test::TempDir dir;
        test::WriteFileBytes(dir / "book.txt", bytes);
        const CliResult detected = ShownText(dir.path(), "auto");
        const CliResult forced = ShownText(dir.path(), "gbk");
        EXPECT_EQ(detected.exitCode, 0) << name << detected.err;
        EXPECT_EQ(detected.out, GbkToUtf8Lossless(bytes) + "\n") << name;
        EXPECT_EQ(forced.out, detected.out) << name;
        EXPECT_EQ(detected.err + forced.err, "") << name;
    }
    // The generated books too, byte for byte.
    test::TempDir dir;
    test::WriteFileBytes(dir / "book.txt", NumberedBook({3000, 3000}));
    std::string written[2];
    for (int i = 0; i < 2; ++i) {
        CliResult generate = RunCli({"generate", "book.txt", "--incremental", "第1章", "--encoding",
                                     i == 0 ? "auto" : "GBK"},
                                    dir.path());
        ASSERT_EQ(generate.exitCode, 0) << generate.err;
        written[i] = test::ReadFileBytes(dir / "book.qbr2");
    }
    EXPECT_TRUE(written[0] == written[1]);

    CliResult malformed = RunCli({"chapters", "book.txt", "--encoding", "latin1"}, dir.path());
    EXPECT_EQ(malformed.exitCode, 2);
    EXPECT_NE(malformed.err.find("latin1"), std::string::npos);

    // The shell completes the names the option takes.
    const std::string completion =
        (std::filesystem::path(BRISNA_CLI).parent_path() / "brisnamake-cli.bash-completion")
            .string();
    CliResult complete =
        RunShell("bash -c '. \"" + completion +
                     "\"; COMP_WORDS=(brisnamake-cli chapters --encoding utf-1); COMP_CWORD=3; "
                     "_brisnamake_cli; echo \"${COMPREPLY[@]}\"'",
                 dir.path());
    EXPECT_EQ(complete.out, "utf-16le utf-16be\n") << complete.err;
}

// Chinese in UTF-16 without a mark has too few NULs to be recognised; naming it reads it.
TEST(EncodingCli, ForcedUtf16WithoutAMark) {
    const std::string book = "第1章\r\n天地玄黄，宇宙洪荒。\r\n第2章\r\n日月盈昃，辰宿列张。\r\n";
    test::TempDir dir;
    test::WriteFileBytes(dir / "book.txt", Encode(book, "UTF-16LE"));
    CliResult forced = ShownText(dir.path(), "utf-16le");
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_EQ(forced.out, book + "\n");
    CliResult chapters = RunCli(
        {"chapters", "book.txt", "--encoding", "UTF-16LE", "--incremental", "第1章"}, dir.path());
    EXPECT_EQ(chapters.exitCode, 0) << chapters.err;
    EXPECT_EQ(chapters.Lines().size(), 2u) << chapters.out;
}

// A generated book unpacked as UTF-8 reads back as the same book.
TEST(EncodingCli, Utf8OutputRoundTrip) {
    test::TempDir dir;
    const std::string gbk = NumberedBook({3000, 3000, 3000});
    test::WriteFileBytes(dir / "book.txt", gbk);
    ASSERT_EQ(RunCli({"generate", "book.txt", "--incremental", "第1章"}, dir.path()).exitCode, 0);
    CliResult unpack =
        RunCli({"unpack", "book.qbr2", "-o", "back.txt", "--output-encoding", "utf-8"}, dir.path());
    ASSERT_EQ(unpack.exitCode, 0) << unpack.err;
    const std::string back = test::ReadFileBytes(dir / "back.txt");
    EXPECT_EQ(back.find('\r'), std::string::npos);
    EXPECT_NE(back.find("第2章\n"), std::string::npos);

    CliResult original = RunCli({"chapters", "book.txt", "--incremental", "第1章"}, dir.path());
    CliResult reloaded = RunCli({"chapters", "back.txt", "--incremental", "第1章"}, dir.path());
    EXPECT_EQ(reloaded.exitCode, 0) << reloaded.err;
    ASSERT_EQ(reloaded.Lines().size(), 3u) << reloaded.out;
    // The titles match; the offsets follow the line ends the file has.
    for (size_t i = 0; i < 3; ++i) {
        const std::string a = original.Lines()[i], b = reloaded.Lines()[i];
        EXPECT_EQ(a.substr(a.rfind('\t')), b.substr(b.rfind('\t')));
    }

    // UTF-8 is the default; the device's GBK, as the editor holds it, is asked for.
    EXPECT_EQ(RunCli({"unpack", "book.qbr2", "-o", "-"}, dir.path()).out, back);
    CliResult gbkOut =
        RunCli({"unpack", "book.qbr2", "-o", "-", "--output-encoding", "gbk"}, dir.path());
    EXPECT_EQ(gbkOut.out, gbk);
}

// What GBK cannot hold is replaced and reported once on standard error; the book still opens,
// from a file or from standard input.
TEST(EncodingCli, ReplacedCharactersAreANoticeNotAFailure) {
    test::TempDir dir;
    const std::string book = "第1章\r\n笑😀笑\r\n第2章\r\n好\r\n";
    test::WriteFileBytes(dir / "book.txt", book);
    const std::string notice = "有1个字符无法转换为GBK，已替换为“?”，第一个在第2行\n";
    CliResult file = RunCli({"chapters", "book.txt", "--incremental", "第1章"}, dir.path());
    CliResult piped =
        RunShell("brisnamake-cli chapters - --incremental 第1章 < book.txt", dir.path());
    for (const CliResult* result : {&file, &piped}) {
        EXPECT_EQ(result->exitCode, 0) << result->err;
        EXPECT_EQ(result->err, notice);
        EXPECT_EQ(result->Lines().size(), 2u) << result->out;
    }
    EXPECT_EQ(file.out, piped.out);

    // Lossless UTF-8 from standard input is silent and matches the GBK file.
    test::WriteFileBytes(dir / "clean.txt", "第1章\r\n你好\r\n第2章\r\n再见\r\n");
    test::WriteFileBytes(dir / "clean-gbk.txt", G("第1章\r\n你好\r\n第2章\r\n再见\r\n"));
    CliResult utf8 =
        RunShell("brisnamake-cli chapters - --incremental 第1章 < clean.txt", dir.path());
    CliResult gbk = RunCli({"chapters", "clean-gbk.txt", "--incremental", "第1章"}, dir.path());
    EXPECT_EQ(utf8.exitCode, 0);
    EXPECT_EQ(utf8.err, "");
    EXPECT_EQ(utf8.out, gbk.out);
}

TEST(EncodingCli, T2sConvertsABig5Book) {
    test::TempDir dir;
    const std::string traditional = "第1章\r\n這個軟體的說明書寫得很清楚。\r\n";
    const std::string big5 = Encode(traditional, "windows-950");
    ASSERT_FALSE(big5.empty());
    test::WriteFileBytes(dir / "book.txt", big5);
    CliResult t2s = RunCli({"t2s", "book.txt", "out.txt"}, dir.path());
    if (t2s.exitCode == 3 && t2s.err.find("字典") != std::string::npos) {
        EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));
        GTEST_SKIP() << "no OpenCC dictionary: " << t2s.err;
    }
    ASSERT_EQ(t2s.exitCode, 0) << t2s.err;
    // Big5 cannot hold every Simplified character: the book comes out as UTF-8, with its own
    // line ends, unless GBK is asked for.
    const std::string simplified = "第1章\r\n这个软体的说明书写得很清楚。\r\n";
    EXPECT_EQ(test::ReadFileBytes(dir / "out.txt"), simplified);
    CliResult gbk = RunShell("brisnamake-cli t2s - - --output-encoding gbk < book.txt", dir.path());
    EXPECT_EQ(gbk.exitCode, 0) << gbk.err;
    EXPECT_EQ(gbk.out, G(simplified));
}

// t2s gives a book back in the encoding and with the line ends it came in.
TEST(EncodingCli, T2sKeepsTheBooksEncodingAndLineEnds) {
    test::TempDir dir;
    const std::string traditional = "第1章\n這個軟體的說明書寫得很清楚。\n";
    const std::string simplified = "第1章\n这个软体的说明书写得很清楚。\n";
    auto crlf = [](std::string text) {
        std::string out;
        for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
        return out;
    };
    struct Case {
        const char* name;
        std::string input;
        std::string output;
    };
    const std::vector<Case> cases{
        {"utf-8 LF", traditional, simplified},
        {"utf-8 CR LF", crlf(traditional), crlf(simplified)},
        {"utf-8 with a mark", "\xEF\xBB\xBF" + traditional, "\xEF\xBB\xBF" + simplified},
        {"gbk CR LF", Encode(crlf(traditional), "GBK"), G(crlf(simplified))},
        {"gbk LF", Encode(traditional, "GBK"), G(simplified)},
        {"utf-16le CR LF", "\xFF\xFE" + Encode(crlf(traditional), "UTF-16LE"), crlf(simplified)},
    };
    for (const Case& c : cases) {
        test::WriteFileBytes(dir / "book.txt", c.input);
        for (const char* locale : {"LC_ALL=zh_CN.UTF-8", "LC_ALL=C.UTF-8"}) {
            CliResult file = RunShell(
                std::string(locale) + " brisnamake-cli t2s --force book.txt out.txt", dir.path());
            if (file.exitCode == 3 && file.err.find("字典") != std::string::npos) {
                GTEST_SKIP() << "no OpenCC dictionary: " << file.err;
            }
            ASSERT_EQ(file.exitCode, 0) << c.name << file.err;
            EXPECT_EQ(test::ReadFileBytes(dir / "out.txt"), c.output) << c.name << " " << locale;
            CliResult piped =
                RunShell(std::string(locale) + " brisnamake-cli t2s - - < book.txt", dir.path());
            EXPECT_EQ(piped.out, c.output) << c.name << " " << locale;
        }
    }
    // Another encoding is asked for by name; the line ends stay the book's.
    test::WriteFileBytes(dir / "book.txt", traditional);
    EXPECT_EQ(RunShell("brisnamake-cli t2s book.txt - --output-encoding gbk", dir.path()).out,
              G(simplified));
}

}  // namespace
}  // namespace brisna::e2e
