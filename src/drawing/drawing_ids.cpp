#include "drawing/drawing_ids.h"

#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "content/document_caches.h"
#include "document/document_data.h"
#include "package/discarded_nodes.h"

namespace {

// Ids are xsd:unsignedInt, but readers keep them in signed 32-bit numbers.
constexpr int64_t kLargestId = 0x7FFFFFFF;

// The highest id under root; every id also goes into `used` when given.
void HighestIn(pugi::xml_node root, int64_t& highest, std::unordered_set<int64_t>* used = nullptr) {
    // Explicit stack: documents from other tools may nest deeply.
    std::vector<pugi::xml_node> pending{root};
    while (!pending.empty()) {
        pugi::xml_node node = pending.back();
        pending.pop_back();
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element || Xml_IsDiscardHolder(child)) continue;
            if (std::strcmp(child.name(), "wp:docPr") == 0) {
                const char* text = child.attribute("id").value();
                char* end = nullptr;
                const long long id = std::strtoll(text, &end, 10);
                if (end != text && id > highest) highest = id;
                if (end != text && used) used->insert(id);
            }
            pending.push_back(child);
        }
    }
}

}  // namespace

int64_t Document_HighestDrawingId(const Word::Document& document) {
    int64_t highest = 0;
    HighestIn(document.documentXml, highest);
    for (const Word::HeaderFooterList* list : {&document.headers, &document.footers})
        for (Word::HeaderFooterPart* part = list->head; part; part = part->next) HighestIn(part->xml, highest);
    return highest;
}

int64_t Document_NextDrawingId(REALobject document) {
    DocumentCaches& caches = DocumentCaches_Of(document);
    if (caches.highestDrawingId < 0)
        caches.highestDrawingId = Document_HighestDrawingId(*DocumentData_Of(document)->wordDocument);
    if (caches.highestDrawingId < kLargestId) return ++caches.highestDrawingId;
    // A document whose ids already reach the top: the lowest id no drawing
    // uses (a slow walk, but only for such documents).
    const Word::Document& doc = *DocumentData_Of(document)->wordDocument;
    std::unordered_set<int64_t> used;
    int64_t highest = 0;
    HighestIn(doc.documentXml, highest, &used);
    for (const Word::HeaderFooterList* list : {&doc.headers, &doc.footers})
        for (Word::HeaderFooterPart* part = list->head; part; part = part->next) HighestIn(part->xml, highest, &used);
    int64_t id = 1;
    while (used.count(id)) ++id;
    return id;
}
