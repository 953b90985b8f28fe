// A package may come without a styles part; one is made only when
// something needs styles.
#include "package/document.h"
#include "package/relationships.h"

namespace Word {

bool Document::EnsureStyles() {
    if (hasStyles) return true;
    pugi::xml_node root =
        Rel_AddDocumentPart(*this, "styles.xml", "styles",
                            "application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml", stylesXml,
                            "w:styles");
    if (!root) return false;
    root.append_attribute("xmlns:r") = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    stylesPartName = "word/styles.xml";
    hasStyles = true;
    return true;
}

}  // namespace Word
