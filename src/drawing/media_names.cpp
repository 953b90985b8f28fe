#include "drawing/media_names.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "content/document_caches.h"
#include "document/document_data.h"
#include "package/archive.h"
#include "package/package_paths.h"
#include "package/relationships.h"

namespace {

const char kMediaPrefix[] = "word/media/";
const char kImagePrefix[] = "word/media/image";

void CollectTargets(const pugi::xml_document& rels, const std::string& partName,
                    std::unordered_set<std::string>& names) {
    for (pugi::xml_node rel : rels.document_element().children("Relationship")) {
        if (std::strcmp(rel.attribute("TargetMode").value(), "External") == 0) continue;
        const std::string entry = PackagePath_Resolve(partName, rel.attribute("Target").value());
        if (!entry.empty()) names.insert(PackagePath_Key(entry));
    }
}

// N of a key "word/media/imageN.ext"; 0 for any other name.
long long ImageNumber(const std::string& key) {
    const size_t prefix = sizeof kImagePrefix - 1;
    if (key.compare(0, prefix, kImagePrefix) != 0) return 0;
    const size_t dot = key.rfind('.');
    if (dot == std::string::npos || dot <= prefix) return 0;
    long long n = 0;
    for (size_t i = prefix; i < dot; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(key[i]))) return 0;
        if (n < 100000000000000LL) n = n * 10 + (key[i] - '0');
    }
    return n;
}

}  // namespace

void MediaNames_Collect(const Word::Document& document, const ImagesToBeAdded& pending,
                        std::unordered_set<std::string>& names) {
    if (Zip::Archive* archive = Zip::zip_open_bytes(document.sourceBytes)) {
        const ssize_t count = Zip::zip_total_entries(archive);
        for (ssize_t i = 0; i < count; ++i) {
            if (Zip::zip_entry_openbyindex(archive, static_cast<size_t>(i)) != 0) continue;
            names.insert(PackagePath_Key(Zip::zip_entry_name(archive)));
            Zip::zip_entry_close(archive);
        }
        Zip::zip_close(archive);
    }
    CollectTargets(document.relsXml, Rel_PartName(document, nullptr), names);
    for (const Word::HeaderFooterList* list : {&document.headers, &document.footers})
        for (Word::HeaderFooterPart* part = list->head; part; part = part->next)
            CollectTargets(part->relsXml, part->partName, names);
    for (const ImageToBeAdded* image = pending.head; image; image = image->next)
        names.insert(PackagePath_Key(kMediaPrefix + image->fileName));
}

std::string Document_NewMediaName(REALobject document, const char* extension) {
    DocumentCaches& caches = DocumentCaches_Of(document);
    if (!caches.mediaNamesKnown) {
        const DocumentData* data = DocumentData_Of(document);
        MediaNames_Collect(*data->wordDocument, data->pendingImages, caches.mediaNamesInUse);
        for (const std::string& key : caches.mediaNamesInUse)
            caches.nextImageNumber = std::max(caches.nextImageNumber, ImageNumber(key) + 1);
        caches.mediaNamesKnown = true;
    }
    for (;;) {
        const std::string name = "image" + std::to_string(caches.nextImageNumber++) + extension;
        if (caches.mediaNamesInUse.insert(PackagePath_Key(kMediaPrefix + name)).second) return name;
    }
}
