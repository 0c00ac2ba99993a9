// Books that used to load wrong or get lost while the command line said all was well: damaged
// and unmarked encodings, a NUL, CR-only line ends, batch books sharing a file name, a link from
// an output to its own book, a standard output that cannot be written, and damaged or unusual
// files around generation. Every input is made at test time from texts installed on the machine.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "book/CCompressLZ77.h"
#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna::e2e {
namespace {

namespace fs = std::filesystem;
using test::G;

// The UTF-8 text with bytes put in at the start of the line nearest to `share` of the way in.
std::string Damaged(std::string text, double share, std::string_view bytes) {
    size_t at = text.find('\n', static_cast<size_t>(static_cast<double>(text.size()) * share));
    text.insert(at + 1, bytes);
    return text;
}

// The UTF-8 text ending in the first two bytes of its last Chinese character.
std::string CutAtTheEnd(std::string text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) < 0x80) text.pop_back();
    text.pop_back();
    return text;
}

uint32_t Get32(const std::string& bytes, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

void Put32(std::string& bytes, size_t at, uint32_t value) {
    for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<char>(value >> (8 * k));
}

// A .qbr book whose every chapter block record points at the first chapter's block, with the
// index written anew at the end.
void PointEveryBlockAtTheFirst(const fs::path& qbr) {
    std::string file = test::ReadFileBytes(qbr);
    const uint32_t indexOffset = Get32(file, 0), indexLength = Get32(file, 4);
    std::string index(indexLength, '\0');
    ASSERT_EQ(
        DecodeLz77(reinterpret_cast<const uint8_t*>(file.data()) + indexOffset, Get32(file, 8),
                   reinterpret_cast<uint8_t*>(index.data()), index.size(), indexLength),
        int64_t{indexLength});
    const uint32_t count = Get32(index, 64);
    ASSERT_GE(count, 2u);
    const size_t blocks = 72 + 72 * size_t{count};
    for (uint32_t i = 1; i < count; ++i) index.replace(blocks + 12 * i, 12, index, blocks, 12);
    std::string packed(index.size() + kLz77DestinationSlack, '\0');
    CCompressLZ77 codec;
    const int produced = codec.Compress(reinterpret_cast<const uint8_t*>(index.data()),
                                        static_cast<uint32_t>(index.size()),
                                        reinterpret_cast<uint8_t*>(packed.data()));
    ASSERT_GT(produced, 0);
    Put32(file, 0, static_cast<uint32_t>(file.size()));
    Put32(file, 8, static_cast<uint32_t>(produced));
    file += packed.substr(0, static_cast<size_t>(produced));
    Put32(file, 12, static_cast<uint32_t>(file.size()));
    test::WriteFileBytes(qbr, file);
}

struct Row {
    std::string what;
    std::function<void(const fs::path&)> setup;
    std::string snippet;  // run by sh in the folder; its exit code is the last command's
    int exitCode;
    std::vector<std::string> errHas;  // on standard error
    std::function<void(const fs::path&, const CliResult&)> verify = {};
};

class Hardening : public ::testing::Test {
  protected:
    void Run(const std::vector<Row>& rows) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            test::TempDir dir;
            row.setup(dir.path());
            CliResult run = RunShell(row.snippet, dir.path());
            EXPECT_EQ(run.exitCode, row.exitCode) << run.out << run.err;
            for (const std::string& part : row.errHas) {
                EXPECT_NE(run.err.find(part), std::string::npos) << part << "\n" << run.err;
            }
            if (row.verify) row.verify(dir.path(), run);
        }
    }
};

std::function<void(const fs::path&)> Writes(
    std::vector<std::pair<std::string, std::string>> files) {
    return [files](const fs::path& dir) {
        for (const auto& [name, bytes] : files) {
            fs::create_directories((dir / name).parent_path());
            test::WriteFileBytes(dir / name, bytes);
        }
    };
}

// The same, except that t2s writes each book back with its own line ends.
void ExpectSameLines(const fs::path&, const CliResult& run) {
    const size_t cut = run.out.find("--\n");
    ASSERT_NE(cut, std::string::npos) << run.out;
    std::string first = run.out.substr(0, cut);
    std::string second = run.out.substr(cut + 3);
    std::erase(first, '\n');
    std::erase(second, '\n');
    EXPECT_EQ(first, second);
    EXPECT_GT(cut, 0u);
}

