#include "drawing/drawing_ids.h"

#include <cstring>
#include <unordered_set>

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

int64_t Document_NextDrawingId(const Word::Document& document) {
    std::unordered_set<int64_t> used;
    CollectDrawingIds(document.documentXml, used);
    for (const Word::HeaderFooterList* list : {&document.headers, &document.footers})
        for (const Word::HeaderFooterPart* part = list->head; part; part = part->next)
            CollectDrawingIds(part->xml, used);
    for (;;) {
        const int64_t id = Document_Random(1, 134217726);
        if (!used.count(id)) return id;
    }
}
