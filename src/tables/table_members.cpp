// The host class Table: the view of one w:tbl.
#include "content/container.h"
#include "content/field_merge_members.h"
#include "host/class_tables.h"

extern REALclassDefinition TableClass;

REALobject CreateTable(REALobject document, pugi::xml_node node, pugi::xml_node parentNode) {
    return NewDocumentItem(&TableClass, document, node, parentNode, DocumentItemKindTable, nullptr, nullptr);
}

namespace {

// The DocumentItem destructor releases the record; nothing of its own.
void TableInitializer(REALobject) {}
void TableDestructor(REALobject) {}

REALmethodDefinition TableMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(TableMembers::ApplyFieldData, "ApplyFieldData(fieldName as String, data as String)"),
};

}  // namespace

REALclassDefinition TableClass =
    ClassDefinition("Table", "VexlomarWord.DocumentItem", 0, TableInitializer, TableDestructor, nullptr, 0,
                    TableMethods, VEX_COUNT(TableMethods));
