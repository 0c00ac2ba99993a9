#include "app/SuspiciousWords.h"

#include "app/AppMessages.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"
#include "text/EncodingConversion.h"
#include "text/EncodingDetection.h"
#include "text/FileReading.h"

namespace brisna {

WordListResult LoadSuspiciousWords(const std::filesystem::path& file) {
    WordListResult result;
    if (file.empty()) {
        result.status = WordListStatus::kMissing;
        return result;
    }
    // Regular files only: a folder or a FIFO named BrisnaMake.csv must not stop the start.
    FileReadResult read = ReadRegularFile(file.string(), kMaxWordListBytes + 1);
    if (read.status == FileReadStatus::kTooLarge) {
        result.status = WordListStatus::kTooLarge;
        return result;
    }
    if (read.status != FileReadStatus::kOk) {
        result.status = WordListStatus::kMissing;
        return result;
    }
    RememberInputFile(read.identity);
    // The list is kept in GBK like the text it is searched in; a byte-order mark is dropped. A
    // file whose lines end in CR alone is split at its CRs, as a book is.
    const std::string bytes =
        CrLineEndsToCrLf(ConvertToGbk(read.bytes, DetectTextEncoding(read.bytes)).gbk);

    std::string entry;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char byte = bytes[i];
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        if (byte == '\n') {
            result.words.push_back(std::move(entry));
            entry.clear();
        } else {
            entry.push_back(byte);
        }
    }
    if (!entry.empty()) result.words.push_back(std::move(entry));
    return result;
}

std::vector<std::string> ReadSuspiciousWords(const std::filesystem::path& file) {
    return LoadSuspiciousWords(file).words;
}

std::string WordListTooLargeMessage() {
    return Utf8ToGbk(app_messages::kWordListTooLarge);
}

}  // namespace brisna
