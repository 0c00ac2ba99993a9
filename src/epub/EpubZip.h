#pragma once
// The zip container of an e-book, in memory: a writer that gives the same bytes for the same
// entries, and a reader that never inflates more than it was allowed to.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisna {

struct ZipEntry {
    std::string name;     // path inside the archive, '/' separated
    std::string bytes;    // the entry's content
    bool stored = false;  // kept uncompressed (the mimetype entry must be)
};

// The archive of the entries in the order given, every entry with the same fixed date and
// attributes, compressed entries at zlib's default level. Nothing when the zip library fails.
std::optional<std::string> BuildZip(const std::vector<ZipEntry>& entries);

// Bounds a reader applies before it inflates anything.
struct ZipLimits {
    uint64_t entryBytes = 0;  // the most one entry may hold uncompressed
    uint64_t totalBytes = 0;  // the most all entries read from one archive may hold together
};

enum class ZipReadStatus {
    kOk,
    kMissing,   // no entry of that name
    kTooLarge,  // over one of the bounds
    kDamaged,   // the entry does not inflate to what its header promises
    kPassword,  // the entry is encrypted with a zip password
};

struct ZipRead {
    ZipReadStatus status = ZipReadStatus::kOk;
    std::string bytes;
};

// An archive opened over bytes the caller keeps alive. Entries are read by name only; nothing
// from the archive is ever written to disk.
class ZipArchiveReader {
  public:
    // Nothing when the bytes are not a zip archive.
    static std::unique_ptr<ZipArchiveReader> Open(std::string_view bytes, ZipLimits limits);
    ~ZipArchiveReader();
    ZipArchiveReader(const ZipArchiveReader&) = delete;
    ZipArchiveReader& operator=(const ZipArchiveReader&) = delete;

    bool Has(std::string_view name) const;
    // The entry's content, within the per-entry bound and what is left of the total.
    ZipRead Read(std::string_view name);

  private:
    struct Handle;
    explicit ZipArchiveReader(std::unique_ptr<Handle> handle, ZipLimits limits);
    // The entry's index; exact spelling first, then ignoring case as many readers do.
    std::optional<uint64_t> Locate(std::string_view name) const;

    std::unique_ptr<Handle> handle_;
    ZipLimits limits_;
    uint64_t readSoFar_ = 0;
};

}  // namespace brisna
