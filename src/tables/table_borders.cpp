#include "tables/table_borders.h"

#include <cstring>

#include "format/colors.h"
#include "format/schema_order.h"
#include "format/xml_helpers.h"
#include "tables/table_properties.h"

namespace {

const char* const kBorderStyleNames[] = {
    "nil",
    "single",
    "dashDotStroked",
    "dashed",
    "dashSmallGap",
    "dotDash",
    "dotDotDash",
    "dotted",
    "double",
    "doubleWave",
    "inset",
    "outset",
    "thick",
    "thickThinLargeGap",
    "thickThinMediumGap",
    "thickThinSmallGap",
    "thinThickLargeGap",
    "thinThickMediumGap",
    "thinThickSmallGap",
    "thinThickThinLargeGap",
    "thinThickThinMediumGap",
    "thinThickThinSmallGap",
    "threeDEmboss",
    "threeDEngrave",
    "triple",
    "wave",
};
constexpr int32_t kBorderStyleCount = int32_t(sizeof(kBorderStyleNames) / sizeof(kBorderStyleNames[0]));

const char* ListName(bool isCell) { return isCell ? "w:tcBorders" : "w:tblBorders"; }

// The properties element that holds the border list.
pugi::xml_node PropertiesOf(const BorderRef& border, bool create) {
    pugi::xml_node owner = border.owner;
    if (border.isCell) return Cell_Properties(owner, create);
    const char* name = owner.name();
    if (std::strcmp(name, "w:tbl") == 0) return Table_Properties(owner, create);
    // A table style ("w:style") or one of its parts ("w:tblStylePr").
    pugi::xml_node properties = owner.child("w:tblPr");
    if (properties || !create || !owner) return properties;
    return InsertChildInOrder(owner, "w:tblPr",
                              std::strcmp(name, "w:style") == 0 ? ChildOrder::Style : ChildOrder::TableStyleProperties);
}

pugi::xml_node ListOf(const BorderRef& border) { return PropertiesOf(border, false).child(ListName(border.isCell)); }

}  // namespace

bool BorderPart_Exists(int64_t part, bool isCell) {
    if (part < 0 || part > 7) return false;
    if (part >= int64_t(BorderPart::TopLeftToBottomRight)) return isCell;
    return true;
}

const char* BorderPart_Element(BorderPart part) {
    switch (part) {
        case BorderPart::Left: return "w:left";
        case BorderPart::Top: return "w:top";
        case BorderPart::Right: return "w:right";
        case BorderPart::Bottom: return "w:bottom";
        case BorderPart::InsideHorizontal: return "w:insideH";
        case BorderPart::InsideVertical: return "w:insideV";
        case BorderPart::TopLeftToBottomRight: return "w:tl2br";
        case BorderPart::TopRightToBottomLeft: return "w:tr2bl";
    }
    return "";
}

const char* BorderPart_Alternate(BorderPart part) {
    if (part == BorderPart::Left) return "w:start";
    if (part == BorderPart::Right) return "w:end";
    return nullptr;
}

const char* BorderStyle_ToText(int64_t style) {
    if (style < 1 || style >= kBorderStyleCount) return kBorderStyleNames[0];
    return kBorderStyleNames[style];
}

int32_t BorderStyle_FromText(const char* text) {
    for (int32_t i = 1; i < kBorderStyleCount; ++i)
        if (std::strcmp(text, kBorderStyleNames[i]) == 0) return i;
    return 0;
}

pugi::xml_node Border_Element(const BorderRef& border) {
    // A diagonal of a table or style: the format has none, whatever a
    // damaged list holds.
    if (!BorderPart_Exists(int64_t(border.part), border.isCell)) return {};
    pugi::xml_node list = ListOf(border);
    const char* name = BorderPart_Element(border.part);
    const char* alternate = BorderPart_Alternate(border.part);
    for (pugi::xml_node child = list.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        if (std::strcmp(child.name(), name) == 0 || (alternate && std::strcmp(child.name(), alternate) == 0))
            return child;
    }
    return {};
}

int32_t Border_GetStyle(const BorderRef& border) {
    if (!BorderPart_Exists(int64_t(border.part), border.isCell)) return 0;  // no such border: no line
    pugi::xml_node element = Border_Element(border);
    if (!element) return 1;  // no border of its own: the single line of the grid
    return BorderStyle_FromText(element.attribute("w:val").value());
}

uint8_t Border_GetSize(const BorderRef& border) {
    return uint8_t(Border_Element(border).attribute("w:sz").as_uint(0) & 0xFF);
}

uint8_t Border_GetSpace(const BorderRef& border) {
    return uint8_t(Border_Element(border).attribute("w:space").as_uint(0) & 0xFF);
}

uint32_t Border_GetColor(const BorderRef& border) {
    pugi::xml_attribute color = Border_Element(border).attribute("w:color");
    if (!color) return 0;
    return HexColorToRBColor(color.value());
}

bool Border_ColorIsAuto(const BorderRef& border) {
    pugi::xml_attribute color = Border_Element(border).attribute("w:color");
    return !color || std::strcmp(color.value(), "auto") == 0;
}

void Border_Set(const BorderRef& border, int64_t style, uint8_t size, uint8_t space, const std::string& colorHex) {
    if (!BorderPart_Exists(int64_t(border.part), border.isCell)) return;
    pugi::xml_node properties = PropertiesOf(border, true);
    if (!properties) return;
    const ChildOrder propertiesOrder = border.isCell ? ChildOrder::CellProperties : ChildOrder::TableProperties;
    pugi::xml_node list = ChildInOrder(properties, ListName(border.isCell), propertiesOrder);
    pugi::xml_node element = Border_Element(border);
    if (!element)
        element = InsertChildInOrder(list, BorderPart_Element(border.part),
                                     border.isCell ? ChildOrder::CellBorders : ChildOrder::TableBorders);
    WriteAttribute(element, "w:val", BorderStyle_ToText(style));
    if (BorderStyle_FromText(BorderStyle_ToText(style)) != 0) {
        if (size != 0)
            WriteAttribute(element, "w:sz", int32_t(size));
        else
            element.remove_attribute("w:sz");
        WriteAttribute(element, "w:space", int32_t(space));
        WriteAttribute(element, "w:color", colorHex);
    } else {
        element.remove_attribute("w:sz");
        element.remove_attribute("w:space");
        element.remove_attribute("w:color");
    }
    element.remove_attribute("w:themeColor");
    element.remove_attribute("w:themeShade");
    element.remove_attribute("w:themeTint");
}

void Border_Remove(const BorderRef& border) {
    pugi::xml_node element = Border_Element(border);
    if (!element) return;
    pugi::xml_node list = element.parent();
    list.remove_child(element);
    if (!list.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; }))
        list.parent().remove_child(list);
}