void ExpectLines(const CliResult& run, size_t count) {
    EXPECT_EQ(run.Lines().size(), count) << run.out;
}

// The two halves of standard output, split at a line "--", are the same.
void ExpectHalvesEqual(const fs::path&, const CliResult& run) {
    const size_t cut = run.out.find("--\n");
    ASSERT_NE(cut, std::string::npos) << run.out;
    EXPECT_EQ(run.out.substr(0, cut), run.out.substr(cut + 3));
    EXPECT_GT(cut, 0u);
}

TEST_F(Hardening, DamagedUtf8BooksStayUtf8) {
    const std::string faq = Gunzip(kChineseFaq);
    if (faq.empty()) GTEST_SKIP() << "the Chinese Debian FAQ (debian-faq-zh-cn) is not installed";
    const std::string chapters =
        "brisnamake-cli chapters faq.txt --line 0 --incremental '第 1 章' --at-line-start";
    auto seventeen = [](const fs::path&, const CliResult& run) { ExpectLines(run, 17); };
    Run({
        // The FAQ itself holds one character GBK has not: each damage adds its own.
        {"last character cut",
         Writes({{"faq.txt", CutAtTheEnd(faq)}}),
         chapters,
         0,
         {"有2个字符无法转换为GBK"},
         seventeen},
        {"overlong form",
         Writes({{"faq.txt", Damaged(faq, 0.5, "\xC0\xAF")}}),
         chapters,
         0,
         {"有3个字符无法转换为GBK"},
         seventeen},
        {"encoded surrogate",
         Writes({{"faq.txt", Damaged(faq, 0.3, "\xED\xA0\x80")}}),
         chapters,
         0,
         {"有4个字符无法转换为GBK"},
         seventeen},
        {"one stray byte",
         Writes({{"faq.txt", Damaged(faq, 0.7, "\xFF")}}),
         chapters,
         0,
         {"有2个字符无法转换为GBK"},
         seventeen},
    });
}

TEST_F(Hardening, UnmarkedUtf16NulsAndCrOnlyLineEnds) {
    const std::string gbk = InstalledChineseText(60000);
    if (gbk.empty()) GTEST_SKIP() << "the Chinese manual pages (manpages-zh) are not installed";
    const std::string utf8 = GbkToUtf8Lossless(gbk);
    const std::string le = test::IcuConvert(utf8, "UTF-16LE", "UTF-8");
    const std::string be = test::IcuConvert(utf8, "UTF-16BE", "UTF-8");
    std::string nul = "\xFF\xFE" + le;
    nul.insert(2 + (le.size() / 10 & ~size_t{1}), std::string(2, '\0'));
    const std::string book = NumberedBook({3000, 3000, 3000, 3000});
    std::string crOnly;
    for (char c : book) {
        if (c != '\n') crOnly.push_back(c);
    }
    // The whole loaded text of both books, one after the other.
    auto both = [](const std::string& a, const std::string& b) {
        return "brisnamake-cli t2s " + a +
               " - --output-encoding gbk && echo -- && "
               "brisnamake-cli t2s " +
               b + " - --output-encoding gbk";
    };
    Run({
        {"UTF-16LE without a mark",
         Writes({{"le.txt", le}, {"gbk.txt", gbk}}),
         both("le.txt", "gbk.txt"),
         0,
         {},
         ExpectHalvesEqual},
        {"UTF-16BE without a mark",
         Writes({{"be.txt", be}, {"gbk.txt", gbk}}),
         both("be.txt", "gbk.txt"),
         0,
         {},
         ExpectHalvesEqual},
        {"a NUL at 10 %",
         Writes({{"nul.txt", nul}}),
         "brisnamake-cli chapters nul.txt --line 0",
         0,
         {"行有空字符，其后的文本未载入"}},
        {"CR-only line ends",
         Writes({{"cr.txt", crOnly}, {"crlf.txt", book}}),
         both("cr.txt", "crlf.txt"),
         0,
         {},
         ExpectSameLines},
        {"CR-only words file",
         Writes({{"book.txt", book}, {"w.csv", G("第2章\r第3章\r")}}),
         "brisnamake-cli check book.txt --words w.csv",
         1,
         {},
         [](const fs::path&, const CliResult& run) {
             EXPECT_NE(run.out.find("第2章"), std::string::npos) << run.out;
             EXPECT_NE(run.out.find("第3章"), std::string::npos) << run.out;
         }},
        {"a program is no book",
         Writes({{"bin.txt", test::ReadFileBytes("/bin/true")}}),
         "brisnamake-cli chapters bin.txt --line 0",
         3,
         {"文件不是文本，未载入"}},
    });
}

