#include "story_parts.h"

#include <cstring>

#include "format/number_labels.h"

namespace cli {

const char* const kStoryPartTypes[3] = {"default", "first", "even"};

SectionParts SectionParts_Of(pugi::xml_node sectPr, const PackageRelationships& rels) {
    SectionParts s;
    for (pugi::xml_node reference : sectPr.children()) {
        const bool header = std::strcmp(reference.name(), "w:headerReference") == 0;
        if (!header && std::strcmp(reference.name(), "w:footerReference") != 0) continue;
        auto rel = rels.find(reference.attribute("r:id").value());
        if (rel == rels.end() || rel->second.external) continue;
        const char* kind = reference.attribute("w:type").value();
        for (int type = 0; type < 3; ++type)
            if (std::strcmp(kind, kStoryPartTypes[type]) == 0 && (header ? s.headers : s.footers)[type].empty())
                (header ? s.headers : s.footers)[type] = rel->second.target;
    }
    return s;
}

std::string SectionParts_Where(size_t section, bool header, int type) {
    return "section " + std::to_string(section) + (header ? " header (" : " footer (") + kStoryPartTypes[type] + ")";
}

const std::string& NoteMarks::Reference(const std::string& id) {
    auto found = marks.find(id);
    if (found != marks.end()) return found->second;
    order.push_back(id);
    return marks.emplace(id, NumberLabel_Format(next++, format)).first->second;
}

std::string NoteMarks_Format(pugi::xml_node settings, pugi::xml_node finalSectPr, const char* properties,
                             const char* fallback) {
    for (pugi::xml_node holder : {finalSectPr, settings}) {
        pugi::xml_node format = holder.child(properties).child("w:numFmt");
        if (format) return format.attribute("w:val").value();
    }
    return fallback;
}

std::vector<pugi::xml_node> NoteMarks_InOrder(NoteMarks& marks, pugi::xml_node notes, const char* element) {
    std::unordered_map<std::string, pugi::xml_node> byId;
    std::vector<std::string> unreferenced;
    for (pugi::xml_node note : notes.children(element)) {
        const char* type = note.attribute("w:type").value();
        if (*type && std::strcmp(type, "normal") != 0) continue;
        const std::string id = note.attribute("w:id").value();
        if (!byId.emplace(id, note).second) continue;
        if (!marks.marks.count(id)) unreferenced.push_back(id);
    }
    for (const std::string& id : unreferenced) marks.Reference(id);
    std::vector<pugi::xml_node> ordered;
    for (const std::string& id : marks.order) {
        auto note = byId.find(id);
        if (note != byId.end()) ordered.push_back(note->second);
    }
    return ordered;
}

}  // namespace cli
