// What a shell user expects of the command line: the usual short flags, quiet runs, a word at
// the end of a batch, help that reads as plain text in the user's language, file messages that
// say which file and why, text a terminal can show, and completions that the shells accept.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Version.h"
#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"

namespace brisna::e2e {
namespace {

namespace fs = std::filesystem;
using test::G;

const fs::path kCliFolder = fs::path(BRISNA_CLI).parent_path();

class Habits : public ::testing::Test {
  protected:
    Habits() {
        sample = test::ReadFileBytes(fs::path(BRISNA_SOURCE_DIR) / "res" / "sample" / "sample.txt");
        test::WriteFileBytes(dir / "book.txt", sample);
    }
    CliResult Run(const std::vector<std::string>& args) { return RunCli(args, dir.path()); }
    // The snippet with its standard output and error on a pseudo-terminal; what the terminal
    // showed comes back as standard output.
    CliResult OnTerminal(const std::string& command) {
        return RunShell("script -qec '" + command + "' /dev/null", dir.path());
    }

    std::string sample;
    test::TempDir dir;
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(Habits, VersionAndQuietFlagsWorkBeforeOrAfterTheSubcommand) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"-V"}, {"--version"}, {"version"}, {"check", "-V"}}) {
        CliResult run = Run(args);
        EXPECT_EQ(run.exitCode, 0) << args[0];
        EXPECT_EQ(run.out, std::string("brisnamake-cli ") + kVersion + "\n") << args[0];
    }

    CliResult loud = Run({"generate", "book.txt", "--incremental", "第一章"});
    EXPECT_EQ(loud.exitCode, 0);
    EXPECT_EQ(loud.err, "生成qbr和qbr2成功\n");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"-q", "generate", "book.txt", "--incremental", "第一章"},
             {"generate", "book.txt", "--quiet", "--incremental", "第一章"}}) {
        CliResult quiet = Run(args);
        EXPECT_EQ(quiet.exitCode, 0);
        EXPECT_EQ(quiet.err, "");
        EXPECT_EQ(quiet.Lines(), (std::vector<std::string>{"book.qbr2", "book.qbr"}));
    }
    // What a load had to cut or replace is a notice too.
    test::WriteFileBytes(dir / "cut.txt", sample + std::string(1, '\0') + "tail");
    EXPECT_NE(Run({"chapters", "cut.txt", "--line", "0"}).err, "");
    CliResult cut = Run({"chapters", "-q", "cut.txt", "--line", "0"});
    EXPECT_EQ(cut.exitCode, 0);
    EXPECT_EQ(cut.err, "");
    // Quiet still reports failures, refusals included.
    CliResult refused = Run({"-q", "generate", "book.txt", "--incremental", "第九十九章"});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_NE(refused.err, "");
    CliResult missing = Run({"-q", "check", "nope.txt"});
    EXPECT_EQ(missing.err, "打开文件失败: nope.txt: No such file or directory\n");
}

TEST_F(Habits, FileMessagesNameThePathAndTheReason) {
    fs::create_directory(dir / "folder.txt");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases{
        {{"generate", "nope.txt"}, "打开文件失败: nope.txt: No such file or directory"},
        {{"chapters", "folder.txt"}, "打开文件失败: folder.txt: Is a directory"},
        {{"unpack", "nope.qbr2"}, "打开qbr文件失败: nope.qbr2: No such file or directory"},
    };
    for (const Case& c : cases) {
        CliResult run = Run(c.args);
        EXPECT_EQ(run.exitCode, 3) << c.args[1];
        ASSERT_EQ(run.ErrLines().size(), 1u) << run.err;
        EXPECT_EQ(run.ErrLines()[0].rfind(c.message, 0), 0u) << run.err;
    }
}

