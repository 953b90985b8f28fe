// The styles part ("w:styles" of word/styles.xml): looking styles up,
// building new ones and the built-in ones added on demand, parent styles,
// table style parts, band sizes and table-style shading.
//
// Every function takes either the styles document or its "w:styles"
// element where it says `styles`, and accepts empty handles: lookups find
// nothing, builders build nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

// The "w:styles" element: `styles` itself, or the child of that name when
// `styles` is the document.
pugi::xml_node Styles_Element(pugi::xml_node styles);

// The first "w:style" whose "w:styleId" is exactly `id` and, when `type` is
// not null, whose "w:type" is `type`; empty when none.
pugi::xml_node GetStyleById(pugi::xml_node styles, const char* type, std::string_view id);
bool HasStyle(pugi::xml_node styles, const char* type, std::string_view id);
// The "w:styleId" of the first style of `type` whose "w:default" is exactly
// "1"; "" when none.
std::string GetDefaultStyleId(pugi::xml_node styles, const char* type);
// Every "w:style" of `type`, in document order.
std::vector<pugi::xml_node> Styles_OfType(pugi::xml_node styles, const char* type);

// Appends the character style "Hyperlink"; returns it. Does not check
// whether one exists.
pugi::xml_node AddStyle_Hyperlink(pugi::xml_node styles);
// Appends "TableNormal" when no table style of that id exists, then
// "TableGrid" (unchecked).
void AddStyle_TableGrid(pugi::xml_node styles);
// AddStyle_TableGrid when no table style "TableGrid" exists.
void Styles_EnsureTableGrid(pugi::xml_node styles);

// A new custom style appended to "w:styles": type, id, name, the id of the
// style it is based on (written even when empty), and for table styles an
// empty "w:tblPr".
enum class NewStyleStatus { Created, DuplicateId, NoStylesElement };
struct NewStyleResult {
    NewStyleStatus status;
    pugi::xml_node style;  // the new "w:style" when Created
};
// Fails, changing nothing, when any style of any type has `id` already.
NewStyleResult Styles_AddNewStyle(pugi::xml_node styles, const char* type, std::string_view id,
                                  std::string_view name, std::string_view basedOnId);

// The style's own attributes and name.
std::string Style_GetId(pugi::xml_node style);
bool Style_IsDefault(pugi::xml_node style);
std::string Style_GetName(pugi::xml_node style);
// Writes only an existing "w:name" "w:val"; false when there is none.
bool Style_SetName(pugi::xml_node style, std::string_view name);

// The style named by "w:basedOn", of this style's type, among the style's
// siblings.
enum class ParentStyleStatus { NoParent, Found, Missing };
struct ParentStyleResult {
    ParentStyleStatus status;
    pugi::xml_node style;  // when Found
};
ParentStyleResult Style_GetParentStyle(pugi::xml_node style);

// StylePartType value -> "w:tblStylePr" "w:type"; values out of range give
// "seCell".
const char* StylePartType_ToText(int64_t partType);
// The first "w:tblStylePr" of that type; with `create`, appended (with an
// empty "w:tblPr" and "w:tcPr") when missing. Empty when there is none.
pugi::xml_node TableStyle_TablePart(pugi::xml_node style, int64_t partType, bool create);

// Band sizes: "w:tblPr"/"w:tblStyleRowBandSize" or "w:tblStyleColBandSize".
constexpr const char* kRowBandSize = "w:tblStyleRowBandSize";
constexpr const char* kColumnBandSize = "w:tblStyleColBandSize";
// -1 when "w:tblPr" or the element is missing.
int32_t TableStyle_GetBandSize(pugi::xml_node style, const char* element);
// Makes sure "w:tblPr" exists, then removes the element for a value below 1
// and writes it otherwise. New elements go where the schema puts them.
void TableStyle_SetBandSize(pugi::xml_node style, const char* element, int32_t value);

// Shading ("w:shd") of a properties element ("w:tcPr" or "w:tblPr").
// The fill as a host colour (0xRRGGBB); `hasColor` false, and 0, when there
// is no element, no "w:shd" or its fill is "auto".
uint32_t TableStylePartGetBackgroundColor(pugi::xml_node properties, bool& hasColor);
// Writes "w:val" "clear", "w:color" "auto" and "w:fill" the colour, adding
// what is missing and dropping theme fills; nothing without an element. A
// new "w:shd" goes where the schema puts it in "w:tcPr" (any other element
// is taken as "w:tblPr").
void TableStylePartSetBackgroundColor(pugi::xml_node properties, uint32_t color);
