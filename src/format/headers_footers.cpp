#include "format/headers_footers.h"

#include <cstring>
#include <string>

#include "format/schema_order.h"
#include "format/xml_namespaces.h"
#include "format/section_properties.h"
#include "package/package_paths.h"
#include "package/relationships.h"
#include "package/xml_string_writer.h"

namespace {

struct KindNames {
    const char* reference;  // w:headerReference
    const char* relation;   // header
    const char* root;       // w:hdr
    const char* contentType;
};

KindNames NamesOf(HeaderFooterKind kind) {
    if (kind == HeaderFooterKind::Header)
        return {"w:headerReference", "header", "w:hdr",
                "application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml"};
    return {"w:footerReference", "footer", "w:ftr",
            "application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml"};
}

Word::HeaderFooterList& ListOf(Word::Document& document, HeaderFooterKind kind) {
    return kind == HeaderFooterKind::Header ? document.headers : document.footers;
}

Word::HeaderFooterPart* PartWithId(Word::HeaderFooterList& list, const char* id) {
    for (Word::HeaderFooterPart* part = list.head; part; part = part->next) {
        if (part->id == id) return part;
        for (const std::string& other : part->otherIds)
            if (other == id) return part;
    }
    return nullptr;
}

// headerN.xml (footerN.xml) with N past every relationship target of that
// kind and every part held, so no part is overwritten.
std::string UniqueName(Word::Document& document, HeaderFooterKind kind) {
    const KindNames names = NamesOf(kind);
    std::string name = kind == HeaderFooterKind::Header ? Rel_GetUniqueHeaderName(document)
                                                        : Rel_GetUniqueFooterName(document);
    const size_t prefix = std::strlen(names.relation);
    long long number = std::atoll(name.c_str() + prefix);
    while (document.HoldsPart("word/" + name)) name = names.relation + std::to_string(++number) + ".xml";
    return name;
}

// Makes the new part show: a first-page part needs w:titlePg in its section,
// an even-page one w:evenAndOddHeaders in the settings.
void MakeTypeShow(Word::Document& document, pugi::xml_node sectPr, const char* type) {
    if (std::strcmp(type, "first") == 0) {
        pugi::xml_node titlePg = ChildInOrder(sectPr, "w:titlePg", ChildOrder::SectionProperties);
        titlePg.remove_attribute("w:val");
    } else if (std::strcmp(type, "even") == 0) {
        pugi::xml_node settings = document.EnsureSettings();
        if (!settings) return;
        pugi::xml_node even = ChildInOrder(settings, "w:evenAndOddHeaders", ChildOrder::Settings);
        even.remove_attribute("w:val");
    }
}


// The part of this kind and type that the nearest earlier section names:
// the final section shows it when it names none itself (what word
// processors write for a header linked to the previous section). Null
// when no earlier section names one.
Word::HeaderFooterPart* InheritedPart(pugi::xml_node body, const KindNames& names, const char* typeText,
                                      Word::HeaderFooterList& list) {
    for (pugi::xml_node child = body.last_child(); child; child = child.previous_sibling()) {
        if (std::strcmp(child.name(), "w:p") != 0) continue;
        pugi::xml_node sectPr = child.child("w:pPr").child("w:sectPr");
        for (pugi::xml_node reference : sectPr.children(names.reference)) {
            if (std::strcmp(reference.attribute("w:type").value(), typeText) != 0) continue;
            if (Word::HeaderFooterPart* part = PartWithId(list, reference.attribute("r:id").value())) return part;
        }
    }
    return nullptr;
}

}  // namespace

const char* HeaderFooter_TypeText(int64_t type) {
    if (type == 0) return "default";
    if (type == 1) return "first";
    return "even";
}

void HeaderFooter_CreateInitialXML(pugi::xml_document& xml, HeaderFooterKind kind) {
    const std::string text = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><") +
                             NamesOf(kind).root + "></" + NamesOf(kind).root + ">";
    xml.reset();
    xml.load_buffer(text.data(), text.size(), Word::kParseOptions, pugi::encoding_auto);
    pugi::xml_node root = xml.document_element();
    Xml_DeclareDocumentNamespaces(root);
}

pugi::xml_node HeaderFooter_Find(Word::Document& document, HeaderFooterKind kind, int64_t type, bool create) {
    const KindNames names = NamesOf(kind);
    const char* typeText = HeaderFooter_TypeText(type);
    pugi::xml_node sectPr = Body_FinalSectPr(document.documentXml.child("w:document").child("w:body"));
    pugi::xml_node reference;
    for (pugi::xml_node child : sectPr.children(names.reference)) {
        if (std::strcmp(child.attribute("w:type").value(), typeText) == 0) {
            reference = child;
            break;
        }
    }
    Word::HeaderFooterList& list = ListOf(document, kind);
    if (reference) {
        if (Word::HeaderFooterPart* part = PartWithId(list, reference.attribute("r:id").value()))
            return part->xml.document_element();
    } else if (Word::HeaderFooterPart* inherited =
                   InheritedPart(document.documentXml.child("w:document").child("w:body"), names, typeText, list)) {
        return inherited->xml.document_element();
    }
    // Without final section properties nothing could refer to a new part.
    if (!create || !sectPr) return pugi::xml_node();

    const std::string name = UniqueName(document, kind);
    const std::string id = Rel_RelateDocumentPart(document, name.c_str(), names.relation, names.contentType);
    if (reference) {
        // A stale reference is pointed at the new part, not doubled.
        pugi::xml_attribute rid = reference.attribute("r:id");
        if (!rid) rid = reference.append_attribute("r:id");
        rid = id.c_str();
    } else {
        reference = InsertChildInOrder(sectPr, names.reference, ChildOrder::SectionProperties);
        reference.append_attribute("w:type") = typeText;
        reference.append_attribute("r:id") = id.c_str();
    }
    MakeTypeShow(document, sectPr, typeText);

    auto* part = new Word::HeaderFooterPart;
    part->target = PackagePath_TargetFrom(document.mainPartName, "word/" + name);
    part->id = id;
    part->partName = "word/" + name;
    HeaderFooter_CreateInitialXML(part->xml, kind);
    Word::HeaderFooterList_Append(list, part);
    return part->xml.document_element();
}
