#include "drawing/picture_media.h"

#include <cstring>

#include "document/document_data.h"
#include "package/package_paths.h"
#include "package/relationship_targets.h"
#include "package/relationships.h"

std::string PictureMedia_Entry(Word::Document& document, Word::HeaderFooterPart* part, const char* relId,
                               bool& found) {
    pugi::xml_node rel = Rel_FromID(document, relId, part);
    found = static_cast<bool>(rel);
    if (!found || std::strcmp(rel.attribute("TargetMode").value(), "External") == 0) return std::string();
    return PackagePath_Resolve(Rel_PartName(document, part), rel.attribute("Target").value());
}

Word::open_result_code PictureMedia_Read(REALobject document, Word::HeaderFooterPart* part, const char* relId,
                                         REALstring* out) {
    *out = nullptr;
    DocumentData* data = DocumentData_Of(document);
    bool found = false;
    const std::string entry = PictureMedia_Entry(*data->wordDocument, part, relId, found);
    // A linked picture (external target) has no bytes in the package.
    if (!found || entry.empty()) return Word::success;
    if ((*out = GetDataFromImageToBeAddedByEntry(data->pendingImages, entry))) return Word::success;
    return data->wordDocument->GetFileData(entry.c_str(), out);
}

void PictureMedia_Release(REALobject document, Word::HeaderFooterPart* part, const char* relId) {
    DocumentData* data = DocumentData_Of(document);
    Word::Document& doc = *data->wordDocument;
    bool found = false;
    const std::string entry = PictureMedia_Entry(doc, part, relId, found);
    if (!found) return;
    Rel_DeleteID(doc, relId, part);
    // The media entry stays while any part still relates it.
    if (entry.empty() || RelTargets_Count(doc, entry) > 0) return;
    // A picture added since the last save is only in the pending list; one
    // from the file must be left out of the next save.
    if (!RemoveImageToBeAddedByEntry(data->pendingImages, entry)) data->deletedFiles.push_back(entry);
}
