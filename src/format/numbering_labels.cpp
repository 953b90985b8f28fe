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

// Reads the levels of `num` of definition `abstractNum` (null when the part
// lacks it).
void ReadInstance(pugi::xml_node num, pugi::xml_node abstractNum, int64_t numId, NumberLevel (&levels)[9],
                  std::string& listKey) {
    for (int i = 0; i < 9; ++i) levels[i] = NumberLevel();
    for (pugi::xml_node lvl : abstractNum.children("w:lvl"))
        if (LevelIndex(lvl) >= 0) ReadLevel(lvl, levels[LevelIndex(lvl)]);
    listKey = std::string("definition ") + num.child("w:abstractNumId").attribute("w:val").value();
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
}

const InstanceLevels& InstanceOf(ListLabels& labels, int64_t numId) {
    if (!labels.indexed) {
        labels.indexed = true;
        for (pugi::xml_node num : labels.numbering.children("w:num"))
            labels.nums.emplace(num.attribute("w:numId").as_llong(), num);
        for (pugi::xml_node abstractNum : labels.numbering.children("w:abstractNum"))
            labels.definitions.emplace(abstractNum.attribute("w:abstractNumId").value(), abstractNum);
    }
    auto known = labels.instances.find(numId);
    if (known != labels.instances.end()) return known->second;
    InstanceLevels& instance = labels.instances[numId];
    auto num = labels.nums.find(numId);
    if (num == labels.nums.end()) return instance;
    auto definition = labels.definitions.find(num->second.child("w:abstractNumId").attribute("w:val").value());
    ReadInstance(num->second, definition == labels.definitions.end() ? pugi::xml_node() : definition->second, numId,
                 instance.levels, instance.listKey);
    instance.found = true;
    return instance;
}

}  // namespace

std::string ListLabels_Next(ListLabels& labels, int64_t numId, int64_t level) {
    if (level < 0 || level > 8) return std::string();
    const InstanceLevels& instance = InstanceOf(labels, numId);
    if (!instance.found) return std::string();
    return NumberLabel_Next(labels.counters[instance.listKey], instance.levels, static_cast<int>(level));
}
