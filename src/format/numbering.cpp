#include "format/numbering.h"

#include <cstring>
#include <string>

#include "format/xml_namespaces.h"
#include "package/content_types.h"
#include "package/package_paths.h"
#include "package/random.h"
#include "package/relationships.h"
#include "package/xml_string_writer.h"

namespace {

constexpr const char* kNumberingContentType =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml";


struct LevelRecord {
    const char* templateCode;
    const char* text;
    const char* format;
    bool rightJustified;
    int left;
    int hanging;
    const char* font;
    bool complexScriptFont;
};

void AddLevelToAbstractNum(pugi::xml_node abstractNum, int level, const LevelRecord& r) {
    pugi::xml_node lvl = abstractNum.append_child("w:lvl");
    lvl.append_attribute("w:ilvl") = level;
    lvl.append_attribute("w:tplc") = r.templateCode;
    if (level > 0) lvl.append_attribute("w:tentative") = "1";
    lvl.append_child("w:start").append_attribute("w:val") = "1";
    lvl.append_child("w:numFmt").append_attribute("w:val") = r.format;
    lvl.append_child("w:lvlText").append_attribute("w:val") = r.text;
    lvl.append_child("w:lvlJc").append_attribute("w:val") = r.rightJustified ? "right" : "left";
    pugi::xml_node ind = lvl.append_child("w:pPr").append_child("w:ind");
    ind.append_attribute("w:left") = r.left;
    ind.append_attribute("w:hanging") = r.hanging;
    if (!r.font) return;
    pugi::xml_node fonts = lvl.append_child("w:rPr").append_child("w:rFonts");
    fonts.append_attribute("w:ascii") = r.font;
    fonts.append_attribute("w:hAnsi") = r.font;
    if (r.complexScriptFont) fonts.append_attribute("w:cs") = r.font;
    fonts.append_attribute("w:hint") = "default";
}

// A definition goes after the picture bullets and before every other child.
pugi::xml_node InsertAbstractNum(pugi::xml_node numbering) {
    pugi::xml_node lastPicture;
    for (pugi::xml_node child : numbering.children("w:numPicBullet")) lastPicture = child;
    return lastPicture ? numbering.insert_child_after("w:abstractNum", lastPicture)
                       : numbering.prepend_child("w:abstractNum");
}

pugi::xml_node AddTemplate(pugi::xml_node numbering, int64_t id, const char* nsid, const LevelRecord (&levels)[9]) {
    pugi::xml_node abstractNum = InsertAbstractNum(numbering);
    abstractNum.append_attribute("w:abstractNumId") = static_cast<long long>(id);
    if (Xml_DeclarePrefix(numbering, "w15", true))
        abstractNum.append_attribute("w15:restartNumberingAfterBreak") = "0";
    abstractNum.append_child("w:nsid").append_attribute("w:val") = nsid;
    abstractNum.append_child("w:multiLevelType").append_attribute("w:val") = "hybridMultilevel";
    for (int level = 0; level < 9; ++level) AddLevelToAbstractNum(abstractNum, level, levels[level]);
    return abstractNum;
}

int64_t AbstractIdOf(pugi::xml_node abstractNum) {
    return abstractNum.attribute("w:abstractNumId").as_llong();
}

// The first level's format, null when it has none.
const char* FirstLevelFormat(pugi::xml_node abstractNum) {
    pugi::xml_attribute format = abstractNum.child("w:lvl").child("w:numFmt").attribute("w:val");
    return format ? format.value() : nullptr;
}

void IndexDefinition(NumberingIndex& index, pugi::xml_node abstractNum) {
    const int64_t id = AbstractIdOf(abstractNum);
    if (id > index.maxAbstractId) index.maxAbstractId = id;
    index.abstractIds.insert(id);
    // Only the library's own definitions are taken for new lists (they carry
    // its w:nsid): word processors keep one counter per definition, so a
    // list restarted on another tool's definition would renumber that
    // tool's lists, and would take its look.
    const char* nsid = abstractNum.child("w:nsid").attribute("w:val").value();
    if (index.bulletTemplate < 0 && std::strcmp(nsid, kBulletTemplateNsid) == 0) index.bulletTemplate = id;
    if (index.numberTemplate < 0 && std::strcmp(nsid, kNumberTemplateNsid) == 0) index.numberTemplate = id;
}

// Where numbers run up to the largest a file holds: the lowest one no
// instance takes, searched from where the last search stopped.
int64_t LowestFreeNumId(NumberingIndex& index) {
    while (index.freeSearch < INT32_MAX && index.nums.count(index.freeSearch)) ++index.freeSearch;
    return index.nums.count(index.freeSearch) ? 0 : index.freeSearch;
}

// The same for definitions, whose ids start at 0: one above the highest
// while that fits, else the lowest one no definition takes; -1 when every
// id is taken.
int64_t FreeAbstractId(NumberingIndex& index) {
    if (index.maxAbstractId < INT32_MAX) return index.maxAbstractId + 1;
    while (index.freeAbstractSearch < INT32_MAX && index.abstractIds.count(index.freeAbstractSearch))
        ++index.freeAbstractSearch;
    return index.abstractIds.count(index.freeAbstractSearch) ? -1 : index.freeAbstractSearch;
}

void IndexNum(NumberingIndex& index, pugi::xml_node num) {
    const int64_t numId = num.attribute("w:numId").as_llong();
    if (numId > index.maxNumId) index.maxNumId = numId;
    index.nums.emplace(numId, num);  // the first of a number wins
}

void EnsureIndex(const Word::Document& document, NumberingIndex& index) {
    if (index.built) return;
    NumberingIndex_Clear(index);
    index.built = true;
    if (!document.hasNumbering) return;
    for (pugi::xml_node child : document.numberingXml.document_element().children()) {
        if (std::strcmp(child.name(), "w:abstractNum") == 0)
            IndexDefinition(index, child);
        else if (std::strcmp(child.name(), "w:num") == 0)
            IndexNum(index, child);
        else if (std::strcmp(child.name(), "w:numIdMacAtCleanup") == 0 && !index.cleanup)
            index.cleanup = child;
    }
}

// An instance goes before w:numIdMacAtCleanup, the last child the schema
// allows.
pugi::xml_node InsertNum(pugi::xml_node numbering, const NumberingIndex& index) {
    return index.cleanup ? numbering.insert_child_before("w:num", index.cleanup) : numbering.append_child("w:num");
}

void WriteDurableId(pugi::xml_node numbering, pugi::xml_node num, long long value) {
    if (Xml_DeclarePrefix(numbering, "w16cid", true)) num.append_attribute("w16cid:durableId") = value;
}

}  // namespace

