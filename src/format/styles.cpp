#include "format/styles.h"

#include <cstring>

#include "format/colors.h"
#include "format/schema_order.h"
#include "format/xml_helpers.h"

namespace {

constexpr const char* kVal = "w:val";

bool AttributeIs(pugi::xml_node node, const char* name, std::string_view value) {
    return std::string_view(node.attribute(name).value()) == value;
}

// Appends `name` with "w:val" = `value`.
pugi::xml_node AppendWithVal(pugi::xml_node parent, const char* name, const char* value) {
    pugi::xml_node child = parent.append_child(name);
    child.append_attribute(kVal) = value;
    return child;
}

// An element with "w:w" = "0" and "w:type" = "dxa", the zero width of the
// built-in table styles.
void AppendZeroWidth(pugi::xml_node parent, const char* name) {
    pugi::xml_node child = parent.append_child(name);
    child.append_attribute("w:w") = "0";
    child.append_attribute("w:type") = "dxa";
}

void AppendSingleBorder(pugi::xml_node borders, const char* name) {
    pugi::xml_node border = borders.append_child(name);
    border.append_attribute("w:val") = "single";
    border.append_attribute("w:sz") = "4";
    border.append_attribute("w:space") = "0";
    border.append_attribute("w:color") = "auto";
}

void AppendTableNormal(pugi::xml_node styles) {
    pugi::xml_node style = styles.append_child("w:style");
    style.append_attribute("w:type") = "table";
    style.append_attribute("w:default") = "1";
    style.append_attribute("w:styleId") = "TableNormal";
    AppendWithVal(style, "w:name", "Normal Table");
    AppendWithVal(style, "w:uiPriority", "99");
    style.append_child("w:semiHidden");
    style.append_child("w:unhideWhenUsed");
    pugi::xml_node tblPr = style.append_child("w:tblPr");
    AppendZeroWidth(tblPr, "w:tblInd");
    pugi::xml_node margins = tblPr.append_child("w:tblCellMar");
    for (const char* side : {"w:top", "w:left", "w:bottom", "w:right"}) AppendZeroWidth(margins, side);
}

void AppendTableGrid(pugi::xml_node styles) {
    pugi::xml_node style = styles.append_child("w:style");
    style.append_attribute("w:type") = "table";
    style.append_attribute("w:styleId") = "TableGrid";
    AppendWithVal(style, "w:name", "Table Grid");
    AppendWithVal(style, "w:basedOn", "TableNormal");
    AppendWithVal(style, "w:uiPriority", "39");
    AppendWithVal(style, "w:rsid", "000D6EC4");
    pugi::xml_node spacing = style.append_child("w:pPr").append_child("w:spacing");
    spacing.append_attribute("w:after") = "0";
    spacing.append_attribute("w:line") = "240";
    spacing.append_attribute("w:lineRule") = "auto";
    pugi::xml_node borders = style.append_child("w:tblPr").append_child("w:tblBorders");
    for (const char* side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"})
        AppendSingleBorder(borders, side);
}

}  // namespace

pugi::xml_node Styles_Element(pugi::xml_node styles) {
    if (styles.type() == pugi::node_document) return styles.child("w:styles");
    return styles;
}

pugi::xml_node GetStyleById(pugi::xml_node styles, const char* type, std::string_view id) {
    for (pugi::xml_node style : Styles_Element(styles).children("w:style")) {
        if (!AttributeIs(style, "w:styleId", id)) continue;
        if (type && !AttributeIs(style, "w:type", type)) continue;
        return style;
    }
    return {};
}

bool HasStyle(pugi::xml_node styles, const char* type, std::string_view id) {
    return bool(GetStyleById(styles, type, id));
}

std::string GetDefaultStyleId(pugi::xml_node styles, const char* type) {
    for (pugi::xml_node style : Styles_Element(styles).children("w:style"))
        if (AttributeIs(style, "w:type", type) && Style_IsDefault(style)) return Style_GetId(style);
    return {};
}

std::vector<pugi::xml_node> Styles_OfType(pugi::xml_node styles, const char* type) {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node style : Styles_Element(styles).children("w:style"))
        if (AttributeIs(style, "w:type", type)) found.push_back(style);
    return found;
}

pugi::xml_node AddStyle_Hyperlink(pugi::xml_node styles) {
    pugi::xml_node root = Styles_Element(styles);
    if (!root) return {};
    pugi::xml_node style = root.append_child("w:style");
    style.append_attribute("w:type") = "character";
    style.append_attribute("w:styleId") = "Hyperlink";
    // Without a name LibreOffice loses the links of runs in this style when
    // it writes a PDF.
    AppendWithVal(style, "w:name", "Hyperlink");
    AppendWithVal(style, "w:basedOn", "DefaultParagraphFont");
    AppendWithVal(style, "w:uiPriority", "99");
    style.append_child("w:unhideWhenUsed");
    AppendWithVal(style, "w:rsid", "000D6EC4");
    pugi::xml_node rPr = style.append_child("w:rPr");
    pugi::xml_node color = AppendWithVal(rPr, "w:color", "0563C1");
    color.append_attribute("w:themeColor") = "hyperlink";
    AppendWithVal(rPr, "w:u", "single");
    return style;
}

void AddStyle_TableGrid(pugi::xml_node styles) {
    pugi::xml_node root = Styles_Element(styles);
    if (!root) return;
    if (!HasStyle(root, "table", "TableNormal")) AppendTableNormal(root);
    AppendTableGrid(root);
}

