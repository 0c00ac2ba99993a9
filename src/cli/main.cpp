// brisnamake-cli: generate, check and unpack books, and run operator scripts, without a window.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "book/AtomicFile.h"
#include "book/Generation.h"
#include "chapters/ChapterTitle.h"
#include "cli/CliSession.h"
#include "cli/ScriptRunner.h"

namespace {

using brisna::cli::ChapterOption;
using brisna::cli::CliSession;

constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

// The chapter options of one subcommand, collected in the order they were given.
struct ChapterOptions {
    CLI::Option* line = nullptr;
    CLI::Option* incremental = nullptr;
    CLI::Option* keyword = nullptr;
    std::vector<std::string> lines, incrementals, keywords;

    void AddTo(CLI::App& command) {
        line = command.add_option("--line", lines,
                                  "put the caret on display line N (0-based) and add a chapter");
        incremental = command.add_option("--incremental", incrementals,
                                         "incremental chapter add from HEADING");
        keyword = command.add_option("--keyword", keywords, "keyword chapter add of HEADING");
    }

    std::vector<ChapterOption> InOrder(const CLI::App& command) const {
        std::vector<ChapterOption> options;
        size_t nextLine = 0, nextIncremental = 0, nextKeyword = 0;
        for (const CLI::Option* option : command.parse_order()) {
            if (option == line && nextLine < lines.size()) {
                options.push_back({ChapterOption::Kind::kLine, lines[nextLine++]});
            } else if (option == incremental && nextIncremental < incrementals.size()) {
                options.push_back(
                    {ChapterOption::Kind::kIncremental, incrementals[nextIncremental++]});
            } else if (option == keyword && nextKeyword < keywords.size()) {
                options.push_back({ChapterOption::Kind::kKeyword, keywords[nextKeyword++]});
            }
        }
        return options;
    }
};

std::optional<std::string> WordsFile(const std::string& words) {
    if (words.empty()) return std::nullopt;
    return words;
}

// Opens the book and applies the chapter options; false when one of them was refused.
bool PrepareBook(CliSession& session, const std::string& book,
                 const std::vector<ChapterOption>& options) {
    if (!session.OpenText(book)) return false;
    for (const ChapterOption& option : options) {
        std::string error;
        if (!session.ApplyChapterOption(option, error)) {
            if (!error.empty()) std::cerr << error << '\n';
            return false;
        }
    }
    return true;
}

bool WriteNewFile(const std::string& path, std::string_view bytes, bool force) {
    std::error_code ignored;
    if (!force && std::filesystem::exists(path, ignored)) {
        std::cerr << path << ": exists; use --force to overwrite it\n";
        return false;
    }
    if (!brisna::WriteFileAtomically(path, bytes)) {
        std::cerr << path << ": cannot be written\n";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"BrisnaMake without a window: generate, check and unpack books, run scripts."};
    app.require_subcommand(1);

    std::string book, words, output, script, input;
    bool force = false;

    CLI::App* generate =
        app.add_subcommand("generate", "mark chapters and write the .qbr2 and .qbr files");
    generate->add_option("BOOK", book, "the book text (.txt, GBK)")->required();
    ChapterOptions generateOptions;
    generateOptions.AddTo(*generate);
    generate->add_option("--words", words, "suspicious-word list instead of ./BrisnaMake.csv");

    CLI::App* check = app.add_subcommand("check", "run the test command and print its problems");
    check->add_option("BOOK", book, "the book text (.txt, GBK)")->required();
    ChapterOptions checkOptions;
    checkOptions.AddTo(*check);
    check->add_option("--words", words, "suspicious-word list instead of ./BrisnaMake.csv");

    CLI::App* chapters = app.add_subcommand("chapters", "print the chapters the options mark");
    chapters->add_option("BOOK", book, "the book text (.txt, GBK)")->required();
    ChapterOptions chaptersOptions;
    chaptersOptions.AddTo(*chapters);

    CLI::App* missing = app.add_subcommand("missing", "run the missing-chapter check");
    missing->add_option("BOOK", book, "the book text (.txt, GBK)")->required();
    ChapterOptions missingOptions;
    missingOptions.AddTo(*missing);

    CLI::App* unpack = app.add_subcommand("unpack", "open a .qbr2 or .qbr book");
    unpack->add_option("BOOK", book, "the book file (.qbr2 or .qbr)")->required();
    unpack->add_option("-o,--output", output, "write the book text (GBK) to this file");
    unpack->add_flag("--force", force, "overwrite the output file");

    CLI::App* scriptCommand = app.add_subcommand("script", "run an operator script");
    scriptCommand->add_option("FILE", script, "the script (UTF-8)")->required();
    scriptCommand->add_option("--words", words, "suspicious-word list instead of ./BrisnaMake.csv");

    CLI::App* t2s = app.add_subcommand("t2s", "convert a book from Traditional to Simplified");
    t2s->add_option("IN", input, "the book text (.txt, GBK)")->required();
    t2s->add_option("OUT", output, "where the converted text goes")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& failure) {
        app.exit(failure);
        return kExitUsage;
    }

