#include "e2e/EpubChecker.h"

#include "e2e/CliTestSupport.h"

namespace brisna::e2e {

namespace {
constexpr const char* kCheckerJar = "/usr/share/java/epubcheck.jar";
}  // namespace

bool HaveChecker() {
    static const bool have =
        std::filesystem::exists(kCheckerJar) && RunShell("command -v java", ".").exitCode == 0;
    return have;
}

std::string CheckerProblems(const std::filesystem::path& epub) {
    // The checker is a short run: the JVM's quick compiler alone takes it in under half the time.
    CliResult run = RunShell(std::string("java -XX:TieredStopAtLevel=1 -XX:+UseSerialGC -jar ") +
                                 kCheckerJar + " '" + epub.string() + "'",
                             epub.parent_path());
    const std::string report = run.out + run.err;
    if (run.exitCode == 0 && report.find("No errors or warnings detected.") != std::string::npos) {
        return {};
    }
    return report.empty() ? "the checker did not run" : report;
}

}  // namespace brisna::e2e