TEST_F(Habits, ABatchEndsWithASummaryAndDrawsProgressOnlyOnATerminal) {
    fs::create_directory(dir / "books");
    test::WriteFileBytes(dir / "books" / "a.txt", sample);
    test::WriteFileBytes(dir / "books" / "b.txt", sample);
    test::WriteFileBytes(dir / "words.csv", G("水车\r\n"));
    CliResult run = Run({"check", "books/a.txt", "books/none.txt", "books/b.txt", "--incremental",
                         "第一章", "--words", "words.csv"});
    EXPECT_EQ(run.exitCode, 3);
    ASSERT_FALSE(run.ErrLines().empty());
    EXPECT_EQ(run.ErrLines().back(), "共3本：成功0，有问题2，失败1");
    EXPECT_FALSE(Contains(run.err, "\r")) << "a progress line went into a pipe";

    CliResult quiet = Run({"check", "-q", "books/a.txt", "books/b.txt", "--incremental", "第一章"});
    EXPECT_EQ(quiet.err, "");
    // One book is no batch.
    EXPECT_EQ(Run({"check", "book.txt", "--incremental", "第一章"}).err, "");

    CliResult shown =
        OnTerminal("brisnamake-cli check books/a.txt books/b.txt --incremental 第一章");
    EXPECT_TRUE(Contains(shown.out, "\r\033[K[2/2] books/b.txt")) << shown.out;
    EXPECT_TRUE(Contains(shown.out, "共2本：成功2，有问题0，失败0")) << shown.out;
}

TEST_F(Habits, HelpIsPlainTextInTheUsersLanguage) {
    struct Case {
        std::string locale;
        std::string usage;
        std::string summary;
    };
    const std::vector<Case> cases{
        {"LANG=zh_CN.UTF-8", "用法:", "标记章节并写出 .qbr2 和 .qbr 文件"},
        {"LC_ALL=zh_TW.UTF-8 LANG=C", "用法:", "标记章节并写出 .qbr2 和 .qbr 文件"},
        {"LANG=C.UTF-8", "Usage:", "mark chapters and write the .qbr2 and .qbr files"},
        {"LANG=zh_CN.UTF-8 LC_ALL=en_US.UTF-8", "Usage:", "mark chapters and write"},
    };
    for (const Case& c : cases) {
        for (const char* command : {"", "generate ", "script ", "unpack "}) {
            CliResult run = RunShell("env -u LC_ALL -u LC_MESSAGES " + c.locale +
                                         " brisnamake-cli " + command + "--help",
                                     dir.path());
            EXPECT_EQ(run.exitCode, 0) << c.locale << " " << command;
            EXPECT_TRUE(Contains(run.out, c.usage)) << c.locale << " " << command << run.out;
            EXPECT_FALSE(Contains(run.out, "`")) << c.locale << " " << command << run.out;
        }
        CliResult top = RunShell(
            "env -u LC_ALL -u LC_MESSAGES " + c.locale + " brisnamake-cli --help", dir.path());
        EXPECT_TRUE(Contains(top.out, c.summary)) << c.locale << top.out;
    }
    // The script grammar follows the script subcommand's help, as it says.
    CliResult script = Run({"script", "--help"});
    EXPECT_TRUE(Contains(script.out, "Scripts:\n")) << script.out;
    EXPECT_TRUE(Contains(script.out, "  select-problem I\n")) << script.out;
    EXPECT_TRUE(Contains(script.out, "  press incremental-add (1020, 递增添加章节)\n"));
}

// The subcommands the program lists in its help.
std::vector<std::string> Subcommands(const CliResult& help) {
    std::vector<std::string> names;
    bool inList = false;
    for (const std::string& line : help.Lines()) {
        if (line == "Subcommands:" || line == "子命令:") {
            inList = true;
        } else if (line.empty()) {
            inList = false;
        } else if (inList && line.rfind("  ", 0) == 0) {
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
        }
    }
    return names;
}

bool HasChinese(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0xE4) return true;
    }
    return false;
}

TEST_F(Habits, EverySubcommandAndOptionHasItsChineseText) {
    CliResult english = Run({"--help"});
    std::vector<std::string> names = Subcommands(english);
    ASSERT_GE(names.size(), 9u) << english.out;
    CliResult chinese = RunShell("LC_ALL=zh_CN.UTF-8 brisnamake-cli --help", dir.path());
    EXPECT_EQ(Subcommands(chinese), names);
    for (const std::string& name : names) {
        CliResult help =
            RunShell("LC_ALL=zh_CN.UTF-8 brisnamake-cli " + name + " --help", dir.path());
        ASSERT_EQ(help.exitCode, 0) << name;
        // The first line is the summary; each entry of the argument and option lists (a line
        // indented by two, with its continuation lines) must say something in Chinese.
        std::vector<std::string> lines = help.Lines();
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(HasChinese(lines[0])) << name << ": " << lines[0];
        bool inList = false;
        std::string entry;
        auto finish = [&] {
            if (!entry.empty()) {
                EXPECT_TRUE(HasChinese(entry)) << name << ": " << entry;
            }
            entry.clear();
        };
        for (const std::string& line : lines) {
            if (line == "参数:" || line == "选项:") {
                inList = true;
            } else if (line.empty()) {
                finish();
                inList = false;
            } else if (inList && line.rfind("   ", 0) == 0) {
                entry += line;
            } else if (inList && line.rfind("  ", 0) == 0) {
                finish();
                entry = line;
            }
        }
        finish();
    }
}

