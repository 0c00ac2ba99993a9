#pragma once
// The EPUB checker (epubcheck on a Java runtime) run from the end-to-end tests.

#include <filesystem>
#include <string>

namespace brisna::e2e {

bool HaveChecker();

// The checker's report when it found anything (or did not run), else empty.
std::string CheckerProblems(const std::filesystem::path& epub);

#define EXPECT_CHECKER_CLEAN(path)                                         \
    do {                                                                   \
        if (::brisna::e2e::HaveChecker()) {                                \
            EXPECT_EQ(::brisna::e2e::CheckerProblems(path), "") << (path); \
        }                                                                  \
    } while (0)

}  // namespace brisna::e2e
