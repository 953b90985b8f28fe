// The host class Table: the view of one w:tbl, and Container.AppendTable,
// which makes one.
#include <cmath>
#include <cstring>
#include <string>

#include "content/container.h"
#include "content/field_merge_members.h"
#include "content/document_caches.h"
#include "content/removed_elements.h"
#include "document/document_data.h"
#include "drawing/shape_text_box.h"
#include "format/section_properties.h"
#include "format/style_part.h"
#include "format/styles.h"
#include "format/units.h"
#include "host/class_tables.h"
#include "host/exceptions.h"
#include "host/strings.h"
#include "package/discarded_nodes.h"
#include "tables/removed_tables.h"
#include "tables/table_alt_text.h"
#include "tables/table_look.h"
#include "tables/table_properties.h"
#include "tables/table_shading.h"
#include "tables/table_structure.h"
#include "tables/table_views.h"
#include "tables/table_widths.h"

extern REALclassDefinition TableClass;

REALobject CreateTable(REALobject document, pugi::xml_node node, pugi::xml_node parentNode) {
    return NewDocumentItem(&TableClass, document, node, parentNode, DocumentItemKindTable, nullptr, nullptr);
}

REALobject Table_New(REALobject document, pugi::xml_node table) {
    if (!table) return nullptr;
    return CreateTable(document, table, table.parent());
}

namespace {

// Whether a paragraph or table follows `node`: one inserted before it
// moves an item others may have remembered.
bool ItemFollows(pugi::xml_node node) {
    for (pugi::xml_node n = node.next_sibling(); n; n = n.next_sibling())
        if (std::strcmp(n.name(), "w:p") == 0 || std::strcmp(n.name(), "w:tbl") == 0) return true;
    return false;
}

}  // namespace

REALobject AppendTable(REALobject container, RBInteger columnCount, RBInteger rowCount) {
    if (columnCount < 1) {
        ThrowInvalidArgumentException("Parameter columnCount must be greater than zero", 1);
        return nullptr;
    }
    if (rowCount < 1) {
        ThrowInvalidArgumentException("Parameter rowCount must be greater than zero", 2);
        return nullptr;
    }
    ContainerData* data = ContainerData_Of(container);
    // The style the new table names, made first: it stays even when the
    // table cannot be placed.
    Word::Document& word = *DocumentData_Of(data->document)->wordDocument;
    if (word.EnsureStyles()) Styles_EnsureTableGrid(word.stylesXml);
    pugi::xml_node before;
    if (data->kind == ContainerKindBody) {
        // The body's final section properties stay its last child; a body
        // without them takes the table at its end.
        before = Body_FinalSectPr(data->node);
    }
    // A new text box's paragraph is there only to keep it valid: a table
    // put in first takes its place (the box still ends with a paragraph).
    if (pugi::xml_node placeholder = TextBox_Placeholder(data->node)) {
        Xml_Discard(placeholder);
        DocumentCaches_Invalidate(DocumentCaches_Of(data->document));
    }
    pugi::xml_node table = Table_Build(data->node, before, ClampToInt32(columnCount), ClampToInt32(rowCount));
    if (!table) return nullptr;
    // Usually nothing follows the body's section properties, and the new
    // table comes after every item: remembered places still hold.
    if (before && ItemFollows(before)) DocumentCaches_Invalidate(DocumentCaches_Of(data->document));
    return CreateTable(data->document, table, data->node);
}