void Styles_EnsureTableGrid(pugi::xml_node styles) {
    if (!HasStyle(styles, "table", "TableGrid")) AddStyle_TableGrid(styles);
}

NewStyleResult Styles_AddNewStyle(pugi::xml_node styles, const char* type, std::string_view id,
                                  std::string_view name, std::string_view basedOnId) {
    pugi::xml_node root = Styles_Element(styles);
    if (HasStyle(root, nullptr, id)) return {NewStyleStatus::DuplicateId, {}};
    if (!root) return {NewStyleStatus::NoStylesElement, {}};
    pugi::xml_node style = root.append_child("w:style");
    style.append_attribute("w:type") = type;
    style.append_attribute("w:customStyle") = "1";
    SetStringAttribute(style.append_attribute("w:styleId"), id);
    SetStringAttribute(style.append_child("w:name").append_attribute(kVal), name);
    SetStringAttribute(style.append_child("w:basedOn").append_attribute(kVal), basedOnId);
    AppendWithVal(style, "w:uiPriority", "22");
    style.append_child("w:qFormat");
    if (std::strcmp(type, "table") == 0) style.append_child("w:tblPr");
    return {NewStyleStatus::Created, style};
}

std::string Style_GetId(pugi::xml_node style) { return style.attribute("w:styleId").value(); }

bool Style_IsDefault(pugi::xml_node style) { return AttributeIs(style, "w:default", "1"); }

std::string Style_GetName(pugi::xml_node style) { return style.child("w:name").attribute(kVal).value(); }

bool Style_SetName(pugi::xml_node style, std::string_view name) {
    pugi::xml_attribute value = style.child("w:name").attribute(kVal);
    if (!value) return false;
    SetStringAttribute(value, name);
    return true;
}

ParentStyleResult Style_GetParentStyle(pugi::xml_node style) {
    pugi::xml_node basedOn = style.child("w:basedOn");
    if (!basedOn) return {ParentStyleStatus::NoParent, {}};
    // An empty reference names no style, even one that lacks an id itself.
    std::string_view id = basedOn.attribute(kVal).value();
    pugi::xml_node parent =
        id.empty() ? pugi::xml_node() : GetStyleById(style.parent(), style.attribute("w:type").value(), id);
    if (!parent) return {ParentStyleStatus::Missing, {}};
    return {ParentStyleStatus::Found, parent};
}

const char* StylePartType_ToText(int64_t partType) {
    static const char* const kTypes[] = {"band2Horz", "band1Horz", "band2Vert", "band1Vert",
                                         "firstRow",  "lastRow",   "firstCol",  "lastCol",
                                         "nwCell",    "neCell",    "swCell",    "seCell"};
    constexpr int64_t kCount = sizeof kTypes / sizeof kTypes[0];
    return partType >= 0 && partType < kCount ? kTypes[partType] : "seCell";
}

pugi::xml_node TableStyle_TablePart(pugi::xml_node style, int64_t partType, bool create) {
    const char* type = StylePartType_ToText(partType);
    for (pugi::xml_node part : style.children("w:tblStylePr"))
        if (AttributeIs(part, "w:type", type)) return part;
    if (!create || !style) return {};
    pugi::xml_node part = style.append_child("w:tblStylePr");
    part.append_attribute("w:type") = type;
    part.append_child("w:tblPr");
    part.append_child("w:tcPr");
    return part;
}

int32_t TableStyle_GetBandSize(pugi::xml_node style, const char* element) {
    pugi::xml_node size = style.child("w:tblPr").child(element);
    if (!size) return -1;
    return size.attribute(kVal).as_int(0);
}

void TableStyle_SetBandSize(pugi::xml_node style, const char* element, int32_t value) {
    // New elements take their place in the schema's order, which word
    // processors check, rather than the first place.
    pugi::xml_node tblPr = ChildInOrder(style, "w:tblPr", ChildOrder::Style);
    if (value < 1) {
        tblPr.remove_child(element);
        return;
    }
    WriteAttribute(ChildInOrder(tblPr, element, ChildOrder::TableProperties), kVal, value);
}

uint32_t TableStylePartGetBackgroundColor(pugi::xml_node properties, bool& hasColor) {
    hasColor = false;
    pugi::xml_node shading = properties.child("w:shd");
    if (!shading) return 0;
    std::string_view fill = shading.attribute("w:fill").value();
    if (fill == "auto") return 0;
    hasColor = true;
    return HexColorToRBColor(fill);
}

void TableStylePartSetBackgroundColor(pugi::xml_node properties, uint32_t color) {
    if (!properties) return;
    pugi::xml_node shading = properties.child("w:shd");
    if (!shading) {
        const bool cell = std::strcmp(properties.name(), "w:tcPr") == 0;
        shading = InsertChildInOrder(properties, "w:shd",
                                     cell ? ChildOrder::CellProperties : ChildOrder::TableProperties);
    } else {
        shading.remove_attribute("w:themeFill");
        shading.remove_attribute("w:themeFillTint");
    }
    // An existing "w:shd" missing one of the three gets it, so the fill
    // shows as written whatever the element held before.
    WriteAttribute(shading, "w:val", "clear");
    WriteAttribute(shading, "w:color", "auto");
    WriteAttribute(shading, "w:fill", ColorToHex(color));
}
