// A package may come without a styles part; one is made only when
// something needs styles.
#include "package/content_types.h"
#include "package/document.h"
#include "package/relationships.h"

namespace Word {

bool Document::EnsureStyles() {
    if (hasStyles) return true;
    pugi::xml_node rels = relsXml.document_element();
    if (!rels || !contentTypesXml.document_element()) return false;
    const std::string id = Rel_GetNextFreeID(*this);
    Rel_AddID(*this, id.c_str(), "styles.xml", "styles");
    ContentType_SetPart(*this, "/word/styles.xml",
                        "application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml");
    stylesXml.reset();
    pugi::xml_node root = stylesXml.append_child("w:styles");
    root.append_attribute("xmlns:w") = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
    root.append_attribute("xmlns:r") = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    stylesPartName = "word/styles.xml";
    hasStyles = true;
    return true;
}

}  // namespace Word
