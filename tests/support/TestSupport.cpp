#include "support/TestSupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include <unicode/ucnv.h>

#include "text/CodePage936.h"

namespace brisna::test {

std::string IcuConvert(std::string_view bytes, const char* to, const char* from) {
    std::string out(bytes.size() * 4 + 16, '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucnv_convert(to, from, out.data(), static_cast<int32_t>(out.size()),
                                  bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    out.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
    return out;
}

std::string G(std::string_view utf8) {
    return Utf8ToGbk(utf8);
}
std::string U(std::string_view gbk) {
    return GbkToUtf8Lossless(gbk);
}

TempDir::TempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate =
            std::filesystem::temp_directory_path() / ("brisna-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a scratch folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::string> ChineseParagraphs(std::string_view utf8, size_t minBytes, size_t count) {
    std::vector<std::string> paragraphs;
    size_t start = 0;
    while (paragraphs.size() < count && start < utf8.size()) {
        const size_t end = std::min(utf8.find('\n', start), utf8.size());
        std::string chinese;
        for (size_t i = start; i + 2 < end; ++i) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            if (lead >= 0xE4 && lead <= 0xE9) {
                chinese.append(utf8, i, 3);
                i += 2;
            }
        }
        start = end + 1;
        if (chinese.size() >= minBytes) paragraphs.push_back(std::move(chinese));
    }
    return paragraphs;
}

}  // namespace brisna::test
