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
// fails).
XmlDocument ParseMarkup(std::string_view bytes);

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
