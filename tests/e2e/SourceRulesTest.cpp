// Rules the program's own source keeps, checked on the source itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace brisna {
namespace {

namespace fs = std::filesystem;

// The arguments of the call whose '(' is at `open`, up to its matching ')'.
std::string CallArguments(const std::string& source, size_t open) {
    int depth = 0;
    for (size_t at = open; at < source.size(); ++at) {
        if (source[at] == '(') ++depth;
        if (source[at] == ')' && --depth == 0) return source.substr(open + 1, at - open - 1);
    }
    return source.substr(open + 1);
}

// A file-system call without an error_code throws on anything the disk may answer (a folder
// the user can no longer enter, a loop of links, a name too long), and nothing up the stack
// expects an exception: a window that checks its recent books at start then aborts.
TEST(ProgramSourceTest, EveryFileSystemCallTakesAnErrorCode) {
    const std::regex call(
        R"((?:filesystem|fs)::(absolute|canonical|weakly_canonical|relative|proximate|copy|)"
        R"(copy_file|copy_symlink|create_directory|create_directories|create_hard_link|)"
        R"(create_symlink|create_directory_symlink|current_path|exists|equivalent|file_size|)"
        R"(hard_link_count|last_write_time|permissions|read_symlink|remove|remove_all|rename|)"
        R"(resize_file|space|status|symlink_status|temp_directory_path|is_block_file|)"
        R"(is_character_file|is_directory|is_empty|is_fifo|is_other|is_regular_file|)"
        R"(is_socket|is_symlink|directory_iterator|recursive_directory_iterator)\s*\()");
    // An error_code argument, or a file_status already fetched (those overloads never throw).
    const std::regex safe(R"(\b(error\w*|\w*[Ee]rror|ec|\w*[Ss]tatus\w*)\b)");
    std::vector<std::string> throwing;
    for (const fs::directory_entry& entry :
         fs::recursive_directory_iterator(fs::path(BRISNA_SOURCE_DIR) / "src")) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".cpp" && extension != ".h") continue;
        const std::string source = test::ReadFileBytes(entry.path());
        for (auto match = std::sregex_iterator(source.begin(), source.end(), call);
             match != std::sregex_iterator(); ++match) {
            const size_t open = static_cast<size_t>(match->position(0) + match->length(0) - 1);
            const std::string arguments = CallArguments(source, open);
            if (std::regex_search(arguments, safe)) continue;
            // The end iterator of a directory listing throws nothing.
            if (arguments.empty() && match->str(1).ends_with("directory_iterator")) continue;
            throwing.push_back(entry.path().filename().string() + ": " + match->str(0) + arguments +
                               ")");
        }
    }
    EXPECT_TRUE(throwing.empty()) << ::testing::PrintToString(throwing);
}

}  // namespace
}  // namespace brisna
