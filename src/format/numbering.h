// The numbering part (word/numbering.xml): the bullet and numbered template
// definitions, a new list instance per request, and the type of a level.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include <pugixml.hpp>

#include "package/document.h"

// NumberingType of the host.
enum class NumberingType : int64_t {
    Bullet = 0,
    Decimal = 1,
    LowerLetter = 2,
    UpperLetter = 3,
    LowerRoman = 4,
    UpperRoman = 5,
    Unknown = 20,
};

// What a document knows about its numbering part, so that making many lists
// or reading the list of many paragraphs never rescans the part: the highest
// ids and the w:num of each number. Kept in the document's caches; only the
// functions below change the part, and they keep it current.
struct NumberingIndex {
    bool built = false;
    int64_t maxNumId = 0;          // 0: no w:num
    int64_t maxAbstractId = -1;    // -1: no w:abstractNum
    int64_t bulletTemplate = -1;   // the library's first definition of each kind, -1: none
    int64_t numberTemplate = -1;
    int64_t freeSearch = 1;        // no free number lies below this one
    int64_t freeAbstractSearch = 0;  // no free definition id lies below this one
    std::unordered_map<int64_t, pugi::xml_node> nums;
    std::unordered_set<int64_t> abstractIds;
    pugi::xml_node cleanup;        // w:numIdMacAtCleanup, which stays last
};

// The w:nsid the library's own list definitions carry, by which it knows
// them again.
constexpr const char* kBulletTemplateNsid = "46E32890";
constexpr const char* kNumberTemplateNsid = "5AFC50DB";

// Forgets everything (the part was replaced).
void NumberingIndex_Clear(NumberingIndex& index);

// NumberingType of a w:numFmt value.
NumberingType Numbering_TypeOfFormat(const char* numFmt);

// Id of the first definition whose first level is a bullet (or, for
// numbers, has a format other than bullet); false when there is none.
bool HasBulletTemplate(const Word::Document& document, int64_t& id);
bool HasNumberTemplate(const Word::Document& document, int64_t& id);
// 0 without definitions, else one above the highest w:abstractNumId; the
// lowest free id when that one is the largest a file may hold (or above).
int64_t GenerateAbstractNumID(const Word::Document& document);

// Adds the template definition with that id among the definitions (after
// any w:numPicBullet, before everything else).
void AddBulletTemplate(pugi::xml_node numbering, int64_t id);
void AddNumberingTemplate(pugi::xml_node numbering, int64_t id);

// Makes the numbering part of a document that has none: its relationship,
// content type and root, the template of the kind asked for with id 0, and
// a first instance (numId 1) of it. False when the package has no
// relationships or content types to add to.
bool AddNumbering(Word::Document& document, bool bullets);

// A new list instance of the template of the kind asked for (made when
// missing, with the part itself), restarting at 1 on every level. Returns
// its w:num (empty when no part could be made) and its number.
pugi::xml_node Numbering_CreateList(Word::Document& document, NumberingIndex& index, bool bullets,
                                    int32_t& numId);

// The w:num of that number; empty when the part has none.
pugi::xml_node Numbering_FindNum(const Word::Document& document, NumberingIndex& index, int64_t numId);

// The type of `level` of the list instance `num`: read from its definition
// (Bullet when the definition is missing), or from the instance's own
// levels when it names none; Unknown when no level of that index has a
// format.
NumberingType GetNumberingTypeInternal(pugi::xml_node num, int64_t level);
