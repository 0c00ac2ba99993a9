#pragma once
// XML and XHTML documents of an EPUB, parsed with libxml2: the strict XML parser first (no
// network, no external DTD, no entity expansion), and for XHTML that is not well-formed the
// forgiving HTML parser, which knows HTML's named entities and void elements the way browsers
// do. Plus the few tree helpers the EPUB reader needs.

#include <libxml/tree.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisna {

struct XmlDocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDocument = std::unique_ptr<xmlDoc, XmlDocFree>;

// A well-formed XML document, or nothing.
XmlDocument ParseXml(std::string_view bytes);
// XML when it is well-formed, else what the HTML parser makes of it (nothing only when even that
// fails). A document without a byte-order mark or an XML declaration naming its encoding is read
// in the encoding its <meta charset> (or http-equiv Content-Type) declares, else as UTF-8. The
// HTML parser never sees a DOCTYPE's internal subset: it would show the declarations as text.
XmlDocument ParseMarkup(std::string_view bytes);

// At least as many as the elements the document can hold: every element begins with '<'. Read
// before parsing, so a document of millions of tiny elements is refused before its tree is built.
size_t MostElements(std::string_view bytes);

// The encoding a document declares in a <meta> near its start ("gbk", "big5", ...), lower case;
// empty when it declares none.
std::string DeclaredMetaCharset(std::string_view bytes);

// The document with its DOCTYPE declaration removed when that has an internal subset.
std::string WithoutInternalSubset(std::string_view bytes);

// The element's name without prefix, in lower case.
std::string LocalName(const xmlNode* node);
// The value of the attribute whose name without prefix is `localName` (any namespace).
std::optional<std::string> AttributeOf(const xmlNode* node, std::string_view localName);
// The first element child (or, with `deep`, descendant in document order) of that local name.
xmlNode* FindElement(xmlNode* parent, std::string_view localName, bool deep);
// Element children of that local name.
std::vector<xmlNode*> ChildElements(xmlNode* parent, std::string_view localName);

// Visits the subtree below root in document order without recursion (no nesting depth can run
// the stack out). enter returns whether to go into the node's children; leave is called for
// every node visited, after its children when it was gone into. Only elements are gone into.
void WalkTree(xmlNode* root, const std::function<bool(xmlNode*)>& enter,
              const std::function<void(xmlNode*)>& leave);

}  // namespace brisna
