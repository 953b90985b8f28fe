#include "format/numbering_labels.h"

#include <cstring>

namespace {

// What a w:lvl gives of a level; an instance's own w:lvl changes only
// what it gives of its definition's.
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
void ReadInstance(pugi::xml_node num, pugi::xml_node abstractNum, InstanceLevels& instance) {
    int deepest = -1;
    for (pugi::xml_node lvl : abstractNum.children("w:lvl")) {
        const int index = LevelIndex(lvl);
        if (index < 0) continue;
        // A level without w:start counts from 0, as readers count it.
        instance.levels[index] = NumberLevel();
        instance.levels[index].start = 0;
        ReadLevel(lvl, instance.levels[index]);
        if (index > deepest) deepest = index;
    }
    // Readers give a level the definition lacks no text below its deepest
    // level (a deeper level's text still shows its decimal number), and its
    // own plain number beyond it.
    for (int i = deepest + 1; abstractNum && i < 9; ++i) instance.levels[i].text = "%" + std::to_string(i + 1) + ".";
    instance.listKey = std::string("definition ") + num.child("w:abstractNumId").attribute("w:val").value();
    for (pugi::xml_node override : num.children("w:lvlOverride")) {
        const int index = LevelIndex(override);
        if (index < 0) continue;
        // An instance's own level stands only down to its definition's
        // deepest level; readers show their plain number beyond.
        if (pugi::xml_node lvl = override.child("w:lvl"))
            if (index <= deepest) ReadLevel(lvl, instance.levels[index]);
        if (pugi::xml_node start = override.child("w:startOverride")) {
            instance.restarts[index] = true;
            instance.restartAt[index] = start.attribute("w:val").as_llong(1);
        }
    }
}

InstanceLevels& InstanceOf(ListLabels& labels, int64_t numId) {
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
    ReadInstance(num->second, definition == labels.definitions.end() ? pugi::xml_node() : definition->second,
                 instance);
    instance.found = true;
    return instance;
}

}  // namespace

std::string ListLabels_Next(ListLabels& labels, int64_t numId, int64_t level) {
    if (level < 0 || level > 8) return std::string();
    InstanceLevels& instance = InstanceOf(labels, numId);
    if (!instance.found) return std::string();
    NumberCounters& counters = labels.counters[instance.listKey];
    const int at = static_cast<int>(level);
    if (instance.restarted || !instance.restarts[at]) return NumberLabel_Next(counters, instance.levels, at);
    instance.restarted = true;
    NumberLevel restarted[9];
    for (int i = 0; i < 9; ++i) restarted[i] = instance.levels[i];
    restarted[at].start = instance.restartAt[at];
    counters.used[at] = false;
    return NumberLabel_Next(counters, restarted, at);
}
