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
        "rp",     "select", "textarea", "embed",    "picture"};
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

// The code point whose UTF-8 form starts at text[at]; 0 when none does.
char32_t CodePointAt(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    size_t length = lead < 0x80         ? 1
                    : (lead >> 5) == 6  ? 2
                    : (lead >> 4) == 14 ? 3
                    : (lead >> 3) == 30 ? 4
                                        : 0;
    if (length == 0 || at + length > text.size()) return 0;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    return code;
}

// East Asian wide characters other than Hangul: no space is drawn for a line break between two
// of them.
bool IsWideNotHangul(char32_t c) {
    return (c >= 0x2E80 && c <= 0xA4CF && !(c >= 0x3130 && c <= 0x318F)) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

bool IsIdeograph(char32_t c) {
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFD);
}

// The alt text of a picture set in place of a rare character: one to four Chinese characters.
bool IsCharacterAlt(std::string_view alt) {
    size_t count = 0;
    for (size_t at = 0; at < alt.size(); ++count) {
        const char32_t c = CodePointAt(alt, at);
        if (!IsIdeograph(c) || count == 4) return false;
        at += c < 0x10000 ? 3 : 4;
    }
    return count > 0;
}

class LineBuilder {
  public:
    LineBuilder(XhtmlLines& out, uint64_t* budget) : out_(out), budget_(budget) {}

    bool Spent() const { return out_.overBudget; }

    void Text(std::string_view utf8) {
        for (size_t i = 0; i < utf8.size() && !Spent(); ++i) {
            const char c = utf8[i];
            if (preformatted_ > 0) {
                if (c == '\n') {
                    BreakLine();
                } else if (c == '\t') {
                    Append(' ', utf8, i);
                } else if (static_cast<unsigned char>(c) >= 0x20) {
                    Append(c, utf8, i);
                }
                continue;
            }
            if (IsAsciiSpace(c)) {
                pendingSpace_ = true;
                pendingBreak_ = pendingBreak_ || c == '\n' || c == '\r';
                continue;
            }
            if (static_cast<unsigned char>(c) < 0x20) continue;
            if (pendingSpace_ && !current_.empty()) {
                const bool breakBetweenWide = pendingBreak_ && lastWide_ &&
                                              (static_cast<unsigned char>(c) & 0xC0) != 0x80 &&
                                              IsWideNotHangul(CodePointAt(utf8, i));
                if (!breakBetweenWide) Append(' ', " ", 0);
            }
            pendingSpace_ = pendingBreak_ = false;
            Append(c, utf8, i);
        }
    }
    // Between blocks: ends the line when it holds anything.
    void EndBlock() {
        if (!current_.empty()) PushLine();
        pendingSpace_ = pendingBreak_ = false;
    }
    // <br>: always ends a line, an empty one too.
    void BreakLine() {
        PushLine();
        pendingSpace_ = pendingBreak_ = false;
    }
    void Space() { pendingSpace_ = true; }
    void Anchor(std::string id) { out_.anchors.emplace(std::move(id), out_.lines.size()); }
    void EnterPreformatted() { ++preformatted_; }
    void LeavePreformatted() { --preformatted_; }

  private:
    // Draws from the budget; false (and the reading stops) once it is spent.
    bool Take(uint64_t bytes) {
        if (budget_ == nullptr) return true;
        if (*budget_ < bytes) {
            *budget_ = 0;
            out_.overBudget = true;
            return false;
        }
        *budget_ -= bytes;
        return true;
    }
    // One byte of text; a character's first byte is what is counted.
    void Append(char c, std::string_view text, size_t at) {
        const bool lead = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (lead) {
            if (!Take(1)) return;
            lastWide_ =
                static_cast<unsigned char>(c) >= 0x80 && IsWideNotHangul(CodePointAt(text, at));
        }
        current_.push_back(c);
    }
    void PushLine() {
        if (!Take(2)) return;
        out_.lines.push_back(std::move(current_));
        current_.clear();
        lastWide_ = false;
    }

    XhtmlLines& out_;
    uint64_t* budget_;
    std::string current_;
    bool pendingSpace_ = false;
    bool pendingBreak_ = false;
    bool lastWide_ = false;
    int preformatted_ = 0;
};

// Arrows that lead from a note back to its call, and the variation selectors drawn with them.
bool IsBackArrowText(std::string_view text) {
    if (text.empty()) return false;
    for (size_t at = 0; at < text.size();) {
        const char32_t c = CodePointAt(text, at);
        if (c == ' ') {
            ++at;
            continue;
        }
        if (c != 0x21A9 && c != 0x2191 && c != 0x2934 && c != 0x21B5 && c != 0xFE0E &&
            c != 0xFE0F) {
            return false;
        }
        at += c < 0x10000 ? 3 : 4;
    }
    return true;
}

