// Borders of tables ("w:tblPr"/"w:tblBorders"), cells ("w:tcPr"/
// "w:tcBorders") and table styles and their parts (the "w:tblBorders" of
// their "w:tblPr"). A border is named by its owner element and its part;
// every call finds the elements again, so two views of one border never
// make two border lists, and a removed list is seen as removed.
#pragma once

#include <cstdint>
#include <string>

#include <pugixml.hpp>

// Host enumeration BorderParts: Left, Top, Right, Bottom, InsideHorizontal,
// InsideVertical, TopLeftToBottomRight, TopRightToBottomLeft.
enum class BorderPart : int32_t {
    Left = 0, Top, Right, Bottom, InsideHorizontal, InsideVertical, TopLeftToBottomRight, TopRightToBottomLeft,
};

// Whether a border list of that kind holds the part: the diagonals exist
// only for cells.
bool BorderPart_Exists(int64_t part, bool isCell);
// "w:left", "w:top", ...; the alternate name accepted when reading
// ("w:start" for left, "w:end" for right), or null.
const char* BorderPart_Element(BorderPart part);
const char* BorderPart_Alternate(BorderPart part);

// Host enumeration BorderStyle <-> "w:val": 1 to 25 are the line styles,
// 0 and anything else "nil"; a value not in the list reads as 0.
const char* BorderStyle_ToText(int64_t style);
int32_t BorderStyle_FromText(const char* text);

// What a border view stands for: the element that owns the properties
// ("w:tbl", "w:tc", "w:style" or "w:tblStylePr"), cell or not, and the part.
struct BorderRef {
    pugi::xml_node owner;
    bool isCell;
    BorderPart part;
};

// The border's element ("w:left" or "w:start" for Left...); empty when
// there is none.
pugi::xml_node Border_Element(const BorderRef& border);

// Reads of the element: style (SingleLine when there is no element), size
// and space (low 8 bits, 0 when absent), colour (0xRRGGBB, 0 when absent),
// whether the colour is automatic (also when absent). A diagonal of a
// table or table style, which the format does not have, has no element
// (even in a damaged list that holds one) and the style NoLine; writing or
// removing it changes nothing.
int32_t Border_GetStyle(const BorderRef& border);
uint8_t Border_GetSize(const BorderRef& border);
uint8_t Border_GetSpace(const BorderRef& border);
uint32_t Border_GetColor(const BorderRef& border);
bool Border_ColorIsAuto(const BorderRef& border);

// Whether SetBorderStyle accepts the size in eighths of a point: 0, or 2 to
// 96.
constexpr bool BorderSize_IsValid(int64_t size) { return size == 0 || (size >= 2 && size <= 96); }

// Writes the border: the properties element, the border list and the
// border's element are made where missing, each in the schema's place.
// `colorHex` is RRGGBB, or "auto". Style 0 leaves only "w:val" "nil".
// Theme colours are dropped, so that the colour written shows.
void Border_Set(const BorderRef& border, int64_t style, uint8_t size, uint8_t space, const std::string& colorHex);
// Removes the border's element, and the border list when it is left empty.
void Border_Remove(const BorderRef& border);
