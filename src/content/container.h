// Containers (the document body, headers, footers, table cells, text
// boxes) and their items (paragraphs and tables).
#pragma once

#include <cstdint>
#include <string_view>

#include <pugixml.hpp>

#include "content/records.h"
#include "host/bridge.h"

extern REALclassDefinition ContainerClass;
extern REALclassDefinition DocumentItemClass;
extern REALclassDefinition ParagraphClass;

inline ContainerData* ContainerData_Of(REALobject container) {
    return static_cast<ContainerData*>(REALGetClassData(container, &ContainerClass));
}
inline DocumentItemData* DocumentItemData_Of(REALobject item) {
    return static_cast<DocumentItemData*>(REALGetClassData(item, &DocumentItemClass));
}

// Makes the document object the container of its own body: kind 1, and no
// count on itself.
void Container_InitBody(REALobject document, pugi::xml_node body);
// Sets up a container of kind 0 (header, footer, cell, text box): counts
// the document and, when present, the resolver's owner.
void Container_Init(REALobject container, REALobject document, pugi::xml_node node,
                    TextColorResolver resolver, REALobject resolverOwner);

// A new view of class `cls` (Paragraph or Table) over a DocumentItemData:
// counts the document, and the resolver pair only when resolverOwner is
// given.
REALobject NewDocumentItem(REALclassDefinition* cls, REALobject document, pugi::xml_node node,
                           pugi::xml_node parentNode, int32_t kind, TextColorResolver resolver,
                           REALobject resolverOwner);
// A new Paragraph view; counts the document, and the resolver pair only
// when resolverOwner is given.
REALobject CreateParagraph(REALobject document, pugi::xml_node node, pugi::xml_node parentNode,
                           TextColorResolver resolver, REALobject resolverOwner);
// A new Table view (no resolver pair).
REALobject CreateTable(REALobject document, pugi::xml_node node, pugi::xml_node parentNode);

int64_t GetItemCount(pugi::xml_node container);
int64_t GetParagraphCount(pugi::xml_node container);
int64_t GetTableCount(pugi::xml_node container);
// The view of the index-th item, paragraph or table; nil out of range.
REALobject Container_ItemAt(ContainerData* container, int64_t index);
REALobject Container_ParagraphAt(ContainerData* container, int64_t index);
REALobject Container_TableAt(ContainerData* container, int64_t index);

// A new w:p before the body's final w:sectPr (kind 1) or at the end of the
// container (kind 0). Empty (with the WordException raised) when the body
// has no w:sectPr.
pugi::xml_node Container_NewParagraphNode(ContainerData* container);
// A new w:p in the document's body right before `before` (its final
// w:sectPr), or at its end when `before` is empty. The document's remembered
// places are dropped only when an item follows the new paragraph.
pugi::xml_node Body_NewParagraphNode(REALobject document, pugi::xml_node body, pugi::xml_node before);
// Fills a new paragraph with one run of `text` and returns its view.
REALobject Container_FinishParagraph(REALobject document, pugi::xml_node paragraph,
                                     pugi::xml_node parentNode, TextColorResolver resolver,
                                     REALobject resolverOwner, std::string_view text);
