// The host class Drawing: what an inline picture shows, and its
// alternative text.
#include "drawing/drawing_members.h"

#include <string>

#include "content/paragraph_item.h"
#include "document/document_data.h"
#include "drawing/picture_media.h"
#include "format/xml_helpers.h"
#include "host/class_tables.h"
#include "host/exceptions.h"
#include "host/strings.h"
#include "package/relationships.h"

REALobject CreateDrawing(REALobject document, pugi::xml_node run, pugi::xml_node drawing) {
    REALobject view = REALnewInstanceOfClass(&DrawingClass);
    if (!view) return nullptr;
    DrawingData* data = DrawingData_Of(view);
    REALLockObject(document);
    data->document = document;
    data->container->run = run;
    data->container->drawing = drawing;
    return view;
}

REALobject GetDrawing(REALobject run, intptr_t) {
    const ParagraphItemData* data = ParagraphItemData_Of(run);
    pugi::xml_node drawing = data->node.child("w:drawing");
    return drawing ? CreateDrawing(data->document, data->node, drawing) : nullptr;
}

namespace {

void DrawingInitializer(REALobject instance) { DrawingData_Of(instance)->container = new DrawingContainer(); }

void DrawingDestructor(REALobject instance) {
    DrawingData* data = DrawingData_Of(instance);
    delete data->container;
    data->container = nullptr;
    if (data->document) REALUnlockObject(data->document);
    data->document = nullptr;
}

const DrawingContainer& ContainerOf(REALobject instance) { return *DrawingData_Of(instance)->container; }

Word::Document& DocumentOf(REALobject instance) {
    return *DocumentData_Of(DrawingData_Of(instance)->document)->wordDocument;
}

// The relationship id of the picture's blip, or of its SVG version's;
// null when there is none.
const char* PictureRelId(REALobject instance) {
    bool found = false;
    pugi::xml_node blip = DrawingContainer_GetBlipNode(ContainerOf(instance), found);
    return found ? blip.attribute("r:embed").value() : nullptr;
}
const char* SvgRelId(REALobject instance) {
    pugi::xml_node svg = DrawingContainer_GetSvgBlipNode(ContainerOf(instance));
    return svg ? svg.attribute("r:embed").value() : nullptr;
}

Word::HeaderFooterPart* PartOf(REALobject instance) {
    return DocumentOf(instance).PartOfNode(ContainerOf(instance).drawing);
}

// The Target of the relationship relId of the drawing's part, as written.
bool TargetOf(REALobject instance, const char* relId, std::string& target) {
    if (!relId) return false;
    pugi::xml_node rel = Rel_FromID(DocumentOf(instance), relId, PartOf(instance));
    if (!rel) return false;
    target = rel.attribute("Target").value();
    return true;
}

REALstring FileNameOf(REALobject instance, const char* relId) {
    std::string target;
    if (!TargetOf(instance, relId, target)) return nullptr;
    const size_t slash = target.rfind('/');
    return UTF8ToString(slash == std::string::npos ? target : target.substr(slash + 1));
}

REALstring DataOf(REALobject instance, const char* relId) {
    if (!relId) return nullptr;
    REALstring bytes = nullptr;
    const Word::open_result_code code =
        PictureMedia_Read(DrawingData_Of(instance)->document, PartOf(instance), relId, &bytes);
    if (code != Word::success) {
        RBInteger number = 0;
        const std::string message = DocumentOf(instance).GetErrorDescriptionAndCode(code, number);
        ThrowWordException(message.c_str(), number);
        return nullptr;
    }
    return bytes;
}

RBBoolean GetIsPicture(REALobject instance, intptr_t) {
    return static_cast<bool>(DrawingContainer_PicNode(ContainerOf(instance)));
}

RBInteger GetPictureType(REALobject instance, intptr_t) {
    std::string target;
    if (!TargetOf(instance, PictureRelId(instance), target)) return RBInteger(PictureKind::None);
    return RBInteger(Picture_KindOfTarget(target));
}

RBBoolean GetHasSVGRepresentation(REALobject instance, intptr_t) { return SvgRelId(instance) != nullptr; }
REALstring GetPictureFileName(REALobject instance, intptr_t) { return FileNameOf(instance, PictureRelId(instance)); }
REALstring GetPictureData(REALobject instance, intptr_t) { return DataOf(instance, PictureRelId(instance)); }
REALstring GetSVGRepresentationFileName(REALobject instance, intptr_t) {
    return FileNameOf(instance, SvgRelId(instance));
}
REALstring GetSVGRepresentationData(REALobject instance, intptr_t) { return DataOf(instance, SvgRelId(instance)); }

REALstring GetAltTextDescription(REALobject instance, intptr_t) {
    pugi::xml_node docPr = ContainerOf(instance).drawing.child("wp:inline").child("wp:docPr");
    pugi::xml_attribute descr = docPr.attribute("descr");
    return descr ? UTF8ToString(descr.value()) : nullptr;
}

// Kept on the drawing and on the picture's own properties, where readers
// look for it.
void SetAltTextDescription(REALobject instance, intptr_t, REALstring value) {
    std::string text;
    if (!StringToUTF8(value, text)) return;
    const DrawingContainer& c = ContainerOf(instance);
    if (pugi::xml_node docPr = c.drawing.child("wp:inline").child("wp:docPr"))
        Node_SetStringAttribute(docPr, "descr", text);
    if (pugi::xml_node cNvPr = DrawingContainer_PicNode(c).child("pic:nvPicPr").child("pic:cNvPr"))
        Node_SetStringAttribute(cNvPr, "descr", text);
}

REALproperty DrawingProperties[] = {
    VEX_READONLY_PROPERTY("IsPicture", "Boolean", GetIsPicture),
    VEX_READONLY_PROPERTY("PictureType", "VexlomarWord.PictureTypes", GetPictureType),
    VEX_READONLY_PROPERTY("HasSVGRepresentation", "Boolean", GetHasSVGRepresentation),
    VEX_READONLY_PROPERTY("PictureFileName", "String", GetPictureFileName),
    VEX_READONLY_PROPERTY("PictureData", "String", GetPictureData),
    VEX_READONLY_PROPERTY("SVGRepresentationFileName", "String", GetSVGRepresentationFileName),
    VEX_READONLY_PROPERTY("SVGRepresentationData", "String", GetSVGRepresentationData),
    VEX_PROPERTY("AltTextDescription", "String", GetAltTextDescription, SetAltTextDescription),
};

REALmethodDefinition DrawingMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

}  // namespace

REALclassDefinition DrawingClass =
    ClassDefinition("Drawing", "", sizeof(DrawingData), DrawingInitializer, DrawingDestructor, DrawingProperties,
                    VEX_COUNT(DrawingProperties), DrawingMethods, VEX_COUNT(DrawingMethods));
