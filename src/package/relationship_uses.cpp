#include "package/relationship_uses.h"

#include <cstring>

#include "package/discarded_nodes.h"

namespace {

bool IsRelationshipAttribute(pugi::xml_attribute a) { return std::strncmp(a.name(), "r:", 2) == 0; }

// Calls use(id) for every relationship attribute of `element` and its
// descendants, the removed elements left out. An explicit stack: bodies
// nest deeply enough (tables in cells in text boxes) to spare the call
// stack.
template <typename Use>
void ForEachUse(pugi::xml_node element, Use use) {
    std::vector<pugi::xml_node> pending{element};
    while (!pending.empty()) {
        pugi::xml_node node = pending.back();
        pending.pop_back();
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
            if (IsRelationshipAttribute(a)) use(a.value());
        for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling())
            if (child.type() == pugi::node_element && !Xml_IsDiscardHolder(child)) pending.push_back(child);
    }
}

Word::RelationshipUses& UsesOf(Word::Document& document, Word::HeaderFooterPart* part) {
    Word::RelationshipUses& uses = part ? part->relsUses : document.relsUses;
    if (uses.counted) return uses;
    const pugi::xml_document& xml = part ? part->xml : document.documentXml;
    for (pugi::xml_node child = xml.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && !Xml_IsDiscardHolder(child))
            ForEachUse(child, [&](const char* id) { ++uses.byId[id]; });
    uses.counted = true;
    return uses;
}

}  // namespace

long long RelUses_Count(Word::Document& document, Word::HeaderFooterPart* part, const std::string& id) {
    const Word::RelationshipUses& uses = UsesOf(document, part);
    auto found = uses.byId.find(id);
    return found == uses.byId.end() ? 0 : found->second;
}

void RelUses_Add(Word::Document& document, Word::HeaderFooterPart* part, const std::string& id) {
    Word::RelationshipUses& uses = part ? part->relsUses : document.relsUses;
    // Not counted yet: the first count will find the new element.
    if (uses.counted) ++uses.byId[id];
}

void RelUses_Drop(Word::Document& document, Word::HeaderFooterPart* part, const std::string& id,
                  long long count) {
    Word::RelationshipUses& uses = part ? part->relsUses : document.relsUses;
    if (!uses.counted) return;
    auto found = uses.byId.find(id);
    if (found == uses.byId.end()) return;
    found->second -= count;
    if (found->second <= 0) uses.byId.erase(found);
}

std::vector<RelUse> RelUses_In(pugi::xml_node element) {
    std::vector<RelUse> found;
    std::unordered_map<std::string, size_t> position;
    if (!element) return found;
    ForEachUse(element, [&](const char* id) {
        auto [at, isNew] = position.emplace(id, found.size());
        if (isNew)
            found.push_back({id, 1});
        else
            ++found[at->second].count;
    });
    return found;
}
