#include "epub/XhtmlText.h"

#include <libxml/HTMLparser.h>
#include <libxml/entities.h>

#include <string_view>
#include <unordered_set>

#include "epub/MarkupDocument.h"

namespace brisna {

namespace {

// What a browser does not show as text.
const std::unordered_set<std::string_view>& HiddenElements() {
    static const std::unordered_set<std::string_view> names{
        "head",   "script", "style",    "template", "title",  "svg",      "math",
        "object", "iframe", "video",    "audio",    "canvas", "noscript", "rt",
        "rp",     "select", "textarea", "img",      "embed",  "picture"};
    return names;
}

// Elements laid out as blocks: each begins and ends a line.
const std::unordered_set<std::string_view>& BlockElements() {
    static const std::unordered_set<std::string_view> names{
        "address", "article", "aside",  "blockquote", "body", "caption", "center",   "dd",
        "details", "dialog",  "dir",    "div",        "dl",   "dt",      "fieldset", "figcaption",
        "figure",  "footer",  "form",   "h1",         "h2",   "h3",      "h4",       "h5",
        "h6",      "header",  "hgroup", "hr",         "html", "legend",  "li",       "main",
        "menu",    "nav",     "ol",     "p",          "pre",  "section", "summary",  "table",
        "tbody",   "tfoot",   "thead",  "tr",         "ul"};
    return names;
}

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

void AppendCodePoint(std::string& out, unsigned int code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return;
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

class LineBuilder {
  public:
    explicit LineBuilder(XhtmlLines& out) : out_(out) {}

    void Text(std::string_view utf8) {
        for (char c : utf8) {
            if (preformatted_ > 0) {
                if (c == '\n') {
                    BreakLine();
                } else if (c == '\t') {
                    current_.push_back(' ');
                } else if (static_cast<unsigned char>(c) >= 0x20) {
                    current_.push_back(c);
                }
                continue;
            }
            if (IsAsciiSpace(c)) {
                pendingSpace_ = true;
                continue;
            }
            if (static_cast<unsigned char>(c) < 0x20) continue;
            if (pendingSpace_ && !current_.empty()) current_.push_back(' ');
            pendingSpace_ = false;
            current_.push_back(c);
        }
    }
    // Between blocks: ends the line when it holds anything.
    void EndBlock() {
        if (!current_.empty()) out_.lines.push_back(std::move(current_));
        current_.clear();
        pendingSpace_ = false;
    }
    // <br>: always ends a line, an empty one too.
    void BreakLine() {
        out_.lines.push_back(std::move(current_));
        current_.clear();
        pendingSpace_ = false;
    }
    void Space() { pendingSpace_ = true; }
    void Anchor(std::string id) { out_.anchors.emplace(std::move(id), out_.lines.size()); }
    void EnterPreformatted() { ++preformatted_; }
    void LeavePreformatted() { --preformatted_; }

  private:
    XhtmlLines& out_;
    std::string current_;
    bool pendingSpace_ = false;
    int preformatted_ = 0;
};

void AppendEntity(LineBuilder& builder, xmlNode* node) {
    if (node->name == nullptr) return;
    std::string text;
    if (const htmlEntityDesc* known = htmlEntityLookup(node->name); known != nullptr) {
        AppendCodePoint(text, known->value);
    } else if (xmlEntity* declared = xmlGetDocEntity(node->doc, node->name);
               declared != nullptr && declared->etype == XML_INTERNAL_GENERAL_ENTITY &&
               declared->content != nullptr) {
        // The declared text itself, once: references inside it are not expanded again.
        text = reinterpret_cast<const char*>(declared->content);
    }
    builder.Text(text);
}

}  // namespace

XhtmlLines LinesOf(xmlNode* root) {
    XhtmlLines out;
    LineBuilder builder(out);
    WalkTree(
        root,
        [&](xmlNode* node) {
            switch (node->type) {
                case XML_TEXT_NODE:
                case XML_CDATA_SECTION_NODE:
                    if (node->content != nullptr) {
                        builder.Text(reinterpret_cast<const char*>(node->content));
                    }
                    return false;
                case XML_ENTITY_REF_NODE:
                    AppendEntity(builder, node);
                    return false;
                case XML_ELEMENT_NODE:
                    break;
                default:
                    return false;
            }
            const std::string name = LocalName(node);
            if (HiddenElements().contains(name)) return false;
            if (name == "br") {
                builder.BreakLine();
                return false;
            }
            if (BlockElements().contains(name)) builder.EndBlock();
            if (name == "td" || name == "th") builder.Space();
            if (name == "pre") builder.EnterPreformatted();
            if (std::optional<std::string> id = AttributeOf(node, "id")) {
                builder.Anchor(std::move(*id));
            }
            if (name == "a") {
                if (std::optional<std::string> anchor = AttributeOf(node, "name")) {
                    builder.Anchor(std::move(*anchor));
                }
            }
            return true;
        },
        [&](xmlNode* node) {
            if (node->type != XML_ELEMENT_NODE) return;
            const std::string name = LocalName(node);
            if (HiddenElements().contains(name) || name == "br") return;
            if (name == "pre") builder.LeavePreformatted();
            if (name == "td" || name == "th") builder.Space();
            if (BlockElements().contains(name)) builder.EndBlock();
        });
    builder.EndBlock();
    return out;
}

std::string ShownText(xmlNode* node) {
    XhtmlLines lines;
    if (node != nullptr && node->type == XML_ELEMENT_NODE) lines = LinesOf(node);
    std::string text;
    for (const std::string& line : lines.lines) {
        if (line.empty()) continue;
        if (!text.empty()) text.push_back(' ');
        text += line;
    }
    return text;
}

}  // namespace brisna
