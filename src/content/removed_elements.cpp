#include "content/removed_elements.h"

#include <cstring>
#include <string>

#include "document/document_data.h"
#include "drawing/picture_media.h"
#include "package/discarded_nodes.h"
#include "package/relationship_uses.h"
#include "package/relationships.h"

namespace {

// Whether the relationship's Type is the base plus `kind`. Other kinds
// (headers, footers, parts embedded in other ways) are not released by a
// removal.
bool IsOfKind(pugi::xml_node rel, const char* kind) {
    const char* type = rel.attribute("Type").value();
    const size_t baseLength = std::strlen(kRelationshipTypeBase);
    return std::strncmp(type, kRelationshipTypeBase, baseLength) == 0 && std::strcmp(type + baseLength, kind) == 0;
}

}  // namespace

void Removal_Release(REALobject document, pugi::xml_node removed) {
    // Removed before: its uses were dropped then.
    if (!removed || Xml_IsDiscarded(removed)) return;
    Word::Document& doc = *DocumentData_Of(document)->wordDocument;
    Word::HeaderFooterPart* part = doc.PartOfNode(removed);
    for (const RelUse& use : RelUses_In(removed)) {
        // Counted before `removed` leaves the part, so its own uses are in.
        const long long others = RelUses_Count(doc, part, use.id) - use.count;
        RelUses_Drop(doc, part, use.id, use.count);
        if (others > 0) continue;
        pugi::xml_node rel = Rel_FromID(doc, use.id.c_str(), part);
        if (!rel) continue;
        if (IsOfKind(rel, "image"))
            PictureMedia_Release(document, part, use.id.c_str());
        else if (IsOfKind(rel, "hyperlink"))
            Rel_DeleteID(doc, use.id.c_str(), part);
    }
}
