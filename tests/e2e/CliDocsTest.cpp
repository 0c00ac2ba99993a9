// The command line's documentation against the program: the generated parts of docs/cli.md
// are current, the manual page renders cleanly, the completion script parses, and every
// example in docs/cli.md and the README runs with the exit status it is marked with.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Version.h"
#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"

namespace brisna::e2e {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = BRISNA_SOURCE_DIR;
const fs::path kCliFolder = fs::path(BRISNA_CLI).parent_path();

struct Example {
    std::string file;
    int line = 0;
    int exitCode = 0;
    std::string snippet;
};

// Code blocks preceded by "<!-- example: exit N -->".
std::vector<Example> ExamplesOf(const fs::path& document) {
    std::vector<Example> examples;
    std::string text = test::ReadFileBytes(document);
    const std::string marker = "<!-- example: exit ";
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind(marker, 0) != 0) continue;
        Example example{document.filename().string(), static_cast<int>(i + 1),
                        std::atoi(lines[i].c_str() + marker.size()), ""};
        size_t k = i + 1;
        if (k >= lines.size() || lines[k].rfind("```", 0) != 0) continue;
        for (++k; k < lines.size() && lines[k].rfind("```", 0) != 0; ++k) {
            example.snippet += lines[k] + "\n";
        }
        examples.push_back(example);
    }
    return examples;
}

TEST(CliDocs, GeneratedPartsAreCurrent) {
    fs::path generator = kCliFolder / "brisnamake-cli-docgen";
    ASSERT_TRUE(fs::exists(generator)) << "build the target brisnamake-cli-docs";
    test::TempDir dir;
    CliResult check = RunShell("'" + generator.string() + "' --check-markdown '" +
                                   (kSource / "docs" / "cli.md").string() + "'",
                               dir.path());
    EXPECT_EQ(check.exitCode, 0) << check.err;

    fs::path man = kCliFolder / "brisnamake-cli.1";
    fs::path completion = kCliFolder / "brisnamake-cli.bash-completion";
    ASSERT_TRUE(fs::exists(man));
    ASSERT_TRUE(fs::exists(completion));
    CliResult render = RunShell(
        "LC_ALL=C.UTF-8 MANWIDTH=80 man -l '" + man.string() + "' 2>&1 >/dev/null", dir.path());
    EXPECT_EQ(render.exitCode, 0);
    EXPECT_EQ(render.out, "");
    EXPECT_NE(test::ReadFileBytes(man).find(std::string(kVersion) + "\" \"User Commands\""),
              std::string::npos);
    // The completion script parses and offers the subcommands and their options.
    CliResult complete =
        RunShell("bash -c '. \"" + completion.string() +
                     "\"; COMP_WORDS=(brisnamake-cli generate --ou); COMP_CWORD=2; "
                     "_brisnamake_cli; echo \"${COMPREPLY[@]}\"'",
                 dir.path());
    EXPECT_EQ(complete.exitCode, 0) << complete.err;
    EXPECT_EQ(complete.out, "--output-dir\n");
}

TEST(CliDocs, EveryExampleRunsAsMarked) {
    std::vector<Example> examples = ExamplesOf(kSource / "docs" / "cli.md");
    std::vector<Example> readme = ExamplesOf(kSource / "README.md");
    examples.insert(examples.end(), readme.begin(), readme.end());
    ASSERT_GE(examples.size(), 6u);
    std::string sample = test::ReadFileBytes(kSource / "res" / "sample" / "sample.txt");
    for (const Example& example : examples) {
        test::TempDir dir;
        test::WriteFileBytes(dir / "book.txt", sample);
        fs::create_directory(dir / "books");
        test::WriteFileBytes(dir / "books" / "one.txt", sample);
        test::WriteFileBytes(dir / "books" / "two.txt", sample);
        CliResult run = RunShell("set -e\n" + example.snippet, dir.path());
        EXPECT_EQ(run.exitCode, example.exitCode) << example.file << ":" << example.line << "\n"
                                                  << example.snippet << run.err;
        EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace brisna::e2e
