// The host class DocumentItem: what paragraphs and tables share, above all
// inserting new paragraphs, page breaks and section breaks next to them.
#include <string>

#include "content/container.h"
#include "content/document_caches.h"
#include "format/section_breaks.h"
#include "host/class_tables.h"
#include "host/exceptions.h"
#include "host/strings.h"
#include "tables/removed_tables.h"

namespace {

// A table's element: a table taken out of the document refuses these
// members as it does its own (removed_tables.h). Paragraphs are not
// checked.
pugi::xml_node TableOf(REALobject instance) {
    const DocumentItemData* data = DocumentItemData_Of(instance);
    return data->kind == DocumentItemKindTable ? data->node : pugi::xml_node();
}

template <auto F>
constexpr auto Live = &OnLiveNode<TableOf, F>::Call;

void DocumentItemDestructor(REALobject instance) {
    DocumentItemData* data = DocumentItemData_Of(instance);
    if (data->document) REALUnlockObject(data->document);
    if (data->resolverOwner) REALUnlockObject(data->resolverOwner);
    data->document = nullptr;
    data->resolverOwner = nullptr;
}

// A new empty w:p right before or after the item, in whatever container
// holds it (no section-properties rule: that is the body's append only).
// Empty when the item is no longer a child of its container.
pugi::xml_node NewParagraphNextTo(DocumentItemData* data, bool after) {
    pugi::xml_node paragraph = after ? data->parentNode.insert_child_after("w:p", data->node)
                                     : data->parentNode.insert_child_before("w:p", data->node);
    if (paragraph) DocumentCaches_Invalidate(DocumentCaches_Of(data->document));
    return paragraph;
}

REALobject InsertParagraph(REALobject instance, REALstring value, bool after) {
    std::string text;
    if (!StringToUTF8(value, text)) return nullptr;
    DocumentItemData* data = DocumentItemData_Of(instance);
    pugi::xml_node paragraph = NewParagraphNextTo(data, after);
    if (!paragraph) return nullptr;
    return Container_FinishParagraph(data->document, paragraph, data->parentNode, data->textColorResolver,
                                     data->resolverOwner, text);
}

REALobject InsertParagraphBefore(REALobject instance, REALstring value) {
    return InsertParagraph(instance, value, false);
}
REALobject InsertParagraphAfter(REALobject instance, REALstring value) {
    return InsertParagraph(instance, value, true);
}

// A page-break paragraph right before or after the item.
void InsertPageBreak(REALobject instance, bool after) {
    if (pugi::xml_node paragraph = NewParagraphNextTo(DocumentItemData_Of(instance), after))
        Paragraph_MakePageBreak(paragraph);
}

void InserPageBreakBefore(REALobject instance) { InsertPageBreak(instance, false); }
void InserPageBreakAfter(REALobject instance) { InsertPageBreak(instance, true); }

// Paragraphs and tables register their own.
void ApplyFieldData(REALobject, REALstring, REALstring) {}

// Sections end only in the body: a paragraph ending one inside a cell,
// header or text box would be ignored by readers, or the part refused.
void InsertSectionBreak(REALobject instance, RBInteger type, bool after) {
    DocumentItemData* data = DocumentItemData_Of(instance);
    if (!Node_IsDocumentBody(data->parentNode)) {
        ThrowWordException(kSectionBreakOutsideBodyMessage, kSectionBreakOutsideBodyNumber);
        return;
    }
    if (SectionBreak_InsertNextTo(data->parentNode, data->node, after, type))
        DocumentCaches_Invalidate(DocumentCaches_Of(data->document));
}

void InsertSectionBreakBefore(REALobject instance, RBInteger type) { InsertSectionBreak(instance, type, false); }
void InsertSectionBreakAfter(REALobject instance, RBInteger type) { InsertSectionBreak(instance, type, true); }

REALmethodDefinition DocumentItemMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(Live<InsertParagraphBefore>, "InsertParagraphBefore(value as String) as VexlomarWord.Paragraph"),
    VEX_METHOD(Live<InsertParagraphAfter>, "InsertParagraphAfter(value as String) as VexlomarWord.Paragraph"),
    VEX_METHOD(Live<InserPageBreakBefore>, "InserPageBreakBefore()"),
    VEX_METHOD(Live<InserPageBreakAfter>, "InserPageBreakAfter()"),
    VEX_METHOD(Live<ApplyFieldData>, "ApplyFieldData(fieldName as String, data as String)"),
    VEX_METHOD(Live<InsertSectionBreakBefore>, "InsertSectionBreakBefore(breakType as VexlomarWord.SectionBreakTypes)"),
    VEX_METHOD(Live<InsertSectionBreakAfter>, "InsertSectionBreakAfter(breakType as VexlomarWord.SectionBreakTypes)"),
};

}  // namespace

REALclassDefinition DocumentItemClass =
    ClassDefinition("DocumentItem", "", sizeof(DocumentItemData), nullptr, DocumentItemDestructor, nullptr, 0,
                    DocumentItemMethods, VEX_COUNT(DocumentItemMethods));
