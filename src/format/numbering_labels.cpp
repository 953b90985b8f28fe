#include "format/numbering_labels.h"

#include <cstring>

namespace {

void ReadLevel(pugi::xml_node lvl, NumberLevel& level) {
    if (pugi::xml_node start = lvl.child("w:start")) level.start = start.attribute("w:val").as_llong(1);
    if (pugi::xml_node format = lvl.child("w:numFmt")) level.format = format.attribute("w:val").value();
    if (pugi::xml_node text = lvl.child("w:lvlText")) level.text = text.attribute("w:val").value();
}

int LevelIndex(pugi::xml_node node) {
    pugi::xml_attribute ilvl = node.attribute("w:ilvl");
    const long long index = ilvl.as_llong(-1);
    return ilvl && index >= 0 && index <= 8 ? static_cast<int>(index) : -1;
}

}  // namespace

bool ListLabels_Levels(pugi::xml_node numbering, int64_t numId, NumberLevel (&levels)[9], std::string& listKey) {
    pugi::xml_node num;
    for (pugi::xml_node candidate : numbering.children("w:num"))
        if (candidate.attribute("w:numId").as_llong() == numId) {
            num = candidate;
            break;
        }
    if (!num) return false;
    for (int i = 0; i < 9; ++i) levels[i] = NumberLevel();
    const char* abstractId = num.child("w:abstractNumId").attribute("w:val").value();
    for (pugi::xml_node abstractNum : numbering.children("w:abstractNum"))
        if (std::strcmp(abstractNum.attribute("w:abstractNumId").value(), abstractId) == 0) {
            for (pugi::xml_node lvl : abstractNum.children("w:lvl"))
                if (LevelIndex(lvl) >= 0) ReadLevel(lvl, levels[LevelIndex(lvl)]);
            break;
        }
    listKey = std::string("definition ") + abstractId;
    for (pugi::xml_node override : num.children("w:lvlOverride")) {
        const int index = LevelIndex(override);
        if (index < 0) continue;
        if (pugi::xml_node lvl = override.child("w:lvl")) ReadLevel(lvl, levels[index]);
        if (pugi::xml_node start = override.child("w:startOverride")) {
            levels[index].start = start.attribute("w:val").as_llong(1);
            // An instance that restarts its definition counts on its own.
            listKey = "instance " + std::to_string(numId);
        }
    }
    return true;
}

std::string ListLabels_Next(ListLabels& labels, int64_t numId, int64_t level) {
    NumberLevel levels[9];
    std::string key;
    if (level < 0 || level > 8 || !ListLabels_Levels(labels.numbering, numId, levels, key)) return std::string();
    return NumberLabel_Next(labels.counters[key], levels, static_cast<int>(level));
}
