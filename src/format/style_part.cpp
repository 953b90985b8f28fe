// The host classes StylePart and TableStylePart: run formatting of any
// style element, and the cell formatting of table style parts. Every member
// hands the viewed node and the object's kind to the property engine.
#include "format/style_part.h"

#include <string>

#include "format/cell_properties.h"
#include "format/colors.h"
#include "format/run_properties.h"
#include "format/styles.h"
#include "format/units.h"
#include "format/xml_helpers.h"
#include "host/class_tables.h"
#include "host/exceptions.h"
#include "host/strings.h"
#include "document/document_data.h"
#include "tables/table_views.h"

REALobject CreateStyle(REALobject document, pugi::xml_node node, REALclassDefinition* cls) {
    REALobject style = REALnewInstanceOfClass(cls);
    if (!style) return nullptr;
    StylePartData* data = StylePartData_Of(style);
    REALLockObject(document);
    data->document = document;
    data->node = node;
    return style;
}

REALobject CreateStylePart(REALobject document, pugi::xml_node node) {
    return CreateStyle(document, node, &StylePartClass);
}

REALobject StyleReference_View(REALobject document, pugi::xml_node reference, const char* type,
                               REALclassDefinition* cls, const char* missingMessage) {
    if (!reference) return nullptr;
    pugi::xml_node style =
        GetStyleById(DocumentData_Of(document)->wordDocument->stylesXml, type, reference.attribute("w:val").value());
    if (!style) {
        ThrowWordException(missingMessage, 1);
        return nullptr;
    }
    return CreateStyle(document, style, cls);
}

void StyleReference_Set(pugi::xml_node owner, const char* propertiesName, const char* referenceName,
                        REALobject style) {
    if (!style) {
        pugi::xml_node properties = owner.child(propertiesName);
        if (pugi::xml_node reference = properties.child(referenceName)) properties.remove_child(reference);
        return;
    }
    PrependChildWith_wVal(PrependChildIfNeeded(owner, propertiesName), referenceName,
                          Style_GetId(StylePartData_Of(style)->node));
}

