#include "package/relationship_targets.h"

#include "package/package_paths.h"
#include "package/relationships.h"

namespace {

// The key of the entry `target` of a relationship of `partName` names;
// empty when it leaves the package.
std::string KeyOf(const std::string& partName, const char* target) {
    const std::string entry = PackagePath_Resolve(partName, target);
    return entry.empty() ? entry : PackagePath_Key(entry);
}

void CountPart(Word::RelationshipTargets& targets, const pugi::xml_document& rels, const std::string& partName) {
    for (pugi::xml_node rel : rels.document_element().children("Relationship")) {
        const std::string key = KeyOf(partName, rel.attribute("Target").value());
        if (!key.empty()) ++targets.byEntry[key];
    }
}

Word::RelationshipTargets& Counted(Word::Document& document) {
    Word::RelationshipTargets& targets = document.relsTargets;
    if (targets.counted) return targets;
    CountPart(targets, document.relsXml, Rel_PartName(document, nullptr));
    for (const Word::HeaderFooterList* list : {&document.headers, &document.footers})
        for (Word::HeaderFooterPart* part = list->head; part; part = part->next)
            CountPart(targets, part->relsXml, part->partName);
    targets.counted = true;
    return targets;
}

}  // namespace

long long RelTargets_Count(Word::Document& document, const std::string& entry) {
    const Word::RelationshipTargets& targets = Counted(document);
    auto found = targets.byEntry.find(PackagePath_Key(entry));
    return found == targets.byEntry.end() ? 0 : found->second;
}

void RelTargets_Add(Word::Document& document, Word::HeaderFooterPart* part, const char* target) {
    if (!document.relsTargets.counted) return;
    const std::string key = KeyOf(Rel_PartName(document, part), target);
    if (!key.empty()) ++document.relsTargets.byEntry[key];
}

void RelTargets_Drop(Word::Document& document, Word::HeaderFooterPart* part, const char* target) {
    if (!document.relsTargets.counted) return;
    auto found = document.relsTargets.byEntry.find(KeyOf(Rel_PartName(document, part), target));
    if (found == document.relsTargets.byEntry.end()) return;
    if (--found->second <= 0) document.relsTargets.byEntry.erase(found);
}