void NumberingIndex_Clear(NumberingIndex& index) { index = NumberingIndex(); }

NumberingType Numbering_TypeOfFormat(const char* numFmt) {
    static const struct {
        const char* format;
        NumberingType type;
    } kFormats[] = {
        {"bullet", NumberingType::Bullet},           {"decimal", NumberingType::Decimal},
        {"lowerLetter", NumberingType::LowerLetter}, {"upperLetter", NumberingType::UpperLetter},
        {"lowerRoman", NumberingType::LowerRoman},   {"upperRoman", NumberingType::UpperRoman},
    };
    for (const auto& f : kFormats)
        if (std::strcmp(f.format, numFmt) == 0) return f.type;
    return NumberingType::Unknown;
}

bool HasBulletTemplate(const Word::Document& document, int64_t& id) {
    for (pugi::xml_node abstractNum : document.numberingXml.document_element().children("w:abstractNum")) {
        const char* format = FirstLevelFormat(abstractNum);
        if (format && std::strcmp(format, "bullet") == 0) {
            id = AbstractIdOf(abstractNum);
            return true;
        }
    }
    return false;
}

bool HasNumberTemplate(const Word::Document& document, int64_t& id) {
    for (pugi::xml_node abstractNum : document.numberingXml.document_element().children("w:abstractNum")) {
        const char* format = FirstLevelFormat(abstractNum);
        if (format && std::strcmp(format, "bullet") != 0) {
            id = AbstractIdOf(abstractNum);
            return true;
        }
    }
    return false;
}

