#include "epub/EpubZip.h"

#include <zip.h>

#include <thread>

namespace brisna {

namespace {

// 2000-01-01 00:00:00 in the zip format's own date and time fields: no clock and no time zone
// reaches the archive.
constexpr uint16_t kFixedDosDate = ((2000 - 1980) << 9) | (1 << 5) | 1;
constexpr uint16_t kFixedDosTime = 0;
// zlib's default level: on text the highest level saves about one per cent for twice the time.
constexpr uint32_t kDeflateLevel = 6;
// A regular file, rw-r--r--, as Unix archivers record it.
constexpr uint32_t kRegularFileAttributes = (0100644u << 16);

// The bytes a zip written into a memory source ended up with.
std::optional<std::string> SourceBytes(zip_source_t* source) {
    if (zip_source_open(source) < 0) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        zip_int64_t got = zip_source_read(source, buffer, sizeof buffer);
        if (got < 0) {
            zip_source_close(source);
            return std::nullopt;
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    zip_source_close(source);
    return bytes;
}

// An archive being written into memory.
class ArchiveWriter {
  public:
    ArchiveWriter() {
        zip_error_t error;
        zip_error_init(&error);
        target_ = zip_source_buffer_create(nullptr, 0, 0, &error);
        if (target_ != nullptr) {
            archive_ = zip_open_from_source(target_, ZIP_TRUNCATE, &error);
            if (archive_ == nullptr) {
                zip_source_free(target_);
                target_ = nullptr;
            } else {
                // Closing the archive writes into the target; it must outlive the archive.
                zip_source_keep(target_);
            }
        }
        zip_error_fini(&error);
    }
    ~ArchiveWriter() {
        if (archive_ != nullptr) zip_discard(archive_);
        if (target_ != nullptr) zip_source_free(target_);
    }
    ArchiveWriter(const ArchiveWriter&) = delete;
    ArchiveWriter& operator=(const ArchiveWriter&) = delete;

    zip_t* Archive() const { return archive_; }

    // Adds an entry from `data` (taken over, also on failure) with the fixed date and
    // attributes. A source of compressed data in the entry's own method is kept as it is.
    bool Add(const ZipEntry& entry, zip_source_t* data) {
        if (archive_ == nullptr || data == nullptr) {
            if (data != nullptr) zip_source_free(data);
            return false;
        }
        zip_int64_t index = zip_file_add(archive_, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(data);
            return false;
        }
        const zip_uint64_t at = static_cast<zip_uint64_t>(index);
        return zip_set_file_compression(archive_, at, entry.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                        entry.stored ? 0 : kDeflateLevel) == 0 &&
               zip_file_set_dostime(archive_, at, kFixedDosTime, kFixedDosDate, 0) == 0 &&
               zip_file_set_external_attributes(archive_, at, 0, ZIP_OPSYS_UNIX,
                                                kRegularFileAttributes) == 0;
    }

    // Writes the archive out; nothing when the library fails.
    std::optional<std::string> Close() {
        if (archive_ == nullptr || zip_close(archive_) < 0) return std::nullopt;
        archive_ = nullptr;
        return SourceBytes(target_);
    }

  private:
    zip_source_t* target_ = nullptr;
    zip_t* archive_ = nullptr;
};

// The archive of entries [from, to), compressing each.
std::optional<std::string> CompressedArchive(const std::vector<ZipEntry>& entries, size_t from,
                                             size_t to) {
    ArchiveWriter writer;
    for (size_t i = from; i < to; ++i) {
        const ZipEntry& entry = entries[i];
        zip_source_t* data =
            writer.Archive() == nullptr
                ? nullptr
                : zip_source_buffer(writer.Archive(), entry.bytes.data(), entry.bytes.size(), 0);
        if (!writer.Add(entry, data)) return std::nullopt;
    }
    return writer.Close();
}

// Archives opened for reading, discarded when it goes.
struct OpenedArchives {
    std::vector<zip_t*> archives;
    OpenedArchives() = default;
    OpenedArchives(const OpenedArchives&) = delete;
    OpenedArchives& operator=(const OpenedArchives&) = delete;
    ~OpenedArchives() {
        for (zip_t* archive : archives) zip_discard(archive);
    }
};

// Below this much content one thread compresses everything.
constexpr size_t kSplitBytes = 1024 * 1024;

}  // namespace

std::optional<std::string> BuildZip(const std::vector<ZipEntry>& entries) {
    size_t total = 0;
    for (const ZipEntry& entry : entries) total += entry.bytes.size();
    if (total < kSplitBytes || entries.size() < 2)
        return CompressedArchive(entries, 0, entries.size());

    // Deflating is nearly all of the work: the two halves of the entries are compressed side by
    // side, each into an archive of its own, and the archive written takes their compressed
    // data as it stands. The bytes are those of compressing in one go.
    size_t half = 0;
    for (size_t bytes = 0; half + 1 < entries.size() && bytes < total / 2; ++half) {
        bytes += entries[half].bytes.size();
    }
    std::optional<std::string> second;
    std::thread worker([&] { second = CompressedArchive(entries, half, entries.size()); });
    std::optional<std::string> first = CompressedArchive(entries, 0, half);
    worker.join();
    if (!first || !second) return std::nullopt;

    // The parts are read while the archive is written: they go after it.
    OpenedArchives parts;
    ArchiveWriter writer;
    for (const std::string* part : {&*first, &*second}) {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(part->data(), part->size(), 0, &error);
        zip_t* archive =
            source == nullptr ? nullptr : zip_open_from_source(source, ZIP_RDONLY, &error);
        zip_error_fini(&error);
        if (archive == nullptr) {
            if (source != nullptr) zip_source_free(source);
            return std::nullopt;
        }
        parts.archives.push_back(archive);
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        zip_t* part = parts.archives[i < half ? 0 : 1];
        const zip_uint64_t index = i < half ? i : i - half;
        zip_source_t* data =
            writer.Archive() == nullptr
                ? nullptr
                : zip_source_zip(writer.Archive(), part, index, ZIP_FL_COMPRESSED, 0, -1);
        if (!writer.Add(entries[i], data)) return std::nullopt;
    }
    return writer.Close();
}

struct ZipArchiveReader::Handle {
    zip_t* archive = nullptr;
    ~Handle() {
        if (archive != nullptr) zip_discard(archive);
    }
};

ZipArchiveReader::ZipArchiveReader(std::unique_ptr<Handle> handle, ZipLimits limits)
    : handle_(std::move(handle)), limits_(limits) {}

ZipArchiveReader::~ZipArchiveReader() = default;

std::unique_ptr<ZipArchiveReader> ZipArchiveReader::Open(std::string_view bytes, ZipLimits limits) {
    // Shorter than the end-of-archive record: the library would take it for an empty archive.
    constexpr size_t kEndRecordBytes = 22;
    if (bytes.size() < kEndRecordBytes) return nullptr;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source == nullptr) {
        zip_error_fini(&error);
        return nullptr;
    }
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (archive == nullptr) {
        zip_source_free(source);
        return nullptr;
    }
    auto handle = std::make_unique<Handle>();
    handle->archive = archive;
    return std::unique_ptr<ZipArchiveReader>(new ZipArchiveReader(std::move(handle), limits));
}

std::optional<uint64_t> ZipArchiveReader::Locate(std::string_view name) const {
    // An embedded NUL would make the lookup find some other, shorter name.
    if (name.empty() || name.find('\0') != std::string_view::npos) return std::nullopt;
    const std::string key(name);
    zip_int64_t index = zip_name_locate(handle_->archive, key.c_str(), ZIP_FL_ENC_GUESS);
    if (index < 0) {
        index = zip_name_locate(handle_->archive, key.c_str(), ZIP_FL_NOCASE | ZIP_FL_ENC_GUESS);
    }
    if (index < 0) return std::nullopt;
    return static_cast<uint64_t>(index);
}

bool ZipArchiveReader::Has(std::string_view name) const {
    return Locate(name).has_value();
}

ZipRead ZipArchiveReader::Read(std::string_view name) {
    ZipRead result;
    std::optional<uint64_t> index = Locate(name);
    if (!index) {
        result.status = ZipReadStatus::kMissing;
        return result;
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(handle_->archive, *index, 0, &stat) < 0 || !(stat.valid & ZIP_STAT_SIZE)) {
        result.status = ZipReadStatus::kDamaged;
        return result;
    }
    // A password-protected entry cannot be read at all; it is told apart from damage.
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE) {
        result.status = ZipReadStatus::kPassword;
        return result;
    }
    // The sizes are judged before a single byte is inflated; the stream below then never gives
    // more than the header promised.
    if (stat.size > limits_.entryBytes || stat.size > limits_.totalBytes - readSoFar_) {
        result.status = ZipReadStatus::kTooLarge;
        return result;
    }
    zip_file_t* file = zip_fopen_index(handle_->archive, *index, 0);
    if (file == nullptr) {
        result.status = ZipReadStatus::kDamaged;
        return result;
    }
    result.bytes.resize(stat.size);
    uint64_t filled = 0;
    bool damaged = false;
    while (filled < stat.size) {
        zip_int64_t got = zip_fread(file, result.bytes.data() + filled, stat.size - filled);
        if (got <= 0) {
            damaged = true;
            break;
        }
        filled += static_cast<uint64_t>(got);
    }
    if (!damaged) {
        // One more read reaches the end of the stream, where the checksum is compared; any
        // byte beyond the promised size is damage too.
        char extra;
        damaged = zip_fread(file, &extra, 1) != 0;
    }
    zip_fclose(file);
    readSoFar_ += stat.size;
    if (damaged) {
        result.bytes.clear();
        result.status = ZipReadStatus::kDamaged;
    }
    return result;
}

}  // namespace brisna