namespace {

pugi::xml_node NodeOf(REALobject instance) { return StylePartData_Of(instance)->node; }
RPROwner KindOf(REALobject instance) { return StylePartData_Of(instance)->kind; }

// ---------------------------------------------------------------- lifecycle

// The record belongs to StylePart, so its release does too: every class of
// the tree, the document defaults included, gives its references back.
void StylePartDestructor(REALobject instance) {
    StylePartData* data = StylePartData_Of(instance);
    if (data->document) REALUnlockObject(data->document);
    data->document = nullptr;
    data->node = pugi::xml_node();
}

void TableStylePartInitializer(REALobject instance) {
    StylePartData_Of(instance)->kind = RPROwner::TableStylePart;
}

// ---------------------------------------------------------------- StylePart

RBInteger GetBold(REALobject instance, intptr_t) {
    return RBInteger(RPRParentGetSimpleTag(NodeOf(instance), "w:b"));
}
void SetBold(REALobject instance, intptr_t, RBInteger value) {
    RPRParentSetSimpleTag(NodeOf(instance), ClampToInt32(value), KindOf(instance), "w:b");
}

RBInteger GetItalic(REALobject instance, intptr_t) {
    return RBInteger(RPRParentGetSimpleTag(NodeOf(instance), "w:i"));
}
void SetItalic(REALobject instance, intptr_t, RBInteger value) {
    RPRParentSetSimpleTag(NodeOf(instance), ClampToInt32(value), KindOf(instance), "w:i");
}

RBColor GetTextColor(REALobject instance, intptr_t) {
    return RPRParentGetTextColor(NodeOf(instance), nullptr, nullptr);
}
void SetTextColor(REALobject instance, intptr_t, RBColor value) {
    RPRParentSetTextColor(NodeOf(instance), ColorToHex(value), KindOf(instance));
}

RBBoolean GetHasTextColor(REALobject instance, intptr_t) { return RPRParentHasTextColor(NodeOf(instance)); }

REALstring GetFontName(REALobject instance, intptr_t) {
    return UTF8ToString(RPRParentGetFontName(NodeOf(instance)));
}
void SetFontName(REALobject instance, intptr_t, REALstring value) {
    std::string name;
    if (!StringToUTF8(value, name)) return;
    RPRParentSetFontName(NodeOf(instance), name, KindOf(instance));
}

RBInteger GetFontSize(REALobject instance, intptr_t) { return RPRParentGetFontSize(NodeOf(instance)); }
void SetFontSize(REALobject instance, intptr_t, RBInteger value) {
    RPRParentSetFontSize(NodeOf(instance), ClampToInt32(value), KindOf(instance));
}

RBInteger GetHighlightColor(REALobject instance, intptr_t) {
    return RBInteger(RPRParentGetHighlightColor(NodeOf(instance)));
}
void SetHighlightColor(REALobject instance, intptr_t, RBInteger value) {
    RPRParentSetHighlightColor(NodeOf(instance), ClampToInt32(value), KindOf(instance));
}

RBInteger GetStrikethrough(REALobject instance, intptr_t) {
    return RBInteger(RPRParentGetStrikethrough(NodeOf(instance)));
}
void SetStrikethrough(REALobject instance, intptr_t, RBInteger value) {
    RPRParentSetStrikethrough(NodeOf(instance), ClampToInt32(value), KindOf(instance));
}

RBColor GetUnderlineColor(REALobject instance, intptr_t) { return RPRParentGetUnderlineColor(NodeOf(instance)); }
RBBoolean GetHasUnderlineColor(REALobject instance, intptr_t) {
    return RPRParentHasUnderlineColor(NodeOf(instance));
}

RBInteger GetUnderline(REALobject instance, intptr_t) { return RBInteger(RPRParentGetUnderline(NodeOf(instance))); }
void SetUnderline(REALobject instance, intptr_t, RBInteger value) {
    RPRParentSetUnderline(NodeOf(instance), ClampToInt32(value), KindOf(instance));
}

RBInteger GetVerticalAlignment(REALobject instance, intptr_t) {
    return RBInteger(RPRParentGetVerticalAlignment(NodeOf(instance)));
}
void SetVerticalAlignment(REALobject instance, intptr_t, RBInteger value) {
    RPRParentSetVerticalAlignment(NodeOf(instance), ClampToInt32(value), KindOf(instance));
}

RBInteger GetCaps(REALobject instance, intptr_t) { return RBInteger(RPRParentGetCaps(NodeOf(instance))); }
void SetCaps(REALobject instance, intptr_t, RBInteger value) {
    RPRParentSetCaps(NodeOf(instance), ClampToInt32(value), KindOf(instance));
}

RBInteger GetSpacing(REALobject instance, intptr_t) { return RPRParentGetSpacing(NodeOf(instance)); }
void SetSpacing(REALobject instance, intptr_t, RBInteger value) {
    RPRParentSetSpacing(NodeOf(instance), ClampToInt32(value), KindOf(instance));
}

void SetUnderlineWithColor(REALobject instance, RBInteger underlineStyle, RBColor colorValue) {
    RPRParentSetUnderlineWithColor(NodeOf(instance), ClampToInt32(underlineStyle), colorValue, KindOf(instance));
}
void ClearUnderlineColor(REALobject instance) { RPRParentClearUnderlineColor(NodeOf(instance)); }
void ClearTextColor(REALobject instance) { RPRParentClearTextColor(NodeOf(instance)); }

REALproperty StylePartProperties[] = {
    VEX_PROPERTY("Bold", "VexlomarWord.BooleanAttribute", GetBold, SetBold),
    VEX_PROPERTY("Italic", "VexlomarWord.BooleanAttribute", GetItalic, SetItalic),
    VEX_PROPERTY("TextColor", "Color", GetTextColor, SetTextColor),
    VEX_READONLY_PROPERTY("HasTextColor", "Boolean", GetHasTextColor),
    VEX_PROPERTY("FontName", "String", GetFontName, SetFontName),
    VEX_PROPERTY("FontSize", "Integer", GetFontSize, SetFontSize),
    VEX_PROPERTY("HighlightColor", "VexlomarWord.HighlightColors", GetHighlightColor, SetHighlightColor),
    VEX_PROPERTY("Strikethrough", "VexlomarWord.StrikeThroughValues", GetStrikethrough, SetStrikethrough),
    VEX_READONLY_PROPERTY("UnderlineColor", "Color", GetUnderlineColor),
    VEX_READONLY_PROPERTY("HasUnderlineColor", "Boolean", GetHasUnderlineColor),
    VEX_PROPERTY("Underline", "VexlomarWord.UnderlineStyles", GetUnderline, SetUnderline),
    VEX_PROPERTY("VerticalAlignment", "VexlomarWord.VerticalAlignments", GetVerticalAlignment,
                 SetVerticalAlignment),
    VEX_PROPERTY("Caps", "VexlomarWord.TextCaps", GetCaps, SetCaps),
    VEX_PROPERTY("Spacing", "Integer", GetSpacing, SetSpacing),
};

REALmethodDefinition StylePartMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(SetUnderlineWithColor,
               "SetUnderlineWithColor(underlineStyle as VexlomarWord.UnderlineStyles, colorValue as Color)"),
    VEX_METHOD(ClearUnderlineColor, "ClearUnderlineColor()"),
    VEX_METHOD(ClearTextColor, "ClearTextColor()"),
};

