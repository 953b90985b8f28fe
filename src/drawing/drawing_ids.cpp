#include "drawing/drawing_ids.h"

#include <cstring>
#include <unordered_set>

#include "content/document_caches.h"
#include "document/document_data.h"
#include "package/document.h"
#include "package/random.h"

namespace {

struct DocPrCollector : pugi::xml_tree_walker {
    std::unordered_set<int64_t>* ids;
    bool for_each(pugi::xml_node& node) override {
        if (std::strcmp(node.name(), "wp:docPr") == 0) ids->insert(node.attribute("id").as_llong(-1));
        return true;
    }
};

void CollectDrawingIds(const pugi::xml_document& part, std::unordered_set<int64_t>& ids) {
    DocPrCollector collector;
    collector.ids = &ids;
    pugi::xml_node root = part.document_element();
    root.traverse(collector);
}

}  // namespace

int64_t Document_NextDrawingId(REALobject document) {
    DocumentCaches& caches = DocumentCaches_Of(document);
    std::unordered_set<int64_t>& used = caches.drawingIds;
    if (!caches.drawingIdsKnown) {
        const Word::Document& doc = *DocumentData_Of(document)->wordDocument;
        CollectDrawingIds(doc.documentXml, used);
        for (const Word::HeaderFooterList* list : {&doc.headers, &doc.footers})
            for (const Word::HeaderFooterPart* part = list->head; part; part = part->next)
                CollectDrawingIds(part->xml, used);
        caches.drawingIdsKnown = true;
    }
    for (;;) {
        const int64_t id = Document_Random(1, 134217726);
        if (used.insert(id).second) return id;
    }
}
