// The host class TableBorder: one border of a table, a cell or a table
// style part. The view keeps its owner and the part, not the elements:
// every call finds them again.
#include <cstring>

#include "format/colors.h"
#include "host/class_tables.h"
#include "host/exceptions.h"
#include "tables/removed_tables.h"
#include "tables/table_borders.h"
#include "tables/table_views.h"

namespace {

struct BorderData {
    REALobject owner;        // counted: the Table, TableCell or TableStylePart
    bool isCell;
    pugi::xml_node ownerNode;  // w:tbl, w:tc, w:style or w:tblStylePr
    int32_t part;            // BorderParts
};

BorderData* DataOf(REALobject instance) {
    return static_cast<BorderData*>(REALGetClassData(instance, &TableBorderClass));
}

BorderRef RefOf(REALobject instance) {
    const BorderData* data = DataOf(instance);
    return BorderRef{data->ownerNode, data->isCell, BorderPart(data->part)};
}

// The owner's element when it is a table or a cell: the border of one taken
// out of the document refuses every member (removed_tables.h). Table
// styles and their parts are not checked.
pugi::xml_node TableOrCellOf(REALobject instance) {
    const BorderData* data = DataOf(instance);
    if (data->isCell || std::strcmp(data->ownerNode.name(), "w:tbl") == 0) return data->ownerNode;
    return {};
}

template <auto F>
constexpr auto Live = &OnLiveNode<TableOrCellOf, F>::Call;

// Host memory starts zeroed: nothing to make.
void TableBorderInitializer(REALobject) {}

void TableBorderDestructor(REALobject instance) {
    BorderData* data = DataOf(instance);
    if (data->owner) REALUnlockObject(data->owner);
    data->owner = nullptr;
}

RBBoolean GetExists(REALobject instance, intptr_t) { return bool(Border_Element(RefOf(instance))); }
RBInteger GetStyle(REALobject instance, intptr_t) { return Border_GetStyle(RefOf(instance)); }
uint8_t GetSize(REALobject instance, intptr_t) { return Border_GetSize(RefOf(instance)); }
uint8_t GetSpace(REALobject instance, intptr_t) { return Border_GetSpace(RefOf(instance)); }
RBColor GetColorValue(REALobject instance, intptr_t) { return Border_GetColor(RefOf(instance)); }
RBBoolean GetColorIsAuto(REALobject instance, intptr_t) { return Border_ColorIsAuto(RefOf(instance)); }

void SetBorder(REALobject instance, RBInteger style, uint8_t size, uint8_t space, const std::string& color) {
    if (!BorderSize_IsValid(size)) {
        ThrowInvalidArgumentException("Parameter size contains invalid value", 8001);
        return;
    }
    Border_Set(RefOf(instance), style, size, space, color);
}

void SetBorderStyle(REALobject instance, RBInteger style, uint8_t size, uint8_t space) {
    SetBorder(instance, style, size, space, "auto");
}
void SetBorderStyleWithColor(REALobject instance, RBInteger style, uint8_t size, uint8_t space, RBColor color) {
    SetBorder(instance, style, size, space, ColorToHex(color));
}

void Remove(REALobject instance) { Border_Remove(RefOf(instance)); }

REALproperty TableBorderProperties[] = {
    VEX_READONLY_PROPERTY("Exists", "Boolean", Live<GetExists>),
    VEX_READONLY_PROPERTY("Style", "VexlomarWord.BorderStyle", Live<GetStyle>),
    VEX_READONLY_PROPERTY("Size", "UInt8", Live<GetSize>),
    VEX_READONLY_PROPERTY("Space", "UInt8", Live<GetSpace>),
    VEX_READONLY_PROPERTY("ColorValue", "Color", Live<GetColorValue>),
    VEX_READONLY_PROPERTY("ColorIsAuto", "Boolean", Live<GetColorIsAuto>),
};

REALmethodDefinition TableBorderMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(Live<SetBorderStyle>,
               "SetBorderStyle(style as VexlomarWord.BorderStyle, size as UInt8, space as UInt8)"),
    VEX_METHOD(Live<SetBorderStyleWithColor>,
               "SetBorderStyle(style as VexlomarWord.BorderStyle, size as UInt8, space as UInt8, colorValue as Color)"),
    VEX_METHOD(Live<Remove>, "Remove()"),
};

}  // namespace

REALobject CreateBorder(REALobject owner, pugi::xml_node ownerNode, RBInteger type, bool isCell) {
    // Every part of BorderParts has a view; a diagonal of a table or style
    // reads as no border and takes no writes (table_borders.h).
    if (type < int64_t(BorderPart::Left) || type > int64_t(BorderPart::TopRightToBottomLeft)) return nullptr;
    REALobject view = REALnewInstanceOfClass(&TableBorderClass);
    if (!view) return nullptr;
    BorderData* data = DataOf(view);
    REALLockObject(owner);
    data->owner = owner;
    data->isCell = isCell;
    data->ownerNode = ownerNode;
    data->part = int32_t(type);
    return view;
}

REALclassDefinition TableBorderClass =
    ClassDefinition("TableBorder", "", sizeof(BorderData), TableBorderInitializer, TableBorderDestructor,
                    TableBorderProperties, VEX_COUNT(TableBorderProperties), TableBorderMethods,
                    VEX_COUNT(TableBorderMethods));
