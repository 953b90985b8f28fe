#include "drawing/picture_run.h"

#include <cstring>

#include "document/document_data.h"
#include "drawing/drawing_ids.h"
#include "drawing/image_size.h"
#include "drawing/image_stream.h"
#include "drawing/media_names.h"
#include "format/xml_namespaces.h"
#include "package/content_types.h"
#include "package/relationship_uses.h"
#include "package/relationships.h"

namespace {

const char kDrawingMainNamespace[] = "http://schemas.openxmlformats.org/drawingml/2006/main";
const char kPictureNamespace[] = "http://schemas.openxmlformats.org/drawingml/2006/picture";
const char kDrawing2010Namespace[] = "http://schemas.microsoft.com/office/drawing/2010/main";
const char kLocalDpiExtension[] = "{28A0092B-C50C-407E-A947-70E740481C1C}";

constexpr int64_t kEmuPerPixel = 914400 / 96;

void AppendNonVisual(pugi::xml_node node, const char* name, int64_t id, const std::string& title) {
    pugi::xml_node element = node.append_child(name);
    element.append_attribute("id") = static_cast<long long>(id);
    element.append_attribute("name") = title.c_str();
}

void AppendExtent(pugi::xml_node parent, const char* name, int64_t cx, int64_t cy) {
    pugi::xml_node extent = parent.append_child(name);
    extent.append_attribute("cx") = static_cast<long long>(cx);
    extent.append_attribute("cy") = static_cast<long long>(cy);
}

}  // namespace

bool Picture_Check(std::string_view bytes, PictureKind kind, int64_t width, int64_t height, std::string& message,
                   RBInteger& errorNumber) {
    if (width <= 0 || height <= 0 || width > kLargestPictureSide || height > kLargestPictureSide) {
        message = "Picture width and height must be from 1 to " + std::to_string(kLargestPictureSide) + " pixels";
        errorNumber = kPictureSizeErrorNumber;
        return false;
    }
    ImageSize size;
    const ImageFormat format = kind == PictureKind::Jpeg ? ImageFormat::Jpeg : ImageFormat::Png;
    // Readers that draw the picture leave out one that is not whole, so the
    // header is not enough.
    if (!ImageSize_Read(bytes, format, size, message) || !ImageStream_Check(bytes, format, message)) {
        errorNumber = kPictureDataErrorNumber;
        return false;
    }
    return true;
}

pugi::xml_node Paragraph_AppendPicture(REALobject document, pugi::xml_node paragraph, REALstring bytes,
                                       PictureKind kind, const std::string& name, int64_t width, int64_t height) {
    DocumentData* data = DocumentData_Of(document);
    Word::Document& doc = *data->wordDocument;
    const bool jpeg = kind == PictureKind::Jpeg;

    Word::HeaderFooterPart* part = doc.PartOfNode(paragraph);
    const std::string relId = Rel_GetNextFreeID(doc, part);
    const std::string fileName = Document_NewMediaName(document, jpeg ? ".jpeg" : ".png");
    Rel_AddImageID(doc, relId.c_str(), fileName.c_str(), part);
    AddToImageToBeAdded(data, relId, fileName, bytes);
    if (jpeg)
        RegisterExtension(doc, "jpeg", "image/jpeg");
    else
        RegisterExtension(doc, "png", "image/png");

    const int64_t id = Document_NextDrawingId(document);
    const int64_t cx = width * kEmuPerPixel, cy = height * kEmuPerPixel;

    pugi::xml_node run = paragraph.append_child("w:r");
    run.append_child("w:rPr").append_child("w:noProof");
    pugi::xml_node drawing = run.append_child("w:drawing");
    // Parts made by the library or by other tools may not declare the
    // prefixes the drawing uses outside its own elements.
    Xml_DeclarePrefixAt(drawing, "wp");
    Xml_DeclarePrefixAt(drawing, "r");
    pugi::xml_node inline_ = drawing.append_child("wp:inline");
    for (const char* distance : {"distT", "distB", "distL", "distR"}) inline_.append_attribute(distance) = "0";
    AppendExtent(inline_, "wp:extent", cx, cy);
    pugi::xml_node effect = inline_.append_child("wp:effectExtent");
    for (const char* side : {"l", "t", "r", "b"}) effect.append_attribute(side) = "0";
    AppendNonVisual(inline_, "wp:docPr", id, name);
    pugi::xml_node locks = inline_.append_child("wp:cNvGraphicFramePr").append_child("a:graphicFrameLocks");
    locks.append_attribute("xmlns:a") = kDrawingMainNamespace;
    locks.append_attribute("noChangeAspect") = "1";

    pugi::xml_node graphic = inline_.append_child("a:graphic");
    graphic.append_attribute("xmlns:a") = kDrawingMainNamespace;
    pugi::xml_node graphicData = graphic.append_child("a:graphicData");
    graphicData.append_attribute("uri") = kPictureNamespace;
    pugi::xml_node pic = graphicData.append_child("pic:pic");
    pic.append_attribute("xmlns:pic") = kPictureNamespace;

    pugi::xml_node nvPicPr = pic.append_child("pic:nvPicPr");
    AppendNonVisual(nvPicPr, "pic:cNvPr", id, name);
    nvPicPr.append_child("pic:cNvPicPr");

    pugi::xml_node blipFill = pic.append_child("pic:blipFill");
    pugi::xml_node blip = blipFill.append_child("a:blip");
    blip.append_attribute("r:embed") = relId.c_str();
    RelUses_Add(doc, part, relId);
    blip.append_attribute("cstate") = "print";
    pugi::xml_node ext = blip.append_child("a:extLst").append_child("a:ext");
    ext.append_attribute("uri") = kLocalDpiExtension;
    pugi::xml_node localDpi = ext.append_child("a14:useLocalDpi");
    localDpi.append_attribute("xmlns:a14") = kDrawing2010Namespace;
    localDpi.append_attribute("val") = "0";
    blipFill.append_child("a:stretch").append_child("a:fillRect");

    pugi::xml_node spPr = pic.append_child("pic:spPr");
    pugi::xml_node xfrm = spPr.append_child("a:xfrm");
    pugi::xml_node off = xfrm.append_child("a:off");
    off.append_attribute("x") = "0";
    off.append_attribute("y") = "0";
    AppendExtent(xfrm, "a:ext", cx, cy);
    pugi::xml_node geometry = spPr.append_child("a:prstGeom");
    geometry.append_attribute("prst") = "rect";
    geometry.append_child("a:avLst");
    return run;
}
