#include "format/section_properties.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "format/schema_order.h"
#include "format/xml_helpers.h"

namespace {

bool IsElementNamed(pugi::xml_node node, const char* name) {
    return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

// "w:val" of "w:type" for types 1 to 5.
const char* const kTypeNames[] = {"continuous", "evenPage", "oddPage", "nextPage", "nextColumn"};

const char* AttributeOf(PageMargin margin) {
    switch (margin) {
        case PageMargin::Top: return "w:top";
        case PageMargin::Right: return "w:right";
        case PageMargin::Bottom: return "w:bottom";
        case PageMargin::Left: return "w:left";
        case PageMargin::Header: return "w:header";
        case PageMargin::Footer: return "w:footer";
        case PageMargin::Gutter: return "w:gutter";
    }
    return "";
}

// Written when "w:pgMar" has to be made, in this attribute order.
const struct {
    const char* name;
    int32_t twips;
} kDefaultMargins[] = {
    {"w:top", 1440}, {"w:right", 1440}, {"w:bottom", 1440}, {"w:left", 1440},
    {"w:header", 720}, {"w:footer", 720}, {"w:gutter", 0},
};

struct PaperEntry {
    int64_t code;
    PaperSize size;
};
const PaperEntry kPapers[] = {
    {1, {12240, 15840}},  {2, {12240, 15840}},  {3, {15840, 24480}},  {4, {15840, 24480}},
    {5, {12240, 20160}},  {6, {7920, 12240}},   {7, {10440, 15120}},  {8, {16838, 23812}},
    {9, {11906, 16838}},  {10, {11906, 16838}}, {11, {8391, 11906}},  {12, {14570, 20636}},
    {13, {10318, 14570}}, {14, {12240, 18720}}, {16, {14400, 20160}}, {17, {15840, 24480}},
    {18, {12240, 15840}},
};
constexpr PaperSize kA4 = {11906, 16838};

}  // namespace

pugi::xml_node Body_FinalSectPr(pugi::xml_node body) {
    pugi::xml_node last = body.last_child();
    while (last && last.type() != pugi::node_element) last = last.previous_sibling();
    if (IsElementNamed(last, "w:sectPr")) return last;
    // Out of place: found from the end, so a body that keeps it near the end
    // still costs little.
    for (pugi::xml_node c = last; c; c = c.previous_sibling())
        if (IsElementNamed(c, "w:sectPr")) return c;
    return {};
}

int32_t Section_GetType(pugi::xml_node sectPr) {
    const char* value = sectPr.child("w:type").attribute("w:val").value();
    for (int32_t i = 0; i < 5; ++i)
        if (std::strcmp(value, kTypeNames[i]) == 0) return i + 1;
    return SectionBreakNone;
}

void Section_SetType(pugi::xml_node sectPr, int64_t type) {
    if (!sectPr) return;
    if (type == SectionBreakNone) {
        sectPr.remove_child("w:type");
        return;
    }
    const char* name = type >= SectionBreakEvenPage && type <= SectionBreakNextColumn ? kTypeNames[type - 1]
                                                                                     : kTypeNames[0];
    WriteAttribute(ChildInOrder(sectPr, "w:type", ChildOrder::SectionProperties), "w:val", name);
}

int32_t Section_GetPageWidth(pugi::xml_node sectPr) { return sectPr.child("w:pgSz").attribute("w:w").as_int(); }
int32_t Section_GetPageHeight(pugi::xml_node sectPr) { return sectPr.child("w:pgSz").attribute("w:h").as_int(); }

bool Section_IsLandscape(pugi::xml_node sectPr) {
    return std::strcmp(sectPr.child("w:pgSz").attribute("w:orient").value(), "landscape") == 0;
}

void Section_SetLandscape(pugi::xml_node sectPr, bool landscape) {
    if (Section_IsLandscape(sectPr) == landscape) return;
    pugi::xml_node pgSz = sectPr.child("w:pgSz");
    if (!pgSz) return;
    WriteAttribute(pgSz, "w:orient", "landscape", landscape);
    const int32_t width = pgSz.attribute("w:w").as_int();
    const int32_t height = pgSz.attribute("w:h").as_int();
    WriteAttribute(pgSz, "w:w", height);
    WriteAttribute(pgSz, "w:h", width);
}

namespace {

struct PageMargins {
    int64_t top, right, bottom, left;
};

// The margins as they are, or as a margin set now would make them (the
// defaults where the section has none).
PageMargins MarginsOf(pugi::xml_node sectPr) {
    pugi::xml_node pgMar = sectPr.child("w:pgMar");
    if (!pgMar) return PageMargins{1440, 1440, 1440, 1440};
    return PageMargins{pgMar.attribute("w:top").as_int(), pgMar.attribute("w:right").as_int(),
                       pgMar.attribute("w:bottom").as_int(), pgMar.attribute("w:left").as_int()};
}

// Some width and height left between the margins (a negative top or bottom
// margin is one its text may not cross: it takes its size too).
bool Page_LeavesRoomForText(int64_t width, int64_t height, const PageMargins& m) {
    return m.left + m.right < width && std::llabs(m.top) + std::llabs(m.bottom) < height;
}

}  // namespace

bool Section_SetPageSize(pugi::xml_node sectPr, int32_t width, int32_t height, int64_t paperCode) {
    if (width <= 0 || height <= 0 || width > kLargestPageSide || height > kLargestPageSide) return false;
    if (!sectPr) return true;
    const bool landscape = Section_IsLandscape(sectPr);
    PageMargins margins = MarginsOf(sectPr);
    if (!Page_LeavesRoomForText(landscape ? height : width, landscape ? width : height, margins)) return false;
    pugi::xml_node pgSz = ChildInOrder(sectPr, "w:pgSz", ChildOrder::SectionProperties);
    WriteAttribute(pgSz, "w:w", landscape ? height : width);
    WriteAttribute(pgSz, "w:h", landscape ? width : height);
    WriteAttribute(pgSz, "w:code", std::to_string(paperCode));
    return true;
}

PaperSize PaperSize_Of(int64_t paperCode) {
    for (const PaperEntry& paper : kPapers)
        if (paper.code == paperCode) return paper.size;
    return kA4;
}

int32_t Section_GetMargin(pugi::xml_node sectPr, PageMargin margin) {
    return sectPr.child("w:pgMar").attribute(AttributeOf(margin)).as_int();
}


bool PageMargin_IsValid(PageMargin margin, int32_t twips) {
    return twips >= 0 || margin == PageMargin::Top || margin == PageMargin::Bottom;
}

bool Section_SetMargin(pugi::xml_node sectPr, PageMargin margin, int32_t twips) {
    if (!PageMargin_IsValid(margin, twips) || twips > kLargestPageSide || twips < -kLargestPageSide) return false;
    if (!sectPr) return true;
    PageMargins margins = MarginsOf(sectPr);
    switch (margin) {
        case PageMargin::Top: margins.top = twips; break;
        case PageMargin::Right: margins.right = twips; break;
        case PageMargin::Bottom: margins.bottom = twips; break;
        case PageMargin::Left: margins.left = twips; break;
        default: break;  // header, footer and gutter distances take no text's room
    }
    const int32_t width = Section_GetPageWidth(sectPr), height = Section_GetPageHeight(sectPr);
    if (width > 0 && height > 0 && !Page_LeavesRoomForText(width, height, margins)) return false;
    pugi::xml_node pgMar = sectPr.child("w:pgMar");
    if (!pgMar) {
        pgMar = InsertChildInOrder(sectPr, "w:pgMar", ChildOrder::SectionProperties);
        for (const auto& m : kDefaultMargins) WriteAttribute(pgMar, m.name, m.twips);
    }
    WriteAttribute(pgMar, AttributeOf(margin), twips);
    return true;
}
