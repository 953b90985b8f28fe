// The ListIndent members: whether it names a definition, the type of its
// level, the level.
#include "format/list_indent.h"

#include "content/document_caches.h"
#include "content/paragraph_items.h"
#include "document/document_data.h"
#include "format/numbering.h"
#include "format/paragraph_numbering.h"
#include "host/class_tables.h"

namespace {

REALobject NewView(REALobject document, int32_t numId, int64_t level, pugi::xml_node num) {
    REALobject view = REALnewInstanceOfClass(&ListIndentClass);
    if (!view) return nullptr;
    ListIndentData* data = ListIndentData_Of(view);
    REALLockObject(document);
    data->document = document;
    data->numId = numId;
    data->level = level;
    data->node = num;
    return view;
}

void ListIndentDestructor(REALobject instance) {
    ListIndentData* data = ListIndentData_Of(instance);
    if (data->document) REALUnlockObject(data->document);
    data->document = nullptr;
    data->node = pugi::xml_node();
}

RBBoolean GetIsAbstract(REALobject instance, intptr_t) {
    return bool(ListIndentData_Of(instance)->node.child("w:abstractNumId"));
}
RBInteger GetType(REALobject instance, intptr_t) {
    const ListIndentData* data = ListIndentData_Of(instance);
    return static_cast<RBInteger>(GetNumberingTypeInternal(data->node, data->level));
}
RBInteger GetLevel(REALobject instance, intptr_t) { return ListIndentData_Of(instance)->level; }

REALproperty ListIndentProperties[] = {
    VEX_READONLY_PROPERTY("IsAbstract", "Boolean", GetIsAbstract),
    VEX_READONLY_PROPERTY("Type", "VexlomarWord.NumberingType", GetType),
    VEX_READONLY_PROPERTY("Level", "Integer", GetLevel),
};

REALmethodDefinition ListIndentMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

}  // namespace

REALobject ListIndent_Create(REALobject document, bool bullets) {
    int32_t numId = 0;
    pugi::xml_node num = Numbering_CreateList(*DocumentData_Of(document)->wordDocument,
                                              DocumentCaches_Of(document).numbering, bullets, numId);
    return num ? NewView(document, numId, -1, num) : nullptr;
}

REALobject ListIndent_OfParagraph(REALobject document, pugi::xml_node paragraph) {
    const std::optional<int64_t> numId = Paragraph_GetListNumId(paragraph);
    if (!numId || *numId < INT32_MIN || *numId > INT32_MAX) return nullptr;
    pugi::xml_node num =
        Numbering_FindNum(*DocumentData_Of(document)->wordDocument, DocumentCaches_Of(document).numbering, *numId);
    if (!num) return nullptr;
    return NewView(document, static_cast<int32_t>(*numId), Paragraph_GetListIndentLevel(paragraph), num);
}

REALclassDefinition ListIndentClass =
    ClassDefinition("ListIndent", "", sizeof(ListIndentData), nullptr, ListIndentDestructor, ListIndentProperties,
                    VEX_COUNT(ListIndentProperties), ListIndentMethods, VEX_COUNT(ListIndentMethods));
