// Instance records of the body-content classes. Each is this class's part of
// a host object, reached with REALGetClassData; host memory starts zeroed,
// and node handles are held by value (an empty handle is a missing element).
#pragma once

#include <cstdint>
#include <vector>

#include <pugixml.hpp>

#include "format/run_properties.h"
#include "host/bridge.h"
#include "host/plugin_sdk.h"

struct ComplexParts;

// Container, and so Document, Header, Footer, TableCell, ShapeContainer.
struct ContainerData {
    int32_t kind;                  // 1: the document's own body; 0: any other container
    REALobject document;           // counted for kind 0; the object itself, uncounted, for kind 1
    pugi::xml_node node;           // w:body, w:hdr, w:ftr, w:tc or w:txbxContent
    TextColorResolver textColorResolver;
    REALobject resolverOwner;      // counted when present
};

enum : int32_t { ContainerKindOther = 0, ContainerKindBody = 1 };

// DocumentItem, and so Paragraph and Table.
struct DocumentItemData {
    REALobject document;           // counted
    pugi::xml_node parentNode;     // the container element holding the item
    pugi::xml_node node;           // w:p or w:tbl
    int32_t kind;                  // 1: paragraph, 0: table
    TextColorResolver textColorResolver;
    REALobject resolverOwner;      // counted when present
};

enum : int32_t { DocumentItemKindTable = 0, DocumentItemKindParagraph = 1 };

// ParagraphItem, and so Run and Hyperlink.
struct ParagraphItemData {
    REALobject document;           // counted
    pugi::xml_node parentNode;     // w:p, or w:hyperlink for a hyperlink's runs
    pugi::xml_node node;           // w:r or w:hyperlink
    int32_t kind;                  // 0: run, 1: hyperlink
    TextColorResolver textColorResolver;
    REALobject resolverOwner;      // counted when present
    ComplexParts* complexParts;    // owned; the field's runs, begin to end; null outside a field
};

enum : int32_t { ParagraphItemKindRun = 0, ParagraphItemKindHyperlink = 1 };

// Fills what the records of document items and paragraph items share:
// counts the document, and keeps (and counts) the resolver pair only when an
// owner is given.
template <class Record>
void ItemRecord_Fill(Record* data, REALobject document, pugi::xml_node parentNode, pugi::xml_node node,
                     int32_t kind, TextColorResolver resolver, REALobject resolverOwner) {
    REALLockObject(document);
    data->document = document;
    data->parentNode = parentNode;
    data->node = node;
    data->kind = kind;
    if (resolverOwner) {
        REALLockObject(resolverOwner);
        data->textColorResolver = resolver;
        data->resolverOwner = resolverOwner;
    }
}
