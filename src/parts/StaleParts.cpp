#include "parts/StaleParts.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "Capacities.h"
#include "book/Qbr2Format.h"
#include "book/QbrFormat.h"
#include "parts/PartPlan.h"
#include "text/FileReading.h"

namespace brisna {

namespace {

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The base a part's name carries ("<folder>/<name>" without the mark and ".txt"), for a part
// number written with `width` digits.
std::string PartBase(std::string_view bookSourcePath, size_t width) {
    int count = 1;
    for (size_t k = 1; k < width; ++k) count *= 10;
    const std::string path = PartSourcePath(bookSourcePath, 1, count);
    const size_t mark = path.rfind('(');
    return mark == std::string::npos ? std::string() : path.substr(0, mark);
}

// True for "(digits)" with `width` digits, then an optional file number, then the extension.
bool IsPartNameRest(std::string_view rest, size_t width, std::string_view& extension) {
    if (rest.size() < width + 2 || rest[0] != '(' || rest[width + 1] != ')') return false;
    if (!AllDigits(rest.substr(1, width))) return false;
    rest.remove_prefix(width + 2);
    for (std::string_view ext : {std::string_view(".qbr2"), std::string_view(".qbr")}) {
        if (rest.size() >= ext.size() && rest.substr(rest.size() - ext.size()) == ext) {
            std::string_view number = rest.substr(0, rest.size() - ext.size());
            if (number.empty() || AllDigits(number)) {
                extension = ext;
                return true;
            }
        }
    }
    return false;
}

bool HoldsWholeBook(const std::string& path, bool qbr2) {
    FileReadResult read = ReadRegularFile(path, kMaxTextBytes);
    if (read.status != FileReadStatus::kOk) return false;
    return qbr2 ? ReadQbr2(read.bytes).ok : ReadQbr(read.bytes).ok;
}

}  // namespace

std::vector<std::string> StalePartFiles(std::string_view bookSourcePath,
                                        const std::vector<std::string>& writtenFiles) {
    std::vector<std::string> stale;
    const std::set<std::string> written(writtenFiles.begin(), writtenFiles.end());
    // Part numbers are as wide as the last one's: an edition of 12 parts says "(01)".
    for (size_t width = 1; width <= 3; ++width) {
        const std::string base = PartBase(bookSourcePath, width);
        if (base.empty()) continue;
        const size_t slash = base.rfind('/');
        const std::string folder =
            slash == std::string::npos ? std::string() : base.substr(0, slash + 1);
        const std::string name = slash == std::string::npos ? base : base.substr(slash + 1);
        std::error_code error;
        std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
        if (error) continue;
        for (; entries != std::filesystem::directory_iterator(); entries.increment(error)) {
            if (error) break;
            const std::string file = entries->path().filename().string();
            if (file.size() <= name.size() || file.compare(0, name.size(), name) != 0) continue;
            std::string_view extension;
            if (!IsPartNameRest(std::string_view(file).substr(name.size()), width, extension)) {
                continue;
            }
            const std::string path = folder + file;
            if (written.count(path) != 0) continue;
            // "<base>(k).txt" beside it: the book of a text of that name, not an old part.
            const std::string text = folder + name + file.substr(name.size(), width + 2) + ".txt";
            if (std::filesystem::exists(text, error) || error) continue;
            if (!entries->is_regular_file(error) || error) continue;
            if (!HoldsWholeBook(path, extension == ".qbr2")) continue;
            stale.push_back(path);
        }
    }
    std::sort(stale.begin(), stale.end());
    stale.erase(std::unique(stale.begin(), stale.end()), stale.end());
    return stale;
}

std::vector<std::string> RemoveStalePartFiles(const std::vector<std::string>& files) {
    std::vector<std::string> removed;
    for (const std::string& file : files) {
        std::error_code error;
        if (std::filesystem::remove(file, error) && !error) removed.push_back(file);
    }
    return removed;
}

}  // namespace brisna
