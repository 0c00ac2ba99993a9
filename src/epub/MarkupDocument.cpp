#include "epub/MarkupDocument.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <mutex>

namespace brisna {

namespace {

void IgnoreGenericError(void*, const char*, ...) {}
void IgnoreStructuredError(void*, xmlErrorPtr) {}

// The library is set up once per process; its error handlers are per thread, so every thread
// that parses silences them for itself (a damaged book is refused with one message, not a
// screenful of parser diagnostics).
void PrepareParser() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
    xmlSetGenericErrorFunc(nullptr, IgnoreGenericError);
    xmlSetStructuredErrorFunc(nullptr, IgnoreStructuredError);
}

bool StartsWithUtf16Mark(std::string_view bytes) {
    return bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                 (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

bool StartsWithUtf8Mark(std::string_view bytes) {
    return bytes.starts_with("\xEF\xBB\xBF");
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = Lower(c);
    return lower;
}

// How far into a document its encoding declarations are looked for.
constexpr size_t kDeclarationWindow = 4096;

// The encoding the XML declaration at the start names, lower case; empty when it names none.
std::string XmlDeclarationEncoding(std::string_view bytes) {
    if (StartsWithUtf8Mark(bytes)) bytes.remove_prefix(3);
    if (!bytes.starts_with("<?xml")) return {};
    const size_t end = bytes.find("?>");
    if (end == std::string_view::npos || end > kDeclarationWindow) return {};
    const std::string declaration = LowerCase(bytes.substr(0, end));
    size_t at = declaration.find("encoding");
    if (at == std::string::npos) return {};
    at = declaration.find_first_of("\"'", at);
    if (at == std::string::npos) return {};
    const size_t close = declaration.find(declaration[at], at + 1);
    if (close == std::string::npos) return {};
    return declaration.substr(at + 1, close - at - 1);
}

// The name the converter knows for a declared encoding. GB2312 and GBK labels are read with
// their superset, since books labelled so routinely hold characters outside GB2312.
std::string ConverterName(const std::string& declared) {
    if (declared == "gb2312" || declared == "gbk" || declared == "x-gbk" || declared == "cp936" ||
        declared == "windows-936" || declared == "gb_2312-80" || declared == "csgb2312") {
        return "GB18030";
    }
    return declared;
}

bool IsUtf8Label(const std::string& declared) {
    return declared == "utf-8" || declared == "utf8" || declared == "unicode-1-1-utf-8";
}

}  // namespace

std::string DeclaredMetaCharset(std::string_view bytes) {
    const std::string head = LowerCase(bytes.substr(0, std::min(bytes.size(), kDeclarationWindow)));
    for (size_t meta = head.find("<meta"); meta != std::string::npos;
         meta = head.find("<meta", meta + 5)) {
        const size_t close = head.find('>', meta);
        const std::string_view tag = std::string_view(head).substr(
            meta, close == std::string::npos ? head.npos : close - meta);
        size_t at = tag.find("charset");
        if (at == std::string_view::npos) continue;
        at += 7;
        while (at < tag.size() && (tag[at] == ' ' || tag[at] == '\t')) ++at;
        if (at >= tag.size() || tag[at] != '=') continue;
        ++at;
        while (at < tag.size() &&
               (tag[at] == ' ' || tag[at] == '\t' || tag[at] == '"' || tag[at] == '\'')) {
            ++at;
        }
        std::string name;
        while (at < tag.size() && name.size() < 40 &&
               ((tag[at] >= 'a' && tag[at] <= 'z') || (tag[at] >= '0' && tag[at] <= '9') ||
                tag[at] == '-' || tag[at] == '_' || tag[at] == '.' || tag[at] == ':')) {
            name.push_back(tag[at++]);
        }
        if (!name.empty()) return name;
    }
    return {};
}

std::string WithoutInternalSubset(std::string_view bytes) {
    const std::string head = LowerCase(bytes.substr(0, std::min(bytes.size(), kDeclarationWindow)));
    const size_t start = head.find("<!doctype");
    if (start == std::string::npos) return std::string(bytes);
    bool subset = false;
    size_t at = start + 9;
    char quote = 0;
    bool inSubset = false;
    for (; at < bytes.size(); ++at) {
        const char c = bytes[at];
        if (quote != 0) {
            if (c == quote) quote = 0;
            continue;
        }
        if (inSubset && bytes.substr(at, 4) == "<!--") {
            const size_t end = bytes.find("-->", at + 4);
            at = end == std::string_view::npos ? bytes.size() : end + 2;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[' && !inSubset) {
            inSubset = subset = true;
        } else if (c == ']' && inSubset) {
            inSubset = false;
        } else if (c == '>' && !inSubset) {
            break;
        }
    }
    if (!subset) return std::string(bytes);
    // An unterminated declaration swallows the rest, as it would for the XML parser.
    const size_t end = std::min(at + 1, bytes.size());
    std::string out(bytes.substr(0, start));
    out.append(bytes.substr(end));
    return out;
}

size_t MostElements(std::string_view bytes) {
    size_t count = 0;
    for (const char c : bytes) count += c == '<';
    return count;
}

namespace {

XmlDocument ReadXml(std::string_view bytes, const char* encoding) {
    if (bytes.size() > INT_MAX) return nullptr;
    PrepareParser();
    // No XML_PARSE_NOENT and no DTD loading: entities stay references, so no declaration can
    // blow a small file up, and nothing is fetched from anywhere.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                        XML_PARSE_NOCDATA | XML_PARSE_COMPACT;
    return XmlDocument(
        xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, encoding, options));
}

XmlDocument ReadHtml(std::string_view bytes, const char* encoding) {
    if (bytes.size() > INT_MAX) return nullptr;
    PrepareParser();
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                        HTML_PARSE_NONET | HTML_PARSE_COMPACT;
    return XmlDocument(
        htmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, encoding, options));
}

}  // namespace

XmlDocument ParseXml(std::string_view bytes) {
    return ReadXml(bytes, nullptr);
}

XmlDocument ParseMarkup(std::string_view bytes) {
    // A byte-order mark decides first, then the XML declaration (which the XML parser follows by
    // itself), and only then a <meta>.
    const bool marked = StartsWithUtf16Mark(bytes) || StartsWithUtf8Mark(bytes);
    std::string declared = marked ? std::string() : XmlDeclarationEncoding(bytes);
    const bool fromProlog = !declared.empty();
    if (!marked && declared.empty()) declared = DeclaredMetaCharset(bytes);
    if (IsUtf8Label(declared)) declared.clear();
    const std::string converter = ConverterName(declared);
    if (!converter.empty() && !fromProlog) {
        if (XmlDocument document = ReadXml(bytes, converter.c_str())) return document;
    }
    if (XmlDocument document = ParseXml(bytes)) return document;
    const std::string html = WithoutInternalSubset(bytes);
    if (!converter.empty()) {
        if (XmlDocument document = ReadHtml(html, converter.c_str())) return document;
    }
    // EPUB documents are UTF-8 unless they carry a UTF-16 mark.
    return ReadHtml(html, StartsWithUtf16Mark(bytes) ? nullptr : "UTF-8");
}

std::string LocalName(const xmlNode* node) {
    if (node == nullptr || node->name == nullptr) return {};
    std::string_view name(reinterpret_cast<const char*>(node->name));
    // The HTML parser keeps a prefix as part of the name.
    if (size_t colon = name.rfind(':'); colon != std::string_view::npos) {
        name.remove_prefix(colon + 1);
    }
    std::string lower(name);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::optional<std::string> AttributeOf(const xmlNode* node, std::string_view localName) {
    if (node == nullptr || node->type != XML_ELEMENT_NODE) return std::nullopt;
    for (const xmlAttr* attribute = node->properties; attribute != nullptr;
         attribute = attribute->next) {
        if (LocalName(reinterpret_cast<const xmlNode*>(attribute)) != localName) continue;
        xmlChar* value = xmlNodeListGetString(node->doc, attribute->children, 1);
        std::string text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
        xmlFree(value);
        return text;
    }
    return std::nullopt;
}

xmlNode* FindElement(xmlNode* parent, std::string_view localName, bool deep) {
    if (parent == nullptr) return nullptr;
    if (!deep) {
        for (xmlNode* child = parent->children; child != nullptr; child = child->next) {
            if (child->type == XML_ELEMENT_NODE && LocalName(child) == localName) return child;
        }
        return nullptr;
    }
    xmlNode* found = nullptr;
    WalkTree(
        parent,
        [&](xmlNode* node) {
            if (found != nullptr) return false;
            if (node->type == XML_ELEMENT_NODE && LocalName(node) == localName) {
                found = node;
                return false;
            }
            return true;
        },
        [](xmlNode*) {});
    return found;
}

std::vector<xmlNode*> ChildElements(xmlNode* parent, std::string_view localName) {
    std::vector<xmlNode*> children;
    if (parent == nullptr) return children;
    for (xmlNode* child = parent->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && LocalName(child) == localName) {
            children.push_back(child);
        }
    }
    return children;
}

void WalkTree(xmlNode* root, const std::function<bool(xmlNode*)>& enter,
              const std::function<void(xmlNode*)>& leave) {
    if (root == nullptr) return;
    xmlNode* node = root->children;
    while (node != nullptr) {
        // Only elements lead further down: an entity reference's children belong to its
        // declaration, elsewhere in the document.
        const bool descend = enter(node) && node->type == XML_ELEMENT_NODE;
        if (descend && node->children != nullptr) {
            node = node->children;
            continue;
        }
        for (;;) {
            leave(node);
            if (node->next != nullptr) {
                node = node->next;
                break;
            }
            node = node->parent;
            if (node == nullptr || node == root) {
                node = nullptr;
                break;
            }
        }
    }
}

}  // namespace brisna
