#include "package/relationships.h"

#include <cctype>
#include <cstring>

#include "package/content_types.h"
#include "package/package_paths.h"
#include "package/relationship_targets.h"

namespace {

// Reads a decimal number at the start of [begin, end) as scanf's %d does:
// leading blanks skipped, an optional sign, at least one digit.
bool ReadNumber(const char* begin, const char* end, long long& out) {
    while (begin < end && std::isspace(static_cast<unsigned char>(*begin))) ++begin;
    bool negative = false;
    if (begin < end && (*begin == '+' || *begin == '-')) negative = *begin++ == '-';
    if (begin == end || !std::isdigit(static_cast<unsigned char>(*begin))) return false;
    long long value = 0;
    while (begin < end && std::isdigit(static_cast<unsigned char>(*begin))) {
        if (value < 100000000000000000LL) value = value * 10 + (*begin - '0');
        ++begin;
    }
    out = negative ? -value : value;
    return true;
}

// The number between prefixLength and the last dot of a name.
bool NumberBeforeExtension(const char* name, size_t prefixLength, long long& out) {
    const char* dot = std::strrchr(name, '.');
    if (!dot || static_cast<size_t>(dot - name) < prefixLength) return false;
    return ReadNumber(name + prefixLength, dot, out);
}

pugi::xml_node Relationships(Word::Document& document, Word::HeaderFooterPart* part = nullptr) {
    if (!part) return document.relsXml.document_element();
    return part->relsXml.document_element();
}

// The Relationships element of `part`, made when the part has none yet;
// the part's relationships are then written at the next save.
pugi::xml_node EditableRelationships(Word::Document& document, Word::HeaderFooterPart* part) {
    if (!part) return document.relsXml.document_element();
    if (!part->relsXml.document_element()) {
        part->relsXml.reset();
        part->relsIndex = Word::RelationshipIndex();
        part->relsXml.append_child("Relationships").append_attribute("xmlns") = kPackageRelationshipsNamespace;
    }
    part->hasRels = true;
    part->relsChanged = true;
    return part->relsXml.document_element();
}

Word::RelationshipIndex& IndexSlot(Word::Document& document, Word::HeaderFooterPart* part) {
    return part ? part->relsIndex : document.relsIndex;
}

// The number after the first three characters of an Id ("rId12": 12).
bool IdNumber(const char* id, long long& out) {
    size_t length = std::strlen(id);
    return length > 3 && ReadNumber(id + 3, id + length, out);
}

void IndexAdd(Word::RelationshipIndex& index, pugi::xml_node rel) {
    const char* id = rel.attribute("Id").value();
    if (!index.byId.emplace(id, rel).second) index.duplicates = true;
    long long number;
    if (IdNumber(id, number) && number > index.largest) index.largest = number;
}

// The part's index, built by one walk over its relationships when needed.
Word::RelationshipIndex& IndexOf(Word::Document& document, Word::HeaderFooterPart* part) {
    Word::RelationshipIndex& index = IndexSlot(document, part);
    if (index.built) return index;
    const long long handedOut = index.largest;
    index = Word::RelationshipIndex();
    index.largest = handedOut;
    for (pugi::xml_node rel : Relationships(document, part).children("Relationship")) IndexAdd(index, rel);
    index.built = true;
    return index;
}

}  // namespace

std::string Rel_GetNextFreeID(Word::Document& document, Word::HeaderFooterPart* part) {
    return "rId" + std::to_string(IndexOf(document, part).largest + 1);
}

std::string Rel_GetFileName(Word::Document& document, const char* extension, const char* kind,
                            size_t prefixLength) {
    const std::string type = std::string(kRelationshipTypeBase) + kind;
    long long largest = 0;
    for (pugi::xml_node rel : Relationships(document).children("Relationship")) {
        if (type != rel.attribute("Type").value()) continue;
        long long number;
        if (NumberBeforeExtension(rel.attribute("Target").value(), prefixLength, number) &&
            number > largest)
            largest = number;
    }
    return kind + std::to_string(largest + 1) + extension;
}

std::string Rel_GetUniqueHeaderName(Word::Document& document) {
    return Rel_GetFileName(document, ".xml", "header", 6);
}

