#include "app/SuspiciousWords.h"

#include <fstream>
#include <iterator>

namespace brisna {

std::vector<std::string> ReadSuspiciousWords(const std::filesystem::path& file) {
    std::vector<std::string> words;
    // Opened for reading only: the program never writes the list, so a read-only file counts.
    std::ifstream in(file, std::ios::binary);
    if (!in) return words;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    std::string entry;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char byte = bytes[i];
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        if (byte == '\n') {
            words.push_back(std::move(entry));
            entry.clear();
        } else {
            entry.push_back(byte);
        }
    }
    if (!entry.empty()) words.push_back(std::move(entry));
    return words;
}

}  // namespace brisna
