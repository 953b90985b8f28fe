// The host class Hyperlink: its runs, its address, tooltip and kind.
#include <string>

#include "content/document_caches.h"
#include "content/hyperlink_view.h"
#include "content/hyperlinks.h"
#include "content/iterators.h"
#include "content/paragraph_item.h"
#include "content/removed_elements.h"
#include "content/run_text.h"
#include "content/sibling_walk.h"
#include "document/document_data.h"
#include "format/xml_helpers.h"
#include "host/class_tables.h"
#include "package/discarded_nodes.h"
#include "host/strings.h"

REALobject CreateHyperlink(REALobject document, pugi::xml_node node, pugi::xml_node paragraph) {
    return NewParagraphItem(&HyperlinkClass, document, node, paragraph, ParagraphItemKindHyperlink, nullptr,
                            nullptr);
}

namespace {

const ParagraphItemData* DataOf(REALobject instance) { return ParagraphItemData_Of(instance); }
pugi::xml_node NodeOf(REALobject instance) { return DataOf(instance)->node; }
Word::Document& WordDocumentOf(REALobject instance) {
    return *DocumentData_Of(DataOf(instance)->document)->wordDocument;
}

// A run of this hyperlink; runs inside a hyperlink are never part of a
// field the paragraph could detect.
REALobject RunView(REALobject instance, pugi::xml_node run) {
    if (!run) return nullptr;
    return CreateRun(DataOf(instance)->document, run, NodeOf(instance), nullptr, nullptr, false);
}

RBInteger GetRunCount(REALobject instance, intptr_t) {
    RBInteger count = 0;
    for (pugi::xml_node run = NodeOf(instance).child("w:r"); run; run = run.next_sibling("w:r")) ++count;
    return count;
}

REALstring GetAddress(REALobject instance, intptr_t) {
    return UTF8ToString(Hyperlink_GetAddress(WordDocumentOf(instance), NodeOf(instance)));
}
void SetAddress(REALobject instance, intptr_t, REALstring value) {
    std::string text;
    if (!StringToUTF8(value, text)) return;
    Hyperlink_SetAddress(WordDocumentOf(instance), NodeOf(instance), text);
}

REALstring GetTooltip(REALobject instance, intptr_t) {
    return UTF8ToString(NodeOf(instance).attribute("w:tooltip").value());
}
void SetTooltip(REALobject instance, intptr_t, REALstring value) {
    std::string text;
    if (!StringToUTF8(value, text)) return;
    WriteAttribute(NodeOf(instance), "w:tooltip", text, value != nullptr);
}

RBBoolean GetLinkToAnchor(REALobject instance, intptr_t) { return Hyperlink_IsAnchorLink(NodeOf(instance)); }
void SetLinkToAnchor(REALobject instance, intptr_t, RBBoolean value) {
    Hyperlink_SetLinkToAnchor(WordDocumentOf(instance), NodeOf(instance), value);
}

// Through the document's remembered places, as a paragraph's runs: a walk
// over a long hyperlink's runs stays linear.
REALobject Run(REALobject instance, RBInteger index) {
    PositionCache& cache = DocumentCaches_Of(DataOf(instance)->document).positions;
    return RunView(instance, SiblingAt(NodeOf(instance), SiblingWalk::Runs, index, cache));
}

void RemoveRun(REALobject instance, REALobject run) {
    if (!run) return;
    pugi::xml_node node = ParagraphItemData_Of(run)->node;
    pugi::xml_node hyperlink = NodeOf(instance);
    // Only a run that is really taken out gives up its picture.
    if (node.parent() != hyperlink) return;
    Removal_Release(DataOf(instance)->document, node);
    // The host may keep the run's view: it is discarded, not freed.
    Xml_Discard(node);
    DocumentCaches_Invalidate(DocumentCaches_Of(DataOf(instance)->document));
}

REALobject AppendRun(REALobject instance, REALstring value) {
    std::string text;
    if (!StringToUTF8(value, text)) return nullptr;
    pugi::xml_node run = InternalAddRun(NodeOf(instance), text, kHyperlinkStyleId, false);
    if (!run) return nullptr;
    Hyperlink_EnsureStyle(WordDocumentOf(instance));
    return RunView(instance, run);
}

// For-each over the runs the hyperlink has now.
REALobject Runs(REALobject instance) {
    return Iterator_New(&RunIteratorClass, instance, GetRunCount(instance, 0), Run);
}

REALproperty HyperlinkProperties[] = {
    VEX_READONLY_PROPERTY("RunCount", "Integer", GetRunCount),
    VEX_PROPERTY("Address", "String", GetAddress, SetAddress),
    VEX_PROPERTY("Tooltip", "String", GetTooltip, SetTooltip),
    VEX_PROPERTY("LinkToAnchor", "Boolean", GetLinkToAnchor, SetLinkToAnchor),
};

REALmethodDefinition HyperlinkMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(Run, "Run(index as Integer) as VexlomarWord.Run"),
    VEX_METHOD(RemoveRun, "RemoveRun(r as VexlomarWord.Run)"),
    VEX_METHOD(AppendRun, "AppendRun(value as String) as VexlomarWord.Run"),
    VEX_METHOD(Runs, "Runs() as VexlomarWord.RunIterator"),
};

}  // namespace

// The ParagraphItem destructor releases the record; nothing of its own.
REALclassDefinition HyperlinkClass =
    ClassDefinition("Hyperlink", "ParagraphItem", 0, nullptr, nullptr, HyperlinkProperties,
                    VEX_COUNT(HyperlinkProperties), HyperlinkMethods, VEX_COUNT(HyperlinkMethods));