std::string Rel_GetUniqueFooterName(Word::Document& document) {
    return Rel_GetFileName(document, ".xml", "footer", 6);
}

pugi::xml_node Rel_AddID(Word::Document& document, const char* id, const char* target,
                         const char* kind, Word::HeaderFooterPart* part) {
    pugi::xml_node rel = EditableRelationships(document, part).append_child("Relationship");
    rel.append_attribute("Id") = id;
    rel.append_attribute("Type") = (std::string(kRelationshipTypeBase) + kind).c_str();
    rel.append_attribute("Target") = target;
    RelTargets_Add(document, part, target);
    Word::RelationshipIndex& index = IndexSlot(document, part);
    if (index.built) IndexAdd(index, rel);
    return rel;
}

void Rel_AddImageID(Word::Document& document, const char* id, const char* fileName,
                    Word::HeaderFooterPart* part) {
    const std::string target = PackagePath_TargetFrom(Rel_PartName(document, part), std::string("word/media/") + fileName);
    Rel_AddID(document, id, target.c_str(), "image", part);
}

void Rel_AddHeaderID(Word::Document& document, const char* id, const char* target) {
    Rel_AddID(document, id, target, "header");
}

void Rel_AddFooterID(Word::Document& document, const char* id, const char* target) {
    Rel_AddID(document, id, target, "footer");
}

std::string Rel_RelateDocumentPart(Word::Document& document, const char* name, const char* kind,
                                   const char* contentType) {
    const std::string id = Rel_GetNextFreeID(document);
    const std::string target = PackagePath_TargetFrom(document.mainPartName, "word/" + std::string(name));
    Rel_AddID(document, id.c_str(), target.c_str(), kind);
    ContentType_SetPart(document, ("/word/" + std::string(name)).c_str(), contentType);
    return id;
}

pugi::xml_node Rel_AddDocumentPart(Word::Document& document, const char* name, const char* kind,
                                   const char* contentType, pugi::xml_document& xml, const char* root) {
    if (!document.relsXml.document_element() || !document.contentTypesXml.document_element())
        return pugi::xml_node();
    Rel_RelateDocumentPart(document, name, kind, contentType);
    xml.reset();
    pugi::xml_node element = xml.append_child(root);
    element.append_attribute("xmlns:w") = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
    return element;
}

bool Rel_DeleteID(Word::Document& document, const char* id, Word::HeaderFooterPart* part) {
    Word::RelationshipIndex& index = IndexOf(document, part);
    auto found = index.byId.find(id);
    if (found == index.byId.end()) return false;
    pugi::xml_node rel = found->second;
    index.byId.erase(found);
    // Another relationship of the same Id now comes first: find it again.
    // The largest number stays, so a deleted Id is not handed out again.
    if (index.duplicates) index.built = false;
    if (part) part->relsChanged = true;
    RelTargets_Drop(document, part, rel.attribute("Target").value());
    return Relationships(document, part).remove_child(rel);
}

pugi::xml_attribute Rel_TargetFromID(Word::Document& document, const char* id, bool& found,
                                     Word::HeaderFooterPart* part) {
    const Word::RelationshipIndex& index = IndexOf(document, part);
    auto entry = index.byId.find(id);
    found = entry != index.byId.end();
    return found ? entry->second.attribute("Target") : pugi::xml_attribute();
}

pugi::xml_node Rel_FromID(Word::Document& document, const char* id, Word::HeaderFooterPart* part) {
    const Word::RelationshipIndex& index = IndexOf(document, part);
    auto entry = index.byId.find(id);
    return entry == index.byId.end() ? pugi::xml_node() : entry->second;
}

bool Rel_SetTarget(Word::Document& document, const char* id, const char* target, Word::HeaderFooterPart* part) {
    const Word::RelationshipIndex& index = IndexOf(document, part);
    auto entry = index.byId.find(id);
    if (entry == index.byId.end()) return false;
    pugi::xml_attribute attribute = entry->second.attribute("Target");
    if (attribute) {
        RelTargets_Drop(document, part, attribute.value());
        attribute = target;
        RelTargets_Add(document, part, target);
    }
    if (part) part->relsChanged = true;
    return true;
}

std::string Rel_PartName(const Word::Document& document, Word::HeaderFooterPart* part) {
    return part ? part->partName : document.mainPartName;
}