namespace {

DocumentItemData* DataOf(REALobject instance) { return DocumentItemData_Of(instance); }
pugi::xml_node NodeOf(REALobject instance) { return DataOf(instance)->node; }
PositionCache& CacheOf(REALobject instance) { return DocumentCaches_Of(DataOf(instance)->document).positions; }

// Every member of a table taken out of the document raises -20
// (removed_tables.h) instead of acting on it.
template <auto F>
constexpr auto Live = &OnLiveNode<NodeOf, F>::Call;

// The DocumentItem destructor releases the record; nothing of its own.
void TableInitializer(REALobject) {}
void TableDestructor(REALobject) {}

// ---------------------------------------------------------------- structure

RBInteger GetRowCount(REALobject instance, intptr_t) { return Table_RowCount(NodeOf(instance), CacheOf(instance)); }
RBInteger GetColumnCount(REALobject instance, intptr_t) {
    return Table_ColumnCount(NodeOf(instance), CacheOf(instance));
}

REALobject Row(REALobject instance, RBInteger index) {
    DocumentItemData* data = DataOf(instance);
    pugi::xml_node row = Table_RowAt(data->node, index, DocumentCaches_Of(data->document).positions);
    return row ? CreateTableRow(data->document, row) : nullptr;
}

REALobject Cell(REALobject instance, RBInteger column, RBInteger rowIndex) {
    DocumentItemData* data = DataOf(instance);
    PositionCache& cache = DocumentCaches_Of(data->document).positions;
    pugi::xml_node cell = Row_CellAt(Table_RowAt(data->node, rowIndex, cache), column, cache);
    return cell ? CreateTableCell(data->document, cell) : nullptr;
}

// At the end of the table: every remembered place and count stays right.
REALobject AppendRow(REALobject instance) {
    DocumentItemData* data = DataOf(instance);
    pugi::xml_node row = Table_AppendRow(data->node);
    return row ? CreateTableRow(data->document, row) : nullptr;
}

void RemoveRow(REALobject instance, REALobject row) {
    if (!row) return;
    DocumentItemData* data = DataOf(instance);
    pugi::xml_node node = TableRow_Node(row);
    // A row of another table, or one removed before, stays where it is.
    if (!Table_HoldsRow(data->node, node)) return;
    // The pictures and links in its cells go with it; the last row takes
    // the whole table, which holds nothing more, and moves the items after
    // it: then nothing remembered holds.
    Removal_Release(data->document, node);
    DocumentCaches& caches = DocumentCaches_Of(data->document);
    bool tableRemoved = false;
    if (Table_RemoveRow(data->node, node, caches.positions, tableRemoved) && tableRemoved)
        DocumentCaches_Invalidate(caches);
}

// ---------------------------------------------------------------- widths

constexpr const char* kColumnOutOfBounds = "Column index was out of bounds";
constexpr const char* kBadColumnWidth = "Parameter value must be a column width from 0 to 2147483647 twips";
constexpr RBInteger kBadColumnWidthNumber = 8002;
constexpr const char* kBadTableWidth =
    "Parameter value must be a table width from 0 to 2147483647 twips, or a fraction not below 0";
constexpr RBInteger kBadTableWidthNumber = 8003;

bool ColumnInRange(REALobject instance, RBInteger index) {
    if (index >= 0 && index < Table_ColumnCount(NodeOf(instance), CacheOf(instance))) return true;
    ThrowOutOfBoundsException(kColumnOutOfBounds, -55);
    return false;
}

double GetColumnWidth(REALobject instance, RBInteger index, RBInteger unit) {
    if (!ColumnInRange(instance, index)) return 0.0;
    return ValueToUnit(Table_GetColumnWidth(NodeOf(instance), index), Units_Of(unit));
}

// Grid columns and cell widths are unsigned twips: a width below zero,
// NaN, infinite or past 32 bits is refused, and nothing changes.
void SetColumnWidth(REALobject instance, RBInteger index, RBInteger unit, double value) {
    if (!ColumnInRange(instance, index)) return;
    int32_t twips = 0;
    if (!UnitToMeasure(value, Units_Of(unit), twips)) {
        ThrowInvalidArgumentException(kBadColumnWidth, kBadColumnWidthNumber);
        return;
    }
    Table_SetColumnWidth(NodeOf(instance), index, twips);
}

RBInteger GetWidthMode(REALobject instance, intptr_t) { return RBInteger(Table_GetWidthMode(NodeOf(instance))); }

// The value is judged by the mode that uses it: whole twips as for a
// column, or a fraction that is a number not below zero (above 1 it is
// held to the whole width). AUTO takes no value, and another mode changes
// nothing.
void SetTableWidth(REALobject instance, RBInteger mode, RBInteger unit, double value) {
    int32_t twips = 0;
    bool valid = true;
    if (mode == RBInteger(TableWidthMode::ABSOLUTE)) valid = UnitToMeasure(value, Units_Of(unit), twips);
    if (mode == RBInteger(TableWidthMode::PERCENTAGE)) valid = value >= 0.0 && std::isfinite(value);
    if (!valid) {
        ThrowInvalidArgumentException(kBadTableWidth, kBadTableWidthNumber);
        return;
    }
    Table_SetWidth(NodeOf(instance), mode, twips, value);
}

double TableWidth(REALobject instance, RBInteger unit) {
    pugi::xml_node table = NodeOf(instance);
    const double value = Table_GetWidthValue(table);
    if (Table_GetWidthMode(table) != TableWidthMode::ABSOLUTE) return value;
    return ValueToUnit(int32_t(value), Units_Of(unit));
}

// ---------------------------------------------------------------- formatting

REALstring GetAltText(REALobject instance, const char* element) {
    return UTF8ToString(Table_GetAltText(NodeOf(instance), element));
}
void SetAltText(REALobject instance, const char* element, REALstring value) {
    std::string text;
    if (!StringToUTF8(value, text)) return;
    Table_SetAltText(NodeOf(instance), element, text);
}
REALstring GetAltTextTitle(REALobject instance, intptr_t) { return GetAltText(instance, kTableCaption); }
void SetAltTextTitle(REALobject instance, intptr_t, REALstring value) { SetAltText(instance, kTableCaption, value); }
REALstring GetAltTextDescription(REALobject instance, intptr_t) { return GetAltText(instance, kTableDescription); }
void SetAltTextDescription(REALobject instance, intptr_t, REALstring value) {
    SetAltText(instance, kTableDescription, value);
}

RBColor GetBackgroundColor(REALobject instance, intptr_t) {
    bool hasColor = false;
    return Table_GetBackgroundColor(NodeOf(instance), hasColor);
}
void SetBackgroundColor(REALobject instance, intptr_t, RBColor value) {
    Table_SetBackgroundColor(NodeOf(instance), value);
}
RBBoolean GetHasBackgroundColor(REALobject instance, intptr_t) {
    bool hasColor = false;
    Table_GetBackgroundColor(NodeOf(instance), hasColor);
    return hasColor;
}
void ClearBackgroundColor(REALobject instance) { Table_ClearBackgroundColor(NodeOf(instance)); }

REALobject GetStyle(REALobject instance, intptr_t) {
    DocumentItemData* data = DataOf(instance);
    std::string id;
    if (!Table_GetStyleId(data->node, id)) return nullptr;
    pugi::xml_node style = GetStyleById(DocumentData_Of(data->document)->wordDocument->stylesXml, "table", id);
    if (!style) {
        ThrowWordException("Table has style but no matching style exists in the document", 1);
        return nullptr;
    }
    return CreateStyle(data->document, style, &TableStyleClass);
}
void SetStyle(REALobject instance, intptr_t, REALobject value) {
    pugi::xml_node table = NodeOf(instance);
    if (!value) {
        Table_SetStyleId(table, "");
        return;
    }
    Table_SetStyleId(table, Style_GetId(StylePartData_Of(value)->node));
}

RBInteger GetConditionalFormattingFlags(REALobject instance, intptr_t) {
    return Table_GetLookFlags(NodeOf(instance));
}
void SetConditionalFormattingFlags(REALobject instance, intptr_t, RBInteger value) {
    Table_SetLookFlags(NodeOf(instance), value);
}

REALobject Border(REALobject instance, RBInteger type) {
    return CreateBorder(instance, NodeOf(instance), type, false);
}

REALproperty TableProperties[] = {
    VEX_READONLY_PROPERTY("RowCount", "Integer", Live<GetRowCount>),
    VEX_READONLY_PROPERTY("ColumnCount", "Integer", Live<GetColumnCount>),
    VEX_READONLY_PROPERTY("WidthMode", "VexlomarWord.TableWidthModes", Live<GetWidthMode>),
    VEX_PROPERTY("AltTextTitle", "String", Live<GetAltTextTitle>, Live<SetAltTextTitle>),
    VEX_PROPERTY("AltTextDescription", "String", Live<GetAltTextDescription>, Live<SetAltTextDescription>),
    VEX_PROPERTY("BackgroundColor", "Color", Live<GetBackgroundColor>, Live<SetBackgroundColor>),
    VEX_READONLY_PROPERTY("HasBackgroundColor", "Boolean", Live<GetHasBackgroundColor>),
    VEX_PROPERTY("Style", "VexlomarWord.TableStyle", Live<GetStyle>, Live<SetStyle>),
    VEX_PROPERTY("ConditionalFormattingFlags", "Integer", Live<GetConditionalFormattingFlags>,
                 Live<SetConditionalFormattingFlags>),
};

REALmethodDefinition TableMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(Live<TableMembers::ApplyFieldData>, "ApplyFieldData(fieldName as String, data as String)"),
    VEX_METHOD(Live<Row>, "Row(index as Integer) as VexlomarWord.TableRow"),
    VEX_METHOD(Live<Cell>, "Cell(column as Integer, row as Integer) as VexlomarWord.TableCell"),
    VEX_METHOD(Live<AppendRow>, "AppendRow() as VexlomarWord.TableRow"),
    VEX_METHOD(Live<RemoveRow>, "RemoveRow(row as VexlomarWord.TableRow)"),
    VEX_METHOD(Live<GetColumnWidth>, "ColumnWidth(index as Integer, unit as VexlomarWord.Units) as Double"),
    VEX_METHOD(Live<SetColumnWidth>,
               "ColumnWidth(index as Integer, unit as VexlomarWord.Units, assigns value as Double)"),
    VEX_METHOD(Live<SetTableWidth>,
               "SetTableWidth(mode as VexlomarWord.TableWidthModes, unit as VexlomarWord.Units, value as Double)"),
    VEX_METHOD(Live<TableWidth>, "TableWidth(unit as VexlomarWord.Units) as Double"),
    VEX_METHOD(Live<ClearBackgroundColor>, "ClearBackgroundColor()"),
    VEX_METHOD(Live<Border>, "Border(type as VexlomarWord.BorderParts) as VexlomarWord.TableBorder"),
};

REALconstant TableConstants[] = {
    {"ConditionalFormatApplyFirstRow=32", REALconstantFlagPublic},
    {"ConditionalFormatApplyLastRow=64", REALconstantFlagPublic},
    {"ConditionalFormatApplyFirstColumn=128", REALconstantFlagPublic},
    {"ConditionalFormatApplyLastColumn=256", REALconstantFlagPublic},
    {"ConditionalFormatDontApplyRowBanding=512", REALconstantFlagPublic},
    {"ConditionalFormatDontApplyColumnBanding=1024", REALconstantFlagPublic},
};

REALclassDefinition TableDefinition() {
    REALclassDefinition definition =
        ClassDefinition("Table", "VexlomarWord.DocumentItem", 0, TableInitializer, TableDestructor, TableProperties,
                        VEX_COUNT(TableProperties), TableMethods, VEX_COUNT(TableMethods));
    definition.constants = TableConstants;
    definition.constantCount = VEX_COUNT(TableConstants);
    return definition;
}

}  // namespace

REALclassDefinition TableClass = TableDefinition();
