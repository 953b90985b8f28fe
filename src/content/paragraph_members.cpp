// The host class Paragraph: the view of one w:p.
#include "content/container.h"
#include "content/paragraph_text.h"
#include "host/class_tables.h"
#include "host/strings.h"

namespace {

// The DocumentItem destructor releases the record; nothing of its own.
void ParagraphInitializer(REALobject) {}
void ParagraphDestructor(REALobject) {}

pugi::xml_node NodeOf(REALobject instance) { return DocumentItemData_Of(instance)->node; }

REALstring GetText(REALobject instance, intptr_t) { return UTF8ToString(Paragraph_GetText(NodeOf(instance))); }

REALproperty ParagraphProperties[] = {
    VEX_READONLY_PROPERTY("Text", "String", GetText),
};

REALmethodDefinition ParagraphMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

}  // namespace

REALclassDefinition ParagraphClass = {
    kREALPluginVersion,
    "Paragraph",
    "VexlomarWord.DocumentItem",
    0,
    0,
    ParagraphInitializer,
    ParagraphDestructor,
    ParagraphProperties,
    VEX_COUNT(ParagraphProperties),
    ParagraphMethods,
    VEX_COUNT(ParagraphMethods),
    nullptr,
    0,
    "",
    nullptr,
    0,
    REALclassFlagPublic,
    nullptr,
    0,
    nullptr,
    0,
};