// ---------------------------------------------------------------- TableStylePart

// The shading lives in the viewed element's "w:tcPr", which these members
// never create.
pugi::xml_node CellPropertiesOf(REALobject instance) { return NodeOf(instance).child("w:tcPr"); }

RBColor GetBackgroundColor(REALobject instance, intptr_t) {
    bool hasColor = false;
    return TableStylePartGetBackgroundColor(CellPropertiesOf(instance), hasColor);
}
void SetBackgroundColor(REALobject instance, intptr_t, RBColor value) {
    TableStylePartSetBackgroundColor(CellPropertiesOf(instance), value);
}
RBBoolean GetHasBackgroundColor(REALobject instance, intptr_t) {
    bool hasColor = false;
    TableStylePartGetBackgroundColor(CellPropertiesOf(instance), hasColor);
    return hasColor;
}
void ClearBackgroundColor(REALobject instance) {
    pugi::xml_node properties = CellPropertiesOf(instance);
    properties.remove_child("w:shd");
}

RBInteger GetCellVerticalAlignment(REALobject instance, intptr_t) {
    return RBInteger(TCPRGetVerticalAlignment(NodeOf(instance)));
}
void SetCellVerticalAlignment(REALobject instance, intptr_t, RBInteger value) {
    TCPRSetVerticalAlignment(NodeOf(instance), ClampToInt32(value));
}

// The borders of the viewed element's "w:tblPr" (no diagonals there).
REALobject Border(REALobject instance, RBInteger type) { return CreateBorder(instance, NodeOf(instance), type, false); }

REALproperty TableStylePartProperties[] = {
    VEX_PROPERTY("BackgroundColor", "Color", GetBackgroundColor, SetBackgroundColor),
    VEX_READONLY_PROPERTY("HasBackgroundColor", "Boolean", GetHasBackgroundColor),
    VEX_PROPERTY("CellVerticalAlignment", "VexlomarWord.TableCellVerticalAlignments", GetCellVerticalAlignment,
                 SetCellVerticalAlignment),
};

REALmethodDefinition TableStylePartMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(ClearBackgroundColor, "ClearBackgroundColor()"),
    VEX_METHOD(Border, "Border(type as VexlomarWord.BorderParts) as VexlomarWord.TableBorder"),
};

}  // namespace

REALclassDefinition StylePartClass =
    ClassDefinition("StylePart", "", sizeof(StylePartData), nullptr, StylePartDestructor, StylePartProperties,
                    VEX_COUNT(StylePartProperties), StylePartMethods, VEX_COUNT(StylePartMethods));

REALclassDefinition TableStylePartClass =
    ClassDefinition("TableStylePart", "VexlomarWord.StylePart", 0, TableStylePartInitializer, nullptr,
                    TableStylePartProperties, VEX_COUNT(TableStylePartProperties), TableStylePartMethods,
                    VEX_COUNT(TableStylePartMethods));
