#include "drawing/drawing_container.h"

#include <cstring>
#include <string>

#include "document/document_data.h"
#include "package/package_paths.h"
#include "package/relationships.h"

namespace {

const char kPictureNamespace[] = "http://schemas.openxmlformats.org/drawingml/2006/picture";

// Drops one relationship of the picture and what it points to.
void DeleteImageRelationship(REALobject document, const char* relId, Word::HeaderFooterPart* part) {
    DocumentData* data = DocumentData_Of(document);
    Word::Document& doc = *data->wordDocument;
    bool found = false;
    const std::string target = Rel_TargetFromID(doc, relId, found, part).value();
    if (!found) return;
    Rel_DeleteID(doc, relId, part);
    // A picture added since the last save is only in the pending list; one
    // from the file must be left out of the next save.
    if (!RemoveIfHasImageToBeAdded(data, relId)) data->deletedFiles.push_back(PackagePath_Resolve(Rel_PartName(part), target));
}

}  // namespace

pugi::xml_node DrawingContainer_PicNode(const DrawingContainer& c) {
    pugi::xml_node graphicData = c.drawing.child("wp:inline").child("a:graphic").child("a:graphicData");
    if (std::strcmp(graphicData.attribute("uri").value(), kPictureNamespace) != 0) return {};
    return graphicData.child("pic:pic");
}

pugi::xml_node DrawingContainer_GetBlipNode(const DrawingContainer& c, bool& found) {
    pugi::xml_node blip = DrawingContainer_PicNode(c).child("pic:blipFill").child("a:blip");
    found = static_cast<bool>(blip);
    return blip;
}

pugi::xml_node DrawingContainer_GetSvgBlipNode(const DrawingContainer& c) {
    bool found = false;
    pugi::xml_node blip = DrawingContainer_GetBlipNode(c, found);
    if (!found) return {};
    pugi::xml_node ext = blip.child("a:extLst").child("a:ext");
    if (!ext) return {};
    for (ext = ext.next_sibling("a:ext"); ext; ext = ext.next_sibling("a:ext"))
        if (pugi::xml_node svg = ext.child("asvg:svgBlip")) return svg;
    return {};
}

void Drawing_Delete(REALobject document, const DrawingContainer& c) {
    bool found = false;
    pugi::xml_node blip = DrawingContainer_GetBlipNode(c, found);
    if (!found) return;
    // A picture in a header or footer is related from that part.
    Word::HeaderFooterPart* part = DocumentData_Of(document)->wordDocument->PartOfNode(blip);
    DeleteImageRelationship(document, blip.attribute("r:embed").value(), part);
    if (pugi::xml_node svg = DrawingContainer_GetSvgBlipNode(c))
        DeleteImageRelationship(document, svg.attribute("r:embed").value(), part);
}

void Run_Delete(REALobject document, pugi::xml_node run) {
    if (pugi::xml_node drawing = run.child("w:drawing")) Drawing_Delete(document, DrawingContainer{run, drawing});
}
