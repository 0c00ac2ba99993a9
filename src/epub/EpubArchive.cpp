#include "epub/EpubArchive.h"

#include "epub/EpubMessages.h"
#include "epub/EpubReader.h"

namespace brisna {

namespace {

// Font obfuscation is not encryption of the text: such books open.
bool IsFontObfuscation(std::string_view algorithm) {
    return algorithm == "http://www.idpf.org/2008/embedding" ||
           algorithm == "http://ns.adobe.com/pdf/enc#RC";
}

}  // namespace

std::optional<std::string> EpubArchive::Entry(std::string_view name, bool required) {
    ZipRead read = zip_.Read(name);
    switch (read.status) {
        case ZipReadStatus::kOk:
            return std::move(read.bytes);
        case ZipReadStatus::kMissing:
            if (required) refusal_ = epub_messages::MissingEntry(name);
            return std::nullopt;
        case ZipReadStatus::kTooLarge:
            refusal_ = epub_messages::kEntryTooLarge;
            return std::nullopt;
        case ZipReadStatus::kDamaged:
            refusal_ = epub_messages::kDamaged;
            return std::nullopt;
        case ZipReadStatus::kPassword:
            refusal_ = epub_messages::kPassword;
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> EpubArchive::OptionalEntry(std::string_view name) {
    ZipRead read = zip_.Read(name);
    if (read.status != ZipReadStatus::kOk) return std::nullopt;
    return std::move(read.bytes);
}

XmlDocument EpubArchive::Parse(std::string_view bytes, bool markup) {
    const size_t elements = MostElements(bytes);
    elements_ += elements;
    if (elements > kMaxEpubDocumentElements || elements_ > kMaxEpubBookElements) {
        refusal_ = epub_messages::kTextTooLong;
        return nullptr;
    }
    return markup ? ParseMarkup(bytes) : ParseXml(bytes);
}

bool EpubArchive::Encrypted() {
    const char kEncryption[] = "META-INF/encryption.xml";
    if (!zip_.Has(kEncryption)) return false;
    std::optional<std::string> bytes = Entry(kEncryption, false);
    XmlDocument document = bytes ? Parse(*bytes, false) : nullptr;
    bool encrypted = !document;  // a list that cannot be read is taken at its word
    if (document) {
        WalkTree(
            reinterpret_cast<xmlNode*>(document.get()),
            [&](xmlNode* node) {
                if (node->type == XML_ELEMENT_NODE && LocalName(node) == "encryptionmethod") {
                    std::optional<std::string> algorithm = AttributeOf(node, "algorithm");
                    if (!algorithm || !IsFontObfuscation(*algorithm)) encrypted = true;
                }
                return true;
            },
            [](xmlNode*) {});
    }
    if (encrypted && refusal_.empty()) refusal_ = epub_messages::kDrm;
    return encrypted || !refusal_.empty();
}

}  // namespace brisna
