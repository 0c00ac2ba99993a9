#pragma once
// Small helpers shared by the test programs: GBK literals, scratch folders, whole-file I/O.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brisna::test {

// The GBK bytes of a UTF-8 literal, so tests can write Chinese text readably.
std::string G(std::string_view utf8);
// The UTF-8 text of GBK bytes (lossless: invalid bytes show as private-use characters).
std::string U(std::string_view gbk);

// A fresh, empty folder under the system's temporary folder, removed with the object.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// The bytes in encoding `to` of bytes in `from`, converted by ICU (a converter independent of
// the program's own); empty when ICU fails.
std::string IcuConvert(std::string_view bytes, const char* to, const char* from);

std::string ReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);

// Up to `count` paragraphs of the Chinese characters (U+4E00 to U+9FFF) of UTF-8 text's lines,
// each of at least minBytes: prose that markup and converters leave as it is.
std::vector<std::string> ChineseParagraphs(std::string_view utf8, size_t minBytes, size_t count);

}  // namespace brisna::test
