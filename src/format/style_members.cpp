// The host classes Style, CharacterStyle, ParagraphStyle and TableStyle:
// views of one "w:style", with the members that only styles have.
#include <string>

#include "format/paragraph_properties.h"
#include "format/style_part.h"
#include "format/styles.h"
#include "format/units.h"
#include "host/class_tables.h"
#include "host/exceptions.h"
#include "host/strings.h"

namespace {

pugi::xml_node NodeOf(REALobject instance) { return StylePartData_Of(instance)->node; }

void SetKind(REALobject instance, RPROwner kind) { StylePartData_Of(instance)->kind = kind; }

// The style "w:basedOn" names, as an object of the asking class.
REALobject ParentStyleAs(REALobject instance, REALclassDefinition* cls) {
    const StylePartData* data = StylePartData_Of(instance);
    const ParentStyleResult parent = Style_GetParentStyle(data->node);
    switch (parent.status) {
        case ParentStyleStatus::NoParent: return nullptr;
        case ParentStyleStatus::Missing:
            ThrowWordException("Parent style does not exist in the document", 1);
            return nullptr;
        case ParentStyleStatus::Found: break;
    }
    return CreateStyle(data->document, parent.style, cls);
}

// ---------------------------------------------------------------- Style

REALstring GetId(REALobject instance, intptr_t) { return UTF8ToString(Style_GetId(NodeOf(instance))); }
RBBoolean GetIsDefault(REALobject instance, intptr_t) { return Style_IsDefault(NodeOf(instance)); }
REALstring GetName(REALobject instance, intptr_t) { return UTF8ToString(Style_GetName(NodeOf(instance))); }

void SetName(REALobject instance, intptr_t, REALstring value) {
    std::string name;
    if (!StringToUTF8(value, name)) return;
    Style_SetName(NodeOf(instance), name);
}

REALproperty StyleProperties[] = {
    VEX_READONLY_PROPERTY("Id", "String", GetId),
    VEX_READONLY_PROPERTY("IsDefault", "Boolean", GetIsDefault),
    VEX_PROPERTY("Name", "String", GetName, SetName),
};

REALmethodDefinition StyleMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

// ---------------------------------------------------------------- CharacterStyle

void CharacterStyleInitializer(REALobject instance) { SetKind(instance, RPROwner::CharacterStyle); }

REALobject GetCharacterParentStyle(REALobject instance, intptr_t) {
    return ParentStyleAs(instance, &CharacterStyleClass);
}

REALproperty CharacterStyleProperties[] = {
    VEX_READONLY_PROPERTY("ParentStyle", "VexlomarWord.CharacterStyle", GetCharacterParentStyle),
};

REALmethodDefinition CharacterStyleMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

// ---------------------------------------------------------------- ParagraphStyle

void ParagraphStyleInitializer(REALobject instance) { SetKind(instance, RPROwner::ParagraphStyle); }

REALobject GetParagraphParentStyle(REALobject instance, intptr_t) {
    return ParentStyleAs(instance, &ParagraphStyleClass);
}

RBInteger GetAlignment(REALobject instance, intptr_t) { return RBInteger(PPRGetAlignment(NodeOf(instance))); }

void SetAlignment(REALobject instance, intptr_t, RBInteger value) {
    PPRSetAlignment(NodeOf(instance), ClampToInt32(value), StylePartData_Of(instance)->kind);
}

REALproperty ParagraphStyleProperties[] = {
    VEX_READONLY_PROPERTY("ParentStyle", "VexlomarWord.ParagraphStyle", GetParagraphParentStyle),
    VEX_PROPERTY("Alignment", "VexlomarWord.Alignments", GetAlignment, SetAlignment),
};

REALmethodDefinition ParagraphStyleMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

// ---------------------------------------------------------------- TableStyle

// Runs after TableStylePart's initializer, so the table style's own kind
// wins.
void TableStyleInitializer(REALobject instance) { SetKind(instance, RPROwner::TableStyle); }

REALobject GetTableParentStyle(REALobject instance, intptr_t) { return ParentStyleAs(instance, &TableStyleClass); }

RBInteger GetRowBandSize(REALobject instance, intptr_t) { return TableStyle_GetBandSize(NodeOf(instance), kRowBandSize); }
void SetRowBandSize(REALobject instance, intptr_t, RBInteger value) {
    TableStyle_SetBandSize(NodeOf(instance), kRowBandSize, ClampToInt32(value));
}
RBInteger GetColumnBandSize(REALobject instance, intptr_t) {
    return TableStyle_GetBandSize(NodeOf(instance), kColumnBandSize);
}
void SetColumnBandSize(REALobject instance, intptr_t, RBInteger value) {
    TableStyle_SetBandSize(NodeOf(instance), kColumnBandSize, ClampToInt32(value));
}

REALobject TablePart(REALobject instance, RBInteger partType, RBBoolean create) {
    const StylePartData* data = StylePartData_Of(instance);
    pugi::xml_node part = TableStyle_TablePart(data->node, partType, create);
    if (!part) return nullptr;
    return CreateStyle(data->document, part, &TableStylePartClass);
}

REALproperty TableStyleProperties[] = {
    VEX_READONLY_PROPERTY("ParentStyle", "VexlomarWord.TableStyle", GetTableParentStyle),
    VEX_PROPERTY("RowBandSize", "Integer", GetRowBandSize, SetRowBandSize),
    VEX_PROPERTY("ColumnBandSize", "Integer", GetColumnBandSize, SetColumnBandSize),
};

REALmethodDefinition TableStyleMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(TablePart,
               "TablePart(partType as VexlomarWord.StylePartType, create as Boolean) as VexlomarWord.TableStylePart"),
};

}  // namespace

REALclassDefinition StyleClass =
    ClassDefinition("Style", "VexlomarWord.StylePart", 0, nullptr, nullptr, StyleProperties,
                    VEX_COUNT(StyleProperties), StyleMethods, VEX_COUNT(StyleMethods));

REALclassDefinition CharacterStyleClass =
    ClassDefinition("CharacterStyle", "VexlomarWord.Style", 0, CharacterStyleInitializer, nullptr,
                    CharacterStyleProperties, VEX_COUNT(CharacterStyleProperties), CharacterStyleMethods,
                    VEX_COUNT(CharacterStyleMethods));

REALclassDefinition ParagraphStyleClass =
    ClassDefinition("ParagraphStyle", "VexlomarWord.Style", 0, ParagraphStyleInitializer, nullptr,
                    ParagraphStyleProperties, VEX_COUNT(ParagraphStyleProperties), ParagraphStyleMethods,
                    VEX_COUNT(ParagraphStyleMethods));

REALclassDefinition TableStyleClass =
    ClassDefinition("TableStyle", "VexlomarWord.TableStylePart", 0, TableStyleInitializer, nullptr,
                    TableStyleProperties, VEX_COUNT(TableStyleProperties), TableStyleMethods,
                    VEX_COUNT(TableStyleMethods));
