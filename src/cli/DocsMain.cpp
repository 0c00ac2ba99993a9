// brisnamake-cli-docgen: writes the manual pages and the shell completions of brisnamake-cli,
// and keeps the generated parts of docs/cli.md current, all from the command descriptions.
//
//   brisnamake-cli-docgen --man FILE --man-zh FILE --completion FILE --zsh-completion FILE
//                         --fish-completion FILE
//   brisnamake-cli-docgen --update-markdown docs/cli.md
//   brisnamake-cli-docgen --check-markdown docs/cli.md    exit 1 when it is not current
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "book/AtomicFile.h"
#include "cli/doc/Completions.h"
#include "cli/doc/ManPage.h"
#include "cli/doc/MarkdownReference.h"

namespace {

bool ReadWhole(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool Write(const std::string& path, const std::string& text) {
    if (brisna::WriteFileAtomically(path, text)) return true;
    std::cerr << path << ": cannot be written\n";
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string path = argv[i + 1];
        if (option == "--man") {
            if (!Write(path, brisna::cli::ManPage())) return 1;
        } else if (option == "--man-zh") {
            if (!Write(path, brisna::cli::ManPage(brisna::cli::Language::kChinese))) return 1;
        } else if (option == "--completion") {
            if (!Write(path, brisna::cli::BashCompletion())) return 1;
        } else if (option == "--zsh-completion") {
            if (!Write(path, brisna::cli::ZshCompletion())) return 1;
        } else if (option == "--fish-completion") {
            if (!Write(path, brisna::cli::FishCompletion())) return 1;
        } else if (option == "--update-markdown" || option == "--check-markdown") {
            std::string document;
            if (!ReadWhole(path, document)) {
                std::cerr << path << ": cannot be read\n";
                return 1;
            }
            bool markers = false;
            std::string updated = brisna::cli::UpdatedMarkdown(document, markers);
            if (!markers) {
                std::cerr << path << ": the generated-part markers are missing\n";
                return 1;
            }
            if (option == "--check-markdown") {
                if (updated != document) {
                    std::cerr << path
                              << ": not current; run brisnamake-cli-docgen "
                                 "--update-markdown "
                              << path << '\n';
                    return 1;
                }
            } else if (updated != document && !Write(path, updated)) {
                return 1;
            }
        } else {
            std::cerr << "usage: brisnamake-cli-docgen [--man FILE] [--man-zh FILE] "
                         "[--completion FILE] [--zsh-completion FILE] [--fish-completion FILE] "
                         "[--update-markdown FILE | --check-markdown FILE]\n";
            return 2;
        }
    }
    return 0;
}
