// The host class Table: the view of one w:tbl.
#include "content/container.h"
#include "host/class_tables.h"

extern REALclassDefinition TableClass;

REALobject CreateTable(REALobject document, pugi::xml_node node, pugi::xml_node parentNode) {
    REALobject table = REALnewInstanceOfClass(&TableClass);
    if (!table) return nullptr;
    DocumentItemData* data = DocumentItemData_Of(table);
    REALLockObject(document);
    data->document = document;
    data->parentNode = parentNode;
    data->node = node;
    data->kind = DocumentItemKindTable;
    return table;
}

namespace {

// The DocumentItem destructor releases the record; nothing of its own.
void TableInitializer(REALobject) {}
void TableDestructor(REALobject) {}

REALmethodDefinition TableMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

}  // namespace

REALclassDefinition TableClass =
    ClassDefinition("Table", "VexlomarWord.DocumentItem", 0, TableInitializer, TableDestructor, nullptr, 0,
                    TableMethods, VEX_COUNT(TableMethods));
