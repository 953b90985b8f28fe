// The host class ParagraphItem: what runs and hyperlinks share, their record
// and the paragraph that holds them.
#include <cstring>

#include "content/complex_runs.h"
#include "content/container.h"
#include "content/hyperlink_view.h"
#include "content/paragraph_item.h"
#include "host/class_tables.h"

REALobject NewParagraphItem(REALclassDefinition* cls, REALobject document, pugi::xml_node node,
                            pugi::xml_node parentNode, int32_t kind, TextColorResolver resolver,
                            REALobject resolverOwner) {
    REALobject item = REALnewInstanceOfClass(cls);
    if (!item) return nullptr;
    ItemRecord_Fill(ParagraphItemData_Of(item), document, parentNode, node, kind, resolver, resolverOwner);
    return item;
}

REALobject CreateParagraphItem(REALobject document, pugi::xml_node node, pugi::xml_node paragraph,
                               TextColorResolver resolver, REALobject resolverOwner) {
    if (!node) return nullptr;
    if (std::strcmp(node.name(), "w:r") == 0)
        return CreateRun(document, node, paragraph, resolver, resolverOwner, true);
    return CreateHyperlink(document, node, paragraph);
}

namespace {

void ParagraphItemDestructor(REALobject instance) {
    ParagraphItemData* data = ParagraphItemData_Of(instance);
    delete data->complexParts;
    data->complexParts = nullptr;
    if (data->document) REALUnlockObject(data->document);
    if (data->resolverOwner) REALUnlockObject(data->resolverOwner);
    data->document = nullptr;
    data->resolverOwner = nullptr;
}

// Only an item placed directly in a paragraph has an owner; a run inside a
// hyperlink (or a removed one) has none.
REALobject GetOwnerParagraph(REALobject instance, intptr_t) {
    const ParagraphItemData* data = ParagraphItemData_Of(instance);
    pugi::xml_node paragraph = data->node.parent();
    if (std::strcmp(paragraph.name(), "w:p") != 0) return nullptr;
    return CreateParagraph(data->document, paragraph, paragraph.parent(), data->textColorResolver,
                           data->resolverOwner);
}

REALproperty ParagraphItemProperties[] = {
    VEX_READONLY_PROPERTY("OwnerParagraph", "VexlomarWord.Paragraph", GetOwnerParagraph),
};

REALmethodDefinition ParagraphItemMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

}  // namespace

REALclassDefinition ParagraphItemClass = ClassDefinition(
    "ParagraphItem", "", sizeof(ParagraphItemData), nullptr, ParagraphItemDestructor, ParagraphItemProperties,
    VEX_COUNT(ParagraphItemProperties), ParagraphItemMethods, VEX_COUNT(ParagraphItemMethods));
