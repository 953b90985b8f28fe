// The host class Container: the items of a body, header, footer, table cell
// or text box, found by index and added or removed.
#include "content/container.h"

#include <cstring>
#include <string>

#include "content/document_caches.h"
#include "content/iterators.h"
#include "content/field_merge_members.h"
#include "content/removed_elements.h"
#include "content/run_text.h"
#include "content/sibling_walk.h"
#include "drawing/drawing_members.h"
#include "drawing/shape_text_box.h"
#include "format/section_properties.h"
#include "host/class_tables.h"
#include "host/exceptions.h"
#include "host/strings.h"
#include "package/discarded_nodes.h"
#include "tables/removed_tables.h"
#include "tables/table_structure.h"
#include "tables/table_views.h"

// ---------------------------------------------------------------- core

void Container_InitBody(REALobject document, pugi::xml_node body) {
    ContainerData* data = ContainerData_Of(document);
    data->kind = ContainerKindBody;
    data->document = document;  // not counted: a document holds no count on itself
    data->node = body;
    data->textColorResolver = nullptr;
    data->resolverOwner = nullptr;
}

void Container_Init(REALobject container, REALobject document, pugi::xml_node node,
                    TextColorResolver resolver, REALobject resolverOwner) {
    ContainerData* data = ContainerData_Of(container);
    data->kind = ContainerKindOther;
    REALLockObject(document);
    data->document = document;
    data->node = node;
    if (resolverOwner) {
        REALLockObject(resolverOwner);
        data->textColorResolver = resolver;
        data->resolverOwner = resolverOwner;
    }
}

REALobject NewDocumentItem(REALclassDefinition* cls, REALobject document, pugi::xml_node node,
                           pugi::xml_node parentNode, int32_t kind, TextColorResolver resolver,
                           REALobject resolverOwner) {
    REALobject item = REALnewInstanceOfClass(cls);
    if (!item) return nullptr;
    ItemRecord_Fill(DocumentItemData_Of(item), document, parentNode, node, kind, resolver, resolverOwner);
    return item;
}

REALobject CreateParagraph(REALobject document, pugi::xml_node node, pugi::xml_node parentNode,
                           TextColorResolver resolver, REALobject resolverOwner) {
    return NewDocumentItem(&ParagraphClass, document, node, parentNode, DocumentItemKindParagraph, resolver,
                           resolverOwner);
}

int64_t GetItemCount(pugi::xml_node container) { return SiblingCount(container, SiblingWalk::Items); }
int64_t GetParagraphCount(pugi::xml_node container) { return SiblingCount(container, SiblingWalk::Paragraphs); }
int64_t GetTableCount(pugi::xml_node container) { return SiblingCount(container, SiblingWalk::Tables); }

namespace {

REALobject ViewOfItem(ContainerData* container, pugi::xml_node item) {
    if (!item) return nullptr;
    if (std::strcmp(item.name(), "w:tbl") == 0)
        return CreateTable(container->document, item, container->node);
    return CreateParagraph(container->document, item, container->node, container->textColorResolver,
                           container->resolverOwner);
}

}  // namespace

REALobject Container_ItemAt(ContainerData* container, int64_t index) {
    PositionCache& cache = DocumentCaches_Of(container->document).positions;
    return ViewOfItem(container, SiblingAt(container->node, SiblingWalk::Items, index, cache));
}

REALobject Container_ParagraphAt(ContainerData* container, int64_t index) {
    PositionCache& cache = DocumentCaches_Of(container->document).positions;
    return ViewOfItem(container, SiblingAt(container->node, SiblingWalk::Paragraphs, index, cache));
}

REALobject Container_TableAt(ContainerData* container, int64_t index) {
    PositionCache& cache = DocumentCaches_Of(container->document).positions;
    return ViewOfItem(container, SiblingAt(container->node, SiblingWalk::Tables, index, cache));
}