int64_t GenerateAbstractNumID(const Word::Document& document) {
    NumberingIndex index;
    for (pugi::xml_node abstractNum : document.numberingXml.document_element().children("w:abstractNum"))
        IndexDefinition(index, abstractNum);
    return FreeAbstractId(index);
}

void AddBulletTemplate(pugi::xml_node numbering, int64_t id) {
    static const char kBullet[] = "\xEF\x82\xB7";  // U+F0B7 of the symbol font
    static const char kSquare[] = "\xEF\x82\xA7";  // U+F0A7
    static const LevelRecord kLevels[9] = {
        {"04090001", kBullet, "bullet", false, 720, 360, "Symbol", false},
        {"04090003", "o", "bullet", false, 1440, 360, "Courier New", true},
        {"04090005", kSquare, "bullet", false, 2160, 360, "Wingdings", false},
        {"04090001", kBullet, "bullet", false, 2880, 360, "Symbol", false},
        {"04090003", "o", "bullet", false, 3600, 360, "Courier New", true},
        {"04090005", kSquare, "bullet", false, 4320, 360, "Wingdings", false},
        {"04090001", kBullet, "bullet", false, 5040, 360, "Symbol", false},
        {"04090003", "o", "bullet", false, 5760, 360, "Courier New", true},
        {"04090005", kSquare, "bullet", false, 6480, 360, "Wingdings", false},
    };
    AddTemplate(numbering, id, kBulletTemplateNsid, kLevels);
}

void AddNumberingTemplate(pugi::xml_node numbering, int64_t id) {
    static const LevelRecord kLevels[9] = {
        {"0409000F", "%1.", "decimal", false, 720, 360, nullptr, false},
        {"04090019", "%2.", "lowerLetter", false, 1440, 360, nullptr, false},
        {"0409001B", "%3.", "lowerRoman", true, 2160, 180, nullptr, false},
        {"0409000F", "%4.", "decimal", false, 2880, 360, nullptr, false},
        {"04090019", "%5.", "lowerLetter", false, 3600, 360, nullptr, false},
        {"0409001B", "%6.", "lowerRoman", true, 4320, 180, nullptr, false},
        {"0409000F", "%7.", "decimal", false, 5040, 360, nullptr, false},
        {"04090019", "%8.", "lowerLetter", false, 5760, 360, nullptr, false},
        {"0409001B", "%9.", "lowerRoman", true, 6480, 180, nullptr, false},
    };
    AddTemplate(numbering, id, kNumberTemplateNsid, kLevels);
}

bool AddNumbering(Word::Document& document, bool bullets) {
    pugi::xml_node rels = document.relsXml.document_element();
    if (!rels || !document.contentTypesXml.document_element()) return false;
    // A numbering part that could not be read is replaced under its own
    // relationship: the main part may name only one.
    const std::string numberingType = std::string(kRelationshipTypeBase) + "numbering";
    std::string target, partName;
    for (pugi::xml_node rel : rels.children()) {
        if (numberingType != rel.attribute("Type").value()) continue;
        if (std::strcmp(rel.attribute("TargetMode").value(), "External") == 0) continue;
        const std::string name = PackagePath_Resolve(document.mainPartName, rel.attribute("Target").value());
        if (name.empty() || document.HoldsPart(name)) continue;
        target = rel.attribute("Target").value();
        partName = name;
        break;
    }
    if (partName.empty()) {
        target = "numbering.xml";
        for (int n = 2; document.HoldsPart("word/" + target); ++n)
            target = "numbering" + std::to_string(n) + ".xml";
        partName = "word/" + target;
        target = PackagePath_TargetFrom(document.mainPartName, partName);
        const std::string id = Rel_GetNextFreeID(document);
        Rel_AddID(document, id.c_str(), target.c_str(), "numbering");
    }
    ContentType_SetPart(document, ("/" + partName).c_str(), kNumberingContentType);
    document.numberingTarget = target;
    document.numberingPartName = partName;
    document.hasNumbering = true;

    static const char kEmpty[] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:numbering></w:numbering>";
    document.numberingXml.reset();
    document.numberingXml.load_buffer(kEmpty, sizeof(kEmpty) - 1, Word::kParseOptions, pugi::encoding_auto);
    pugi::xml_node root = document.numberingXml.document_element();
    Xml_DeclareDocumentNamespaces(root);
    if (bullets)
        AddBulletTemplate(root, 0);
    else
        AddNumberingTemplate(root, 0);
    pugi::xml_node num = root.append_child("w:num");
    num.append_attribute("w:numId") = "1";
    num.append_attribute("w16cid:durableId") = "1135174457";
    num.append_child("w:abstractNumId").append_attribute("w:val") = "0";
    return true;
}

