// The host class TableCell: a container over one w:tc (paragraphs and
// nested tables go in with the Container members), with its shading,
// vertical alignment and borders.
#include "content/container.h"
#include "format/cell_properties.h"
#include "format/units.h"
#include "host/class_tables.h"
#include "tables/removed_tables.h"
#include "tables/table_shading.h"
#include "tables/table_views.h"

namespace {

pugi::xml_node NodeOf(REALobject instance) { return ContainerData_Of(instance)->node; }

// Every member of a cell taken out of the document raises -20
// (removed_tables.h); the Container members do the same for a cell.
template <auto F>
constexpr auto Live = &OnLiveNode<NodeOf, F>::Call;

// The Container destructor releases the record; nothing of its own.
void TableCellInitializer(REALobject) {}
void TableCellDestructor(REALobject) {}

RBColor GetBackgroundColor(REALobject instance, intptr_t) {
    bool hasColor = false;
    return Cell_GetBackgroundColor(NodeOf(instance), hasColor);
}
void SetBackgroundColor(REALobject instance, intptr_t, RBColor value) {
    Cell_SetBackgroundColor(NodeOf(instance), value);
}
RBBoolean GetHasBackgroundColor(REALobject instance, intptr_t) {
    bool hasColor = false;
    Cell_GetBackgroundColor(NodeOf(instance), hasColor);
    return hasColor;
}
void ClearBackgroundColor(REALobject instance) { Cell_ClearBackgroundColor(NodeOf(instance)); }

RBInteger GetVerticalAlignment(REALobject instance, intptr_t) {
    return RBInteger(TCPRGetVerticalAlignment(NodeOf(instance)));
}
void SetVerticalAlignment(REALobject instance, intptr_t, RBInteger value) {
    TCPRSetVerticalAlignment(NodeOf(instance), ClampToInt32(value));
}

REALobject Border(REALobject instance, RBInteger type) {
    return CreateBorder(instance, NodeOf(instance), type, true);
}

REALproperty TableCellProperties[] = {
    VEX_PROPERTY("BackgroundColor", "Color", Live<GetBackgroundColor>, Live<SetBackgroundColor>),
    VEX_READONLY_PROPERTY("HasBackgroundColor", "Boolean", Live<GetHasBackgroundColor>),
    VEX_PROPERTY("VerticalAlignment", "VexlomarWord.TableCellVerticalAlignments", Live<GetVerticalAlignment>,
                 Live<SetVerticalAlignment>),
};

REALmethodDefinition TableCellMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(Live<ClearBackgroundColor>, "ClearBackgroundColor()"),
    VEX_METHOD(Live<Border>, "Border(type as VexlomarWord.BorderParts) as VexlomarWord.TableBorder"),
};

}  // namespace

REALobject CreateTableCell(REALobject document, pugi::xml_node cell) {
    if (!cell) return nullptr;
    REALobject view = REALnewInstanceOfClass(&TableCellClass);
    if (!view) return nullptr;
    Container_Init(view, document, cell, nullptr, nullptr);
    return view;
}

REALclassDefinition TableCellClass =
    ClassDefinition("TableCell", "VexlomarWord.Container", 0, TableCellInitializer, TableCellDestructor,
                    TableCellProperties, VEX_COUNT(TableCellProperties), TableCellMethods,
                    VEX_COUNT(TableCellMethods));