namespace {

// Whether a paragraph or table follows `node`, so that a child inserted
// before it moves an item others may have remembered.
bool ItemFollows(pugi::xml_node node) {
    for (pugi::xml_node n = node.next_sibling(); n; n = n.next_sibling())
        if (std::strcmp(n.name(), "w:p") == 0 || std::strcmp(n.name(), "w:tbl") == 0) return true;
    return false;
}

}  // namespace

pugi::xml_node Body_NewParagraphNode(REALobject document, pugi::xml_node body, pugi::xml_node before) {
    if (!before) return body.append_child("w:p");
    // Usually nothing follows the section properties, and the new
    // paragraph comes after every item: remembered places still hold.
    if (ItemFollows(before)) DocumentCaches_Invalidate(DocumentCaches_Of(document));
    return body.insert_child_before("w:p", before);
}

pugi::xml_node Container_NewParagraphNode(ContainerData* container) {
    if (container->kind == ContainerKindBody) {
        // The body's final section properties must stay its last child; a
        // body without them (they are optional) takes it at its end.
        return Body_NewParagraphNode(container->document, container->node, Body_FinalSectPr(container->node));
    }
    // A new text box's paragraph is there only to keep it valid: the first
    // paragraph put in the box is that one.
    if (pugi::xml_node placeholder = TextBox_Placeholder(container->node)) return placeholder;
    return container->node.append_child("w:p");
}

REALobject Container_FinishParagraph(REALobject document, pugi::xml_node paragraph,
                                     pugi::xml_node parentNode, TextColorResolver resolver,
                                     REALobject resolverOwner, std::string_view text) {
    // The run first: a view made before a failure would never be released.
    InternalAddRun(paragraph, text, std::nullopt, true);
    return CreateParagraph(document, paragraph, parentNode, resolver, resolverOwner);
}

// ---------------------------------------------------------------- members