// A note call's text: a number, maybe bracketed or starred.
bool IsNoteCallText(std::string_view text) {
    if (text.empty() || text.size() > 12) return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || c == '[' || c == ']' || c == '(' || c == ')' || c == '*' ||
              c == ' ')) {
            return false;
        }
    }
    return true;
}

bool HasWord(std::optional<std::string> list, std::string_view word) {
    if (!list) return false;
    return list->find(word) != std::string::npos;
}

// The text below a node when it is as short as a note call or an arrow (white space removed),
// else nothing. Only a few nodes are looked at, so links nested in links cost no more than that.
std::optional<std::string> ShortShownText(xmlNode* node) {
    constexpr size_t kMostBytes = 16;
    constexpr int kMostNodes = 32;
    std::string text;
    int nodes = 0;
    bool tooLong = false;
    WalkTree(
        node,
        [&](xmlNode* child) {
            if (tooLong || ++nodes > kMostNodes) {
                tooLong = true;
                return false;
            }
            if (child->type == XML_TEXT_NODE && child->content != nullptr) {
                for (const char* c = reinterpret_cast<const char*>(child->content); *c != 0; ++c) {
                    if (IsAsciiSpace(*c)) continue;
                    text.push_back(*c);
                    if (text.size() > kMostBytes) {
                        tooLong = true;
                        break;
                    }
                }
            }
            return child->type == XML_ELEMENT_NODE;
        },
        [](xmlNode*) {});
    if (tooLong) return std::nullopt;
    return text;
}

// A link to a note or back from one: what a reader shows as a superscript number or an arrow.
bool IsNoteLink(xmlNode* node, const std::string& name) {
    if (name != "a" && name != "sup") return false;
    if (name == "a") {
        for (const char* attribute : {"role", "type", "class"}) {
            const std::optional<std::string> value = AttributeOf(node, attribute);
            if (HasWord(value, "noteref") || HasWord(value, "backlink") ||
                HasWord(value, "footnote-ref") || HasWord(value, "footnote-back")) {
                return true;
            }
        }
        const std::optional<std::string> href = AttributeOf(node, "href");
        if (!href || href->find('#') == std::string::npos) return false;
        const std::optional<std::string> shown = ShortShownText(node);
        return shown && (IsBackArrowText(*shown) || IsNoteCallText(*shown));
    }
    // <sup><a href="#n1">1</a></sup>
    xmlNode* link = FindElement(node, "a", false);
    if (link == nullptr) return false;
    const std::optional<std::string> href = AttributeOf(link, "href");
    if (!href || href->find('#') == std::string::npos) return false;
    const std::optional<std::string> shown = ShortShownText(node);
    return shown && IsNoteCallText(*shown);
}

void AppendEntity(LineBuilder& builder, xmlNode* node) {
    if (node->name == nullptr) return;
    if (const htmlEntityDesc* known = htmlEntityLookup(node->name); known != nullptr) {
        std::string text;
        AppendCodePoint(text, known->value);
        builder.Text(text);
    } else if (xmlEntity* declared = xmlGetDocEntity(node->doc, node->name);
               declared != nullptr && declared->etype == XML_INTERNAL_GENERAL_ENTITY &&
               declared->content != nullptr) {
        // The declared text itself, read where it stands (never copied per reference); references
        // inside it are not expanded again, and the budget bounds what all references add up to.
        builder.Text(reinterpret_cast<const char*>(declared->content));
    }
}

}  // namespace

XhtmlLines LinesOf(xmlNode* root, uint64_t* budget) {
    XhtmlLines out;
    LineBuilder builder(out, budget);
    // A node not gone into is left right after it was entered: nothing to close for it.
    xmlNode* passedOver = nullptr;
    auto enter = [&](xmlNode* node) {
        if (builder.Spent()) return false;
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
        if (name == "img") {
            const std::optional<std::string> alt = AttributeOf(node, "alt");
            if (alt && IsCharacterAlt(*alt)) builder.Text(*alt);
            return false;
        }
        if (IsNoteLink(node, name)) {
            // The call goes, the place it stands for stays reachable.
            if (std::optional<std::string> id = AttributeOf(node, "id")) {
                builder.Anchor(std::move(*id));
            }
            return false;
        }
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
    };
    WalkTree(
        root,
        [&](xmlNode* node) {
            const bool goInto = enter(node);
            passedOver = goInto ? nullptr : node;
            return goInto;
        },
        [&](xmlNode* node) {
            if (node == passedOver || node->type != XML_ELEMENT_NODE) return;
            const std::string name = LocalName(node);
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