TEST_F(Habits, TextToATerminalIsUtf8AndToAPipeAsItsSubcommandWrites) {
    ASSERT_EQ(Run({"generate", "book.txt", "--incremental", "第一章"}).exitCode, 0);
    const std::string heading = "第一章 河湾的早晨";
    struct Case {
        const char* command;
        std::string piped;  // what a pipe gets of the heading line
    };
    // unpack writes UTF-8 anywhere; t2s gives the GBK book back as GBK, but not to a terminal.
    for (const Case& c : {Case{"brisnamake-cli unpack book.qbr2 -o -", heading + "\n"},
                          Case{"brisnamake-cli t2s book.txt -", G(heading) + "\r\n"}}) {
        const std::string command = c.command;
        CliResult shown = OnTerminal(command);
        EXPECT_EQ(shown.exitCode, 0) << command << shown.err;
        EXPECT_TRUE(Contains(shown.out, heading)) << command;
        EXPECT_FALSE(Contains(shown.out, G("河湾"))) << command;

        CliResult piped = RunShell(command + " | cat", dir.path());
        EXPECT_TRUE(Contains(piped.out, c.piped)) << command;
        // An explicit choice holds on a terminal too.
        CliResult chosen = OnTerminal(std::string(command) + " --output-encoding gbk");
        EXPECT_TRUE(Contains(chosen.out, G("河湾"))) << command;
    }
}

