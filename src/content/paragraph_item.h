// Paragraph items (runs and hyperlinks): their views, and how runs are made.
#pragma once

#include <vector>

#include <pugixml.hpp>

#include "content/records.h"
#include "host/bridge.h"

extern REALclassDefinition ParagraphItemClass;
extern REALclassDefinition RunClass;

inline ParagraphItemData* ParagraphItemData_Of(REALobject item) {
    return static_cast<ParagraphItemData*>(REALGetClassData(item, &ParagraphItemClass));
}

// A new view of class `cls` (Run or a hyperlink's class) over a
// ParagraphItemData: counts the document, and the resolver pair only when
// resolverOwner is given.
REALobject NewParagraphItem(REALclassDefinition* cls, REALobject document, pugi::xml_node node,
                            pugi::xml_node parentNode, int32_t kind, TextColorResolver resolver,
                            REALobject resolverOwner);
// A new Run view on `node`, held in `parentNode` (the w:p, or a w:hyperlink).
// Counts the document, and the resolver pair only when resolverOwner is
// given. With detectComplex the run learns the runs of the field it belongs
// to; callers that made the run themselves, or know its parts, pass false.
REALobject CreateRun(REALobject document, pugi::xml_node node, pugi::xml_node parentNode,
                     TextColorResolver resolver, REALobject resolverOwner, bool detectComplex);
// Gives a run view the runs of its field, begin to end.
void Run_SetComplexParts(REALobject run, std::vector<pugi::xml_node> parts);

// The view of a paragraph item found by walking `paragraph`: a Run (with
// complex-field detection and the resolver pair) for w:r, a hyperlink view
// for w:hyperlink; nil for an empty handle.
REALobject CreateParagraphItem(REALobject document, pugi::xml_node node, pugi::xml_node paragraph,
                               TextColorResolver resolver, REALobject resolverOwner);

// The run whose content Text reads and writes: for a run of a field the
// field's result run, otherwise the run itself.
pugi::xml_node Run_TextNode(const ParagraphItemData* run);
// What run-wide changes apply to: every run of the field, or the run itself.
std::vector<pugi::xml_node> Run_EveryPart(const ParagraphItemData* run);