TEST_F(Hardening, BatchBooksNeverShareAFile) {
    const std::string small = NumberedBook({3000, 3000});
    const std::string large = NumberedBook({300000, 300000, 300000});  // two .qbr2 files
    const std::string generate = "brisnamake-cli generate --incremental 第1章 ";
    auto listing = [](std::vector<std::string> expected) {
        return [expected](const fs::path&, const CliResult& run) {
            EXPECT_EQ(run.Lines(), expected) << run.err;
        };
    };
    Run({
        {"one name in two folders",
         Writes({{"a/x.txt", small}, {"b/x.txt", small}, {"c/y.txt", small}}),
         "mkdir out && " + generate +
             "a/x.txt b/x.txt c/y.txt --output-dir out >/dev/null; code=$?; ls out; exit $code",
         3,
         {"a/x.txt: 输出文件与另一本书的相同", "（另一本书: b/x.txt）", "（另一本书: a/x.txt）"},
         listing({"y.qbr", "y.qbr2"})},
        {"a numbered file of one book is the file of another",
         Writes({{"m1.txt", large}, {"m11.txt", small}, {"z.txt", small}}),
         generate + "m1.txt m11.txt z.txt >/dev/null; code=$?; ls *.qbr2; exit $code",
         3,
         {"m11.qbr2（另一本书: m1.txt）"},
         listing({"z.qbr2"})},
        {"two spellings of .txt",
         Writes({{"x.txt", small}, {"x.TXT", small}}),
         generate + "x.txt x.TXT >/dev/null; code=$?; ls; exit $code",
         3,
         {"（另一本书: x.TXT）"},
         listing({"x.TXT", "x.txt"})},
    });
}

TEST_F(Hardening, OutputsNeverReplaceInputs) {
    const std::string book = NumberedBook({3000, 3000});
    Run({
        {"the book's output links to the book",
         [&](const fs::path& dir) {
             test::WriteFileBytes(dir / "book.txt", book);
             fs::create_symlink("book.txt", dir / "book.qbr2");
         },
         "brisnamake-cli generate book.txt --incremental 第1章",
         3,
         {"生成qbr2失败: book.qbr2: 这是本次读入的文件"},
         [&](const fs::path& dir, const CliResult&) {
             EXPECT_EQ(test::ReadFileBytes(dir / "book.txt"), book);
         }},
        {"unpack over its own book",
         Writes({{"book.txt", book}}),
         "brisnamake-cli generate book.txt --incremental 第1章 >/dev/null && cp book.qbr2 kept && "
         "brisnamake-cli unpack book.qbr2 -o book.qbr2 --force >/dev/null; code=$?; "
         "cmp -s book.qbr2 kept || code=9; exit $code",
         3,
         {"这是本次读入的文件"}},
        {"t2s over its own input",
         Writes({{"book.txt", book}}),
         "brisnamake-cli t2s book.txt book.txt --force",
         3,
         {"这是本次读入的文件"},
         [&](const fs::path& dir, const CliResult&) {
             EXPECT_EQ(test::ReadFileBytes(dir / "book.txt"), book);
         }},
    });
}

