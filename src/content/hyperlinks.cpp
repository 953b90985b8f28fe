#include "content/hyperlinks.h"

#include <string>

#include "content/run_text.h"
#include "format/styles.h"
#include "format/xml_helpers.h"
#include "package/discarded_nodes.h"
#include "package/relationship_uses.h"
#include "package/relationships.h"

namespace {

// A new external hyperlink relationship in `part`; returns its id.
std::string AddExternalRelationship(Word::Document& document, Word::HeaderFooterPart* part,
                                    std::string_view target) {
    const std::string id = Rel_GetNextFreeID(document, part);
    Rel_AddID(document, id.c_str(), std::string(target).c_str(), "hyperlink", part)
        .append_attribute("TargetMode") = "External";
    return id;
}

}  // namespace

void Hyperlink_EnsureStyle(Word::Document& document) {
    if (!document.EnsureStyles()) return;
    pugi::xml_node styles = Styles_Element(document.stylesXml);
    if (!HasStyle(styles, "character", kHyperlinkStyleId)) AddStyle_Hyperlink(styles);
}

pugi::xml_node Hyperlink_Append(Word::Document& document, pugi::xml_node paragraph, std::string_view text,
                                std::string_view address) {
    if (!paragraph) return pugi::xml_node();
    Word::HeaderFooterPart* part = document.PartOfNode(paragraph);
    const std::string id = AddExternalRelationship(document, part, address);
    pugi::xml_node hyperlink = paragraph.append_child("w:hyperlink");
    hyperlink.append_attribute("r:id") = id.c_str();
    RelUses_Add(document, part, id);
    hyperlink.append_attribute("w:history") = "1";
    InternalAddRun(hyperlink, text, kHyperlinkStyleId, false);
    Hyperlink_EnsureStyle(document);
    return hyperlink;
}

bool Hyperlink_IsAnchorLink(pugi::xml_node hyperlink) {
    return hyperlink.attribute("w:anchor") && !hyperlink.attribute("r:id");
}

std::string Hyperlink_GetAddress(Word::Document& document, pugi::xml_node hyperlink) {
    pugi::xml_attribute anchor = hyperlink.attribute("w:anchor");
    pugi::xml_attribute relId = hyperlink.attribute("r:id");
    if (!relId) return anchor.value();
    bool found = false;
    std::string address =
        Rel_TargetFromID(document, relId.value(), found, document.PartOfNode(hyperlink)).value();
    if (anchor) address += std::string("#") + anchor.value();
    return address;
}

void Hyperlink_SetAddress(Word::Document& document, pugi::xml_node hyperlink, std::string_view address) {
    if (Hyperlink_IsAnchorLink(hyperlink)) {
        WriteAttribute(hyperlink, "w:anchor", address);
        return;
    }
    pugi::xml_attribute relId = hyperlink.attribute("r:id");
    if (!relId) return;
    Word::HeaderFooterPart* part = document.PartOfNode(hyperlink);
    const std::string id = relId.value();
    if (RelUses_Count(document, part, id) > 1) {
        // Another element of the part shows the same relationship: this link
        // gets one of its own, and the shared one stays as it is.
        const std::string own = AddExternalRelationship(document, part, address);
        RelUses_Drop(document, part, id, 1);
        relId.set_value(own.c_str());
        RelUses_Add(document, part, own);
    } else if (!Rel_SetTarget(document, id.c_str(), std::string(address).c_str(), part)) {
        return;
    }
    // The new address replaces the whole old one, fragment included.
    hyperlink.remove_attribute("w:anchor");
}

void Hyperlink_SetLinkToAnchor(Word::Document& document, pugi::xml_node hyperlink, bool toAnchor) {
    if (!hyperlink || Hyperlink_IsAnchorLink(hyperlink) == toAnchor) return;
    Word::HeaderFooterPart* part = document.PartOfNode(hyperlink);
    if (toAnchor) {
        pugi::xml_attribute relId = hyperlink.attribute("r:id");
        // Another link of the part may show the same relationship.
        const std::string id = relId.value();
        if (RelUses_Count(document, part, id) <= 1) Rel_DeleteID(document, id.c_str(), part);
        RelUses_Drop(document, part, id, 1);
        hyperlink.remove_attribute(relId);
        WriteAttribute(hyperlink, "w:anchor", std::string_view());
        return;
    }
    hyperlink.remove_attribute("w:anchor");
    const std::string id = AddExternalRelationship(document, part, std::string_view());
    WriteAttribute(hyperlink, "r:id", id);
    RelUses_Add(document, part, id);
}

void Hyperlink_Remove(pugi::xml_node hyperlink) {
    if (!hyperlink.parent()) return;
    // Views of the link and its runs may outlive it: it is discarded, not freed.
    Xml_Discard(hyperlink);
}