TEST(HabitDocuments, CompletionsParseAndTheChineseManualRendersCleanly) {
    test::TempDir dir;
    struct Case {
        std::string check;
        fs::path file;
    };
    const std::vector<Case> cases{{"zsh -n", kCliFolder / "_brisnamake-cli"},
                                  {"fish -n", kCliFolder / "brisnamake-cli.fish"},
                                  {"bash -n", kCliFolder / "brisnamake-cli.bash-completion"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(fs::exists(c.file)) << c.file;
        CliResult run = RunShell(c.check + " '" + c.file.string() + "'", dir.path());
        EXPECT_EQ(run.exitCode, 0) << c.check << run.err;
        EXPECT_EQ(run.err, "") << c.check;
    }
    // zsh offers the subcommands and the options of one.
    CliResult zsh = RunShell("zsh -fc 'autoload -Uz compinit; compinit -u -D; . \"" +
                                 (kCliFolder / "_brisnamake-cli").string() +
                                 "\"; whence -w _brisnamake_cli' 2>&1",
                             dir.path());
    EXPECT_TRUE(Contains(zsh.out, "_brisnamake_cli: function")) << zsh.out;
    std::string fish = test::ReadFileBytes(kCliFolder / "brisnamake-cli.fish");
    EXPECT_TRUE(Contains(fish, "__fish_seen_subcommand_from generate' -l output-dir"));

    fs::path page = kCliFolder / "zh_CN" / "brisnamake-cli.1";
    ASSERT_TRUE(fs::exists(page));
    for (const char* width : {"60", "80", "132"}) {
        CliResult render = RunShell(std::string("LC_ALL=C.UTF-8 MANWIDTH=") + width + " man -l '" +
                                        page.string() + "' 2>&1 >/dev/null",
                                    dir.path());
        EXPECT_EQ(render.out, "") << width;
    }
    CliResult text =
        RunShell("LC_ALL=C.UTF-8 MANWIDTH=80 man -l '" + page.string() + "'", dir.path());
    EXPECT_TRUE(Contains(text.out, "脚本")) << text.out;
    EXPECT_TRUE(Contains(text.out, "select-problem I")) << text.out;
}

// The command line in each locale the tests use: Chinese under zh_CN, English under C.
struct Locale {
    const char* environment;
    bool chinese;
};
const Locale kLocales[] = {{"LC_ALL=zh_CN.UTF-8", true}, {"LC_ALL=C.UTF-8", false}};

bool ChineseLocaleInstalled() {
    return RunShell("locale -a", fs::temp_directory_path()).out.find("zh_CN.utf8") !=
           std::string::npos;
}

TEST_F(Habits, UsageErrorsNameTheMistakeInTheUsersLanguage) {
    if (!ChineseLocaleInstalled()) GTEST_SKIP() << "the zh_CN.UTF-8 locale is not generated";
    struct Case {
        std::string args;
        std::string chinese;  // the first line after "brisnamake-cli: "
        std::string english;
        std::string helpOf;  // the subcommand whose help the second line names
    };
    const std::vector<Case> cases{
        {"--bogus", "未知选项: --bogus", "unknown option: --bogus", ""},
        {"genrate book.txt", "未知子命令: genrate。是不是想用 generate？",
         "unknown subcommand: genrate (did you mean generate?)", ""},
        {"chapter book.txt", "未知子命令: chapter。是不是想用 chapters？",
         "unknown subcommand: chapter (did you mean chapters?)", ""},
        {"frobnicate", "未知子命令: frobnicate", "unknown subcommand: frobnicate", ""},
        {"", "缺少子命令", "A subcommand is required", ""},
        {"check", "缺少 BOOK", "BOOK is required", "check"},
        {"t2s book.txt", "缺少 OUT", "OUT is required", "t2s"},
        {"check book.txt --bogus", "未知选项: --bogus",
         "The following argument was not expected: --bogus", "check"},
        {"chapters book.txt --line 3x", "--line 的值 3x 不是 0 到 2147483647 之间的整数",
         "--line: Value 3x not in range 0 to 2147483647", "chapters"},
        {"check book.txt --encoding latin1",
         "--encoding 的值 latin1 不是 auto,gbk,utf-8,utf8,utf-16le,utf-16be,big5 之一",
         "--encoding: latin1 not in {auto,gbk,utf-8,utf8,utf-16le,utf-16be,big5}", "check"},
        {"check book.txt --line", "--line 缺少值 N", "", "check"},
        {"generate book.txt --output-dir book.txt", "--output-dir 不是文件夹: book.txt",
         "--output-dir: not a folder: book.txt", "generate"},
        {"unpack book.txt", "书文件的名字须以 .qbr2、.qbr 或 .epub 结尾: book.txt",
         "the book file must end in .qbr2, .qbr or .epub: book.txt", "unpack"},
        {"check - -", "标准输入（-）只能读一次", "standard input (-) can be read only once", ""},
        {"chapters - -", "多余的参数: -", "The following argument was not expected: -", "chapters"},
        {"chapters book.txt -- extra", "多余的参数: extra", "unexpected arguments: extra",
         "chapters"},
    };
    for (const Locale& locale : kLocales) {
        for (const Case& c : cases) {
            CliResult run = RunShell(
                std::string(locale.environment) + " brisnamake-cli " + c.args + " </dev/null",
                dir.path());
            const std::string context = std::string(locale.environment) + " " + c.args;
            EXPECT_EQ(run.exitCode, 2) << context;
            EXPECT_EQ(run.out, "") << context;
            ASSERT_EQ(run.ErrLines().size(), 2u) << context << "\n" << run.err;
            const std::string& wanted = locale.chinese ? c.chinese : c.english;
            if (!wanted.empty()) {
                EXPECT_EQ(run.ErrLines()[0], "brisnamake-cli: " + wanted) << context;
            } else {
                EXPECT_EQ(run.ErrLines()[0].rfind("brisnamake-cli: ", 0), 0u) << run.err;
            }
            const std::string help =
                "brisnamake-cli " + (c.helpOf.empty() ? "" : c.helpOf + " ") + "--help";
            EXPECT_EQ(run.ErrLines()[1], locale.chinese ? "用法见 " + help + "。"
                                                        : "Run " + help + " for more information.")
                << context;
        }
    }
    // help is --help, of the program or of a subcommand.
    EXPECT_EQ(RunShell("brisnamake-cli help", dir.path()).out,
              RunShell("brisnamake-cli --help", dir.path()).out);
    CliResult subcommandHelp = RunShell("brisnamake-cli help unpack", dir.path());
    EXPECT_EQ(subcommandHelp.exitCode, 0);
    EXPECT_EQ(subcommandHelp.out, RunShell("brisnamake-cli unpack --help", dir.path()).out);
}

TEST_F(Habits, SystemReasonsFollowTheLocale) {
    if (!ChineseLocaleInstalled()) GTEST_SKIP() << "the zh_CN.UTF-8 locale is not generated";
    CliResult chinese = RunShell("LC_ALL=zh_CN.UTF-8 brisnamake-cli check nope.txt", dir.path());
    EXPECT_EQ(chinese.exitCode, 3);
    EXPECT_EQ(chinese.err, "打开文件失败: nope.txt: 没有那个文件或目录\n");
    // LANGUAGE is gettext's own choice and must not make the reason another language.
    CliResult english =
        RunShell("LANGUAGE= LC_ALL=C.UTF-8 brisnamake-cli check nope.txt", dir.path());
    EXPECT_EQ(english.err, "打开文件失败: nope.txt: No such file or directory\n");
}

TEST_F(Habits, AReaderThatGoesAwayEndsTheRunQuietly) {
    // Enough text that the pipe is full long before the end.
    test::WriteFileBytes(dir / "big.txt", NumberedBook(std::vector<uint32_t>(90, 25000)));
    CliResult generated = Run({"generate", "big.txt", "--incremental", "第1章"});
    ASSERT_EQ(generated.exitCode, 0);
    ASSERT_FALSE(generated.Lines().empty());
    for (const std::string& command :
         {"unpack " + generated.Lines()[0] + " -o -", std::string("t2s big.txt -"),
          std::string("check big.txt --words words.csv")}) {
        test::WriteFileBytes(dir / "words.csv", G("的\r\n"));  // a problem on almost every line
        CliResult run = RunShell(std::string("bash -c 'brisnamake-cli ") + command +
                                     " | head -1 >/dev/null; echo ${PIPESTATUS[0]}'",
                                 dir.path());
        EXPECT_EQ(run.out, "141\n") << command;
        EXPECT_EQ(run.err, "") << command;
    }
}

TEST_F(Habits, PrintedPathsAreTheFilesOwnBytes) {
    const std::string gbkName = G("河湾") + ".txt";
    test::WriteFileBytes(dir / gbkName, sample);
    CliResult generate = Run({"generate", gbkName, "--incremental", "第一章"});
    ASSERT_EQ(generate.exitCode, 0) << generate.err;
    ASSERT_EQ(generate.Lines().size(), 2u) << generate.out;
    for (const std::string& path : generate.Lines()) EXPECT_TRUE(fs::exists(dir / path)) << path;
    // ... so they can be passed on; a batch's prefix names the book by its bytes as well.
    CliResult listed = RunShell(
        "brisnamake-cli generate " + gbkName + " --incremental 第一章 | xargs ls", dir.path());
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    CliResult batch = Run({"generate", gbkName, "book.txt", "--incremental", "第一章"});
    EXPECT_TRUE(Contains(batch.out, gbkName + ": " + G("河湾") + ".qbr2\n")) << batch.out;
}

TEST_F(Habits, GeneratedBooksOpenWhereverABookIsRead) {
    ASSERT_EQ(Run({"generate", "book.txt", "--incremental", "第一章"}).exitCode, 0);
    fs::create_directory(dir / "again");
    const std::vector<std::string> unpacked = Run({"unpack", "book.qbr2"}).Lines();
    ASSERT_FALSE(unpacked.empty());
    for (const char* book : {"book.qbr2", "book.qbr"}) {
        CliResult chapters = Run({"chapters", book});
        EXPECT_EQ(chapters.exitCode, 0) << book << chapters.err;
        EXPECT_EQ(chapters.Lines(), unpacked) << book;
        EXPECT_EQ(Run({"check", book}).err, "") << book;
        EXPECT_EQ(Run({"missing", book}).exitCode, 0) << book;
        EXPECT_NE(Run({"detect", book}).exitCode, 3) << book;
        // A book is never written over the file it was read from: to another folder it is.
        CliResult regenerated = Run({"generate", book, "--output-dir", "again"});
        EXPECT_EQ(regenerated.exitCode, 0) << book << regenerated.err;
        EXPECT_EQ(Run({"unpack", std::string("again/") + book}).Lines(), unpacked) << book;
    }
    CliResult inPlace = Run({"generate", "book.qbr2"});
    EXPECT_EQ(inPlace.exitCode, 3);
    EXPECT_EQ(Run({"unpack", "book.qbr2"}).Lines(), unpacked);
}

}  // namespace
}  // namespace brisna::e2e