TEST_F(Hardening, EverySubcommandChecksItsStandardOutput) {
    const std::string book = NumberedBook({3000, 3000});
    auto setup = [&](const fs::path& dir) {
        test::WriteFileBytes(dir / "book.txt", book);
        test::WriteFileBytes(dir / "script.txt", "open-txt book.txt\nprint scan\n");
        // Chapters 1, 4 and 5, one line each: two are missing.
        test::WriteFileBytes(dir / "gap.txt", G("第1章\r\n正文\r\n第4章\r\n正文\r\n第5章\r\n正文"));
        ASSERT_EQ(RunCli({"generate", "book.txt", "--incremental", "第1章"}, dir).exitCode, 0);
        fs::rename(dir / "book.qbr2", dir / "made.qbr2");
    };
    const std::vector<std::string> commands = {
        "chapters book.txt --incremental 第1章",
        "detect book.txt",
        "check book.txt --incremental 第1章",
        "missing gap.txt --line 0 --line 2 --line 4",
        "generate book.txt --incremental 第1章",
        "unpack made.qbr2",
        "unpack made.qbr2 -o -",
        "t2s book.txt -",
        "script script.txt",
        "version",
        "--help",
    };
    std::vector<Row> rows;
    for (const std::string& command : commands) {
        for (const char* redirect : {" >/dev/full", " >&-"}) {
            rows.push_back({command + redirect,
                            setup,
                            "brisnamake-cli " + command + redirect,
                            3,
                            {"写入标准输出失败"}});
        }
    }
    Run(rows);
}

TEST_F(Hardening, DamagedAndUnusualFilesAroundGeneration) {
    const std::string book = NumberedBook({3000, 3000, 3000});
    // A folder path that leaves the output's name 4,087 bytes of path in all.
    std::string deep;
    while (deep.size() + 201 + std::string("/book.qbr2").size() <= 4087) {
        deep += std::string(200, 'd') + "/";
    }
    deep += std::string(4087 - deep.size() - std::string("book.qbr2").size() - 1, 'e');
    std::string big;  // exactly 32 MiB of UTF-8 that GBK holds in 8 MiB
    for (size_t i = 0; i < 8 * 1024 * 1024; ++i) big += "\xF0\xA0\x80\x80";
    // 59 ASCII characters and 中: the title keeps 60 bytes, only the lead byte of 中.
    const std::string ascii59 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvw";
    Run({
        {"overlapping .qbr blocks",
         [&](const fs::path& dir) {
             test::WriteFileBytes(dir / "book.txt", book);
             ASSERT_EQ(RunCli({"generate", "book.txt", "--incremental", "第1章"}, dir).exitCode, 0);
             PointEveryBlockAtTheFirst(dir / "book.qbr");
         },
         "brisnamake-cli unpack book.qbr",
         3,
         {}},
        {"an upper-case extension",
         Writes({{"book.txt", book}}),
         "brisnamake-cli generate book.txt --incremental 第1章 >/dev/null && mv book.qbr2 B.QBR2 "
         "&& brisnamake-cli unpack B.QBR2",
         0,
         {},
         [](const fs::path&, const CliResult& run) { ExpectLines(run, 3); }},
        {"32 MiB from a file and from standard input",
         Writes({{"big.txt", big}}),
         "brisnamake-cli chapters big.txt --line 0 && echo -- && "
         "brisnamake-cli chapters - --line 0 < big.txt",
         0,
         {"有8388608个字符无法转换为GBK"},
         ExpectHalvesEqual},
        {"a 4,087-byte output path",
         Writes({{"book.txt", book}}),
         "mkdir -p " + deep + " && brisnamake-cli generate book.txt --incremental 第1章 " +
             "--output-dir " + deep + " >/dev/null && ls " + deep,
         0,
         {},
         [](const fs::path&, const CliResult& run) {
             EXPECT_EQ(run.Lines(), (std::vector<std::string>{"book.qbr", "book.qbr2"}));
         }},
        {"a title cut after a lead byte",
         Writes({{"t.txt", ascii59 + G("中") + "\r\n" + book}}),
         "brisnamake-cli generate t.txt --line 0 --incremental 第1章",
         3,
         {ascii59 + "章节长度过短"}},
        {"Big5 user-defined characters",
         Writes({{"b.txt", "\xA4\xA4\xFA\x40\r\n"}}),
         "brisnamake-cli chapters b.txt --encoding big5 --line 0",
         0,
         {"有1个字符无法转换为GBK"}},
    });
}

}  // namespace
}  // namespace brisna::e2e
