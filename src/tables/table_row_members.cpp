// The host class TableRow: a light view of one w:tr.
#include "content/document_caches.h"
#include "host/class_tables.h"
#include "tables/removed_tables.h"
#include "tables/table_rows.h"
#include "tables/table_structure.h"
#include "tables/table_views.h"

namespace {

struct TableRowData {
    REALobject document;  // counted
    pugi::xml_node row;   // w:tr
    pugi::xml_node table; // the w:tbl holding it when the view was made
};

TableRowData* DataOf(REALobject instance) {
    return static_cast<TableRowData*>(REALGetClassData(instance, &TableRowClass));
}

pugi::xml_node RowOf(REALobject instance) { return DataOf(instance)->row; }

// Every member of a row taken out of the document (or of a removed
// table) raises -20 (removed_tables.h).
template <auto F>
constexpr auto Live = &OnLiveNode<RowOf, F>::Call;

void TableRowDestructor(REALobject instance) {
    TableRowData* data = DataOf(instance);
    if (data->document) REALUnlockObject(data->document);
    data->document = nullptr;
}

// The grid of the table, not the row's own cells.
RBInteger GetColumnCount(REALobject instance, intptr_t) {
    TableRowData* data = DataOf(instance);
    return Table_ColumnCount(data->table, DocumentCaches_Of(data->document).positions);
}

RBBoolean GetRepeatAsHeaderRow(REALobject instance, intptr_t) { return Row_IsHeader(DataOf(instance)->row); }
void SetRepeatAsHeaderRow(REALobject instance, intptr_t, RBBoolean value) {
    Row_SetHeader(DataOf(instance)->row, value);
}

REALobject Cell(REALobject instance, RBInteger index) {
    TableRowData* data = DataOf(instance);
    pugi::xml_node cell = Row_CellAt(data->row, index, DocumentCaches_Of(data->document).positions);
    return cell ? CreateTableCell(data->document, cell) : nullptr;
}

REALproperty TableRowProperties[] = {
    VEX_READONLY_PROPERTY("ColumnCount", "Integer", Live<GetColumnCount>),
    VEX_PROPERTY("RepeatAsHeaderRow", "Boolean", Live<GetRepeatAsHeaderRow>, Live<SetRepeatAsHeaderRow>),
};

REALmethodDefinition TableRowMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(Live<Cell>, "Cell(index as Integer) as VexlomarWord.TableCell"),
};

}  // namespace

REALobject CreateTableRow(REALobject document, pugi::xml_node row) {
    if (!row) return nullptr;
    REALobject view = REALnewInstanceOfClass(&TableRowClass);
    if (!view) return nullptr;
    TableRowData* data = DataOf(view);
    REALLockObject(document);
    data->document = document;
    data->row = row;
    data->table = row.parent();
    return view;
}

pugi::xml_node TableRow_Node(REALobject row) { return DataOf(row)->row; }

REALclassDefinition TableRowClass =
    ClassDefinition("TableRow", "", sizeof(TableRowData), nullptr, TableRowDestructor, TableRowProperties,
                    VEX_COUNT(TableRowProperties), TableRowMethods, VEX_COUNT(TableRowMethods));