    CliSession session(std::cout, WordsFile(words));

    if (generate->parsed()) {
        if (!PrepareBook(session, book, generateOptions.InOrder(*generate))) return kExitRefused;
        // The written paths come first, then the command's messages.
        session.HoldMessages(true);
        brisna::CBrisnaMakeDlg& dialog = session.Dialog();
        brisna::GenerationOutcome outcome =
            brisna::GenerateBook(dialog.bookText, dialog.chapterList, dialog.chapters, dialog.host,
                                 dialog.bookSourcePath);
        for (const std::string& path : outcome.writtenFiles) std::cout << path << '\n';
        session.PrintHeldMessages();
        return outcome.succeeded ? kExitOk : kExitRefused;
    }
    if (check->parsed()) {
        if (!PrepareBook(session, book, checkOptions.InOrder(*check))) return kExitRefused;
        session.Dialog().OnCommand(brisna::kTestButton);
        session.PrintProblems();
        return session.ProblemList().GetCount() == 0 ? kExitOk : kExitRefused;
    }
    if (chapters->parsed()) {
        if (!PrepareBook(session, book, chaptersOptions.InOrder(*chapters))) return kExitRefused;
        brisna::ChapterModel& model = session.Dialog().chapters;
        model.SetTextLength(static_cast<uint32_t>(brisna::ReadBookText(session.View()).size()));
        model.ComputeLengths();
        session.PrintChapters();
        return kExitOk;
    }
    if (missing->parsed()) {
        if (!PrepareBook(session, book, missingOptions.InOrder(*missing))) return kExitRefused;
        session.Dialog().OnCommand(brisna::kCheckMissingButton);
        session.PrintProblems();
        return session.ProblemList().GetCount() == 0 ? kExitOk : kExitRefused;
    }
    if (unpack->parsed()) {
        bool qbr2 = book.size() >= 5 && book.compare(book.size() - 5, 5, ".qbr2") == 0;
        bool qbr = book.size() >= 4 && book.compare(book.size() - 4, 4, ".qbr") == 0;
        if (!qbr2 && !qbr) {
            std::cerr << book << ": the book file must end in .qbr2 or .qbr\n";
            return kExitUsage;
        }
        std::error_code ignored;
        if (!output.empty() && !force && std::filesystem::exists(output, ignored)) {
            std::cerr << output << ": exists; use --force to overwrite it\n";
            return kExitRefused;
        }
        bool opened = session.OpenBook(book, qbr2);
        // Also after a damaged .qbr file: the chapters read before the damage are shown.
        session.PrintChapters();
        if (!opened) return kExitRefused;
        if (!output.empty() && !WriteNewFile(output, session.View().GetText(), force)) {
            return kExitRefused;
        }
        return kExitOk;
    }
    if (scriptCommand->parsed()) {
        std::ifstream file(script, std::ios::binary);
        if (!file) {
            std::cerr << script << ": cannot be read\n";
            return kExitRefused;
        }
        return brisna::cli::ScriptRunner(session).Run(file, std::cerr);
    }
    if (t2s->parsed()) {
        if (!session.OpenText(input)) return kExitRefused;
        session.Dialog().OnCommand(brisna::kConvertButton);
        return WriteNewFile(output, session.View().GetText(), true) ? kExitOk : kExitRefused;
    }
    return kExitUsage;
}
