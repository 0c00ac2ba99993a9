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

}  // namespace

XmlDocument ParseXml(std::string_view bytes) {
    if (bytes.size() > INT_MAX) return nullptr;
    PrepareParser();
    // No XML_PARSE_NOENT and no DTD loading: entities stay references, so no declaration can
    // blow a small file up, and nothing is fetched from anywhere.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                        XML_PARSE_NOCDATA | XML_PARSE_COMPACT;
    return XmlDocument(
        xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr, options));
}

XmlDocument ParseMarkup(std::string_view bytes) {
    XmlDocument document = ParseXml(bytes);
    if (document) return document;
    if (bytes.size() > INT_MAX) return nullptr;
    PrepareParser();
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                        HTML_PARSE_NONET | HTML_PARSE_COMPACT;
    // EPUB documents are UTF-8 unless they carry a UTF-16 mark.
    const char* encoding = StartsWithUtf16Mark(bytes) ? nullptr : "UTF-8";
    return XmlDocument(
        htmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, encoding, options));
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
