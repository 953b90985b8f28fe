// How many elements of a part refer to each of its relationship ids (by an
// attribute of the relationships namespace: r:id, r:embed, r:link...), so
// that a removal tells whether an id is still used without walking the
// whole part. Counted by one walk over the part on first use (removed
// elements left out), then kept by RelUses_Add wherever pictures and
// hyperlinks are added and RelUses_Drop wherever they are taken out.
// Elements taken out without a drop only keep a count too high: their
// relationships stay, nothing in use is ever deleted.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "package/document.h"

// Elements of the part (null: the main document) using `id`.
long long RelUses_Count(Word::Document& document, Word::HeaderFooterPart* part, const std::string& id);
// A new element of the part uses `id`.
void RelUses_Add(Word::Document& document, Word::HeaderFooterPart* part, const std::string& id);
// `count` elements using `id` were taken out of the part.
void RelUses_Drop(Word::Document& document, Word::HeaderFooterPart* part, const std::string& id,
                  long long count);

// The ids `element` and its descendants use, each with the number of uses,
// in the order first met: one walk over the element.
struct RelUse {
    std::string id;
    long long count;
};
std::vector<RelUse> RelUses_In(pugi::xml_node element);