pugi::xml_node Numbering_CreateList(Word::Document& document, NumberingIndex& index, bool bullets,
                                    int32_t& numId) {
    numId = 0;
    int64_t id = 0;
    if (!document.hasNumbering) {
        if (!AddNumbering(document, bullets)) return pugi::xml_node();
        index.built = false;
    }
    EnsureIndex(document, index);
    pugi::xml_node root = document.numberingXml.document_element();
    // Everything added below is in w:, which a part written with a default
    // namespace does not declare.
    Xml_DeclarePrefix(root, "w", false);
    int64_t& known = bullets ? index.bulletTemplate : index.numberTemplate;
    if (known >= 0) {
        id = known;
    } else {
        id = FreeAbstractId(index);
        if (id < 0) return pugi::xml_node();
        if (bullets)
            AddBulletTemplate(root, id);
        else
            AddNumberingTemplate(root, id);
        // The new definition follows the picture bullets; the first of its id.
        for (pugi::xml_node abstractNum : root.children("w:abstractNum"))
            if (AbstractIdOf(abstractNum) == id) {
                IndexDefinition(index, abstractNum);
                break;
            }
    }
    numId = static_cast<int32_t>(index.maxNumId < INT32_MAX ? index.maxNumId + 1 : LowestFreeNumId(index));
    if (numId <= 0) return pugi::xml_node();
    pugi::xml_node num = InsertNum(root, index);
    num.append_attribute("w:numId") = numId;
    WriteDurableId(root, num, static_cast<long long>(Document_Random(1, 134217726)));
    num.append_child("w:abstractNumId").append_attribute("w:val") = static_cast<long long>(id);
    // Instances of one definition share its counters in word processors:
    // without overrides a second list would go on where the first stopped.
    for (int level = 0; level < 9; ++level) {
        pugi::xml_node override = num.append_child("w:lvlOverride");
        override.append_attribute("w:ilvl") = level;
        override.append_child("w:startOverride").append_attribute("w:val") = "1";
    }
    IndexNum(index, num);
    return num;
}

pugi::xml_node Numbering_FindNum(const Word::Document& document, NumberingIndex& index, int64_t numId) {
    EnsureIndex(document, index);
    auto found = index.nums.find(numId);
    return found == index.nums.end() ? pugi::xml_node() : found->second;
}

NumberingType GetNumberingTypeInternal(pugi::xml_node num, int64_t level) {
    pugi::xml_node definition = num;
    pugi::xml_node abstractId = num.child("w:abstractNumId");
    if (abstractId) {
        const char* wanted = abstractId.attribute("w:val").value();
        definition = pugi::xml_node();
        for (pugi::xml_node abstractNum : num.parent().children("w:abstractNum"))
            if (std::strcmp(abstractNum.attribute("w:abstractNumId").value(), wanted) == 0) {
                definition = abstractNum;
                break;
            }
        if (!definition) return NumberingType::Bullet;
    }
    for (pugi::xml_node lvl : definition.children("w:lvl")) {
        pugi::xml_attribute ilvl = lvl.attribute("w:ilvl");
        if (!ilvl || ilvl.as_llong() != level) continue;
        pugi::xml_attribute format = lvl.child("w:numFmt").attribute("w:val");
        if (format) return Numbering_TypeOfFormat(format.value());
    }
    return NumberingType::Unknown;
}