namespace {

// A table cell's element: a cell taken out of the document (with its row
// or table) refuses every Container member (removed_tables.h). Other
// containers are not checked.
pugi::xml_node CellOf(REALobject instance) {
    pugi::xml_node node = ContainerData_Of(instance)->node;
    return std::strcmp(node.name(), "w:tc") == 0 ? node : pugi::xml_node();
}

template <auto F>
constexpr auto Live = &OnLiveNode<CellOf, F>::Call;

void ContainerDestructor(REALobject instance) {
    ContainerData* data = ContainerData_Of(instance);
    if (data->kind == ContainerKindOther && data->document) REALUnlockObject(data->document);
    if (data->resolverOwner) REALUnlockObject(data->resolverOwner);
    data->document = nullptr;
    data->resolverOwner = nullptr;
}

// Counts remembered with the document's places: a loop that tests one in
// its condition stays linear.
RBInteger CountOf(REALobject instance, SiblingWalk walk) {
    ContainerData* data = ContainerData_Of(instance);
    return SiblingCount(data->node, walk, DocumentCaches_Of(data->document).positions);
}
RBInteger ItemCount(REALobject instance, intptr_t) { return CountOf(instance, SiblingWalk::Items); }
RBInteger ParagraphCount(REALobject instance, intptr_t) { return CountOf(instance, SiblingWalk::Paragraphs); }
RBInteger TableCount(REALobject instance, intptr_t) { return CountOf(instance, SiblingWalk::Tables); }

REALobject AppendParagraph(REALobject instance, REALstring value) {
    std::string text;
    if (!StringToUTF8(value, text)) return nullptr;
    ContainerData* data = ContainerData_Of(instance);
    pugi::xml_node paragraph = Container_NewParagraphNode(data);
    if (!paragraph) return nullptr;
    return Container_FinishParagraph(data->document, paragraph, data->node, data->textColorResolver,
                                     data->resolverOwner, text);
}

REALobject Item(REALobject instance, RBInteger index) { return Container_ItemAt(ContainerData_Of(instance), index); }
REALobject Paragraph(REALobject instance, RBInteger index) {
    return Container_ParagraphAt(ContainerData_Of(instance), index);
}
REALobject Table(REALobject instance, RBInteger index) {
    return Container_TableAt(ContainerData_Of(instance), index);
}

void RemoveItem(REALobject instance, REALobject item) {
    if (!item) return;
    ContainerData* data = ContainerData_Of(instance);
    const DocumentItemData* itemData = DocumentItemData_Of(item);
    // An item of another container (or one removed before) stays where it is.
    if (itemData->node.parent() != data->node) return;
    // The pictures and links inside go with it, wherever they sit.
    Removal_Release(data->document, itemData->node);
    // What is remembered of the container's items is mended, not dropped,
    // so that a walk removing items as it goes stays linear; unless the
    // removal made room for another block (a paragraph between two tables
    // left touching, or one to end a cell).
    DocumentCaches& caches = DocumentCaches_Of(data->document);
    const pugi::xml_node block = itemData->node;
    const pugi::xml_node before = block.previous_sibling(), after = block.next_sibling();
    const pugi::xml_node last = data->node.last_child();
    SiblingRemovingBlock(data->node, block, caches.positions);
    Container_RemoveBlock(data->node, block);
    const bool onlyRemoved = (before ? before.next_sibling() == after : data->node.first_child() == after) &&
                             data->node.last_child() == (last == block ? before : last);
    if (!onlyRemoved) DocumentCaches_Invalidate(caches);
}

// For-each over the items, paragraphs or tables the container has now.
REALobject Items(REALobject instance) {
    return Iterator_New(&DocumentItemIteratorClass, instance, GetItemCount(ContainerData_Of(instance)->node), Item);
}
REALobject Paragraphs(REALobject instance) {
    return Iterator_New(&ParagraphIteratorClass, instance, GetParagraphCount(ContainerData_Of(instance)->node),
                        Paragraph);
}
REALobject Tables(REALobject instance) {
    return Iterator_New(&TableIteratorClass, instance, GetTableCount(ContainerData_Of(instance)->node), Table);
}

REALproperty ContainerProperties[] = {
    VEX_READONLY_PROPERTY("ItemCount", "Integer", Live<ItemCount>),
    VEX_READONLY_PROPERTY("ParagraphCount", "Integer", Live<ParagraphCount>),
    VEX_READONLY_PROPERTY("TableCount", "Integer", Live<TableCount>),
};

REALmethodDefinition ContainerMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(Live<AppendParagraph>, "AppendParagraph(value as String) as VexlomarWord.Paragraph"),
    VEX_METHOD(Live<AppendParagraphWithPicture>,
               "AppendParagraph(value as String, mediaType as VexlomarWord.PictureTypes, originalFileName as "
               "String, width as Integer, height as Integer) as VexlomarWord.Paragraph"),
    VEX_METHOD(Live<Item>, "Item(index as Integer) as VexlomarWord.DocumentItem"),
    VEX_METHOD(Live<Paragraph>, "Paragraph(index as Integer) as VexlomarWord.Paragraph"),
    VEX_METHOD(Live<Table>, "Table(index as Integer) as VexlomarWord.Table"),
    VEX_METHOD(Live<ContainerMembers::ApplyFieldData>, "ApplyFieldData(fieldName as String, data as String)"),
    VEX_METHOD(Live<RemoveItem>, "RemoveItem(item as VexlomarWord.DocumentItem)"),
    VEX_METHOD(Live<AppendTable>, "AppendTable(columnCount as Integer, rowCount as Integer) as VexlomarWord.Table"),
    VEX_METHOD(Live<Items>, "Items() as VexlomarWord.DocumentItemIterator"),
    VEX_METHOD(Live<Paragraphs>, "Paragraphs() as VexlomarWord.ParagraphIterator"),
    VEX_METHOD(Live<Tables>, "Tables() as VexlomarWord.TableIterator"),
};

}  // namespace

REALclassDefinition ContainerClass =
    ClassDefinition("Container", "", sizeof(ContainerData), nullptr, ContainerDestructor, ContainerProperties,
                    VEX_COUNT(ContainerProperties), ContainerMethods, VEX_COUNT(ContainerMethods));
