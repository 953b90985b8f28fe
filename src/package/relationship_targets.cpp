#include "package/relationship_targets.h"

#include <unordered_set>

#include "package/archive.h"
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

// The part whose relationships the entry `name` holds ("word/_rels/x.xml.rels"
// gives "word/x.xml", "_rels/.rels" the package itself, ""); false when the
// entry is no relationships part.
bool SourceOfRelationships(const std::string& name, std::string& source) {
    const std::string key = PackagePath_Key(name);
    const size_t slash = key.rfind('/');
    if (slash == std::string::npos || slash < 5 || key.size() < slash + 1 + 5) return false;
    if (key.compare(key.size() - 5, 5, ".rels") != 0 || key.compare(slash - 5, 5, "_rels") != 0) return false;
    if (slash > 5 && key[slash - 6] != '/') return false;
    source = name.substr(0, slash - 5) + name.substr(slash + 1, name.size() - slash - 1 - 5);
    return true;
}

// The relationships parts of the package file that the document does not
// hold in trees of its own (footnotes', comments', a glossary's, any part
// copied as it is), counted from their bytes. Their relationships never
// change while the document is open.
void CountCopiedParts(Word::RelationshipTargets& targets, const Word::Document& document,
                      const std::unordered_set<std::string>& held) {
    Zip::ArchiveCloser archive(Zip::zip_open_bytes(document.sourceBytes));
    if (!archive.archive) return;
    const ssize_t count = Zip::zip_total_entries(archive.archive);
    Zip::EntryInfo info;
    std::string source, bytes;
    for (ssize_t i = 0; i < count; ++i) {
        if (Zip::zip_entry_info(archive.archive, static_cast<size_t>(i), info) != 0) continue;
        if (!SourceOfRelationships(info.name, source) || held.count(PackagePath_Key(info.name))) continue;
        if (Zip::zip_entry_openbyindex(archive.archive, static_cast<size_t>(i)) != 0) continue;
        const ssize_t read = Zip::zip_entry_read_limited(archive.archive, bytes, Zip::kPartReadLimits);
        Zip::zip_entry_close(archive.archive);
        pugi::xml_document rels;
        if (read < 0 || !rels.load_buffer(bytes.data(), bytes.size())) continue;
        CountPart(targets, rels, source);
    }
}

Word::RelationshipTargets& Counted(Word::Document& document) {
    Word::RelationshipTargets& targets = document.relsTargets;
    if (targets.counted) return targets;
    std::unordered_set<std::string> held;
    const std::string mainPart = Rel_PartName(document, nullptr);
    CountPart(targets, document.relsXml, mainPart);
    held.insert(PackagePath_Key(PackagePath_RelationshipsOf(mainPart)));
    for (const Word::HeaderFooterList* list : {&document.headers, &document.footers})
        for (Word::HeaderFooterPart* part = list->head; part; part = part->next) {
            CountPart(targets, part->relsXml, part->partName);
            held.insert(PackagePath_Key(PackagePath_RelationshipsOf(part->partName)));
        }
    if (document.packageRelsXml.document_element()) {
        CountPart(targets, document.packageRelsXml, std::string());
        held.insert("_rels/.rels");
    }
    CountCopiedParts(targets, document, held);
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
