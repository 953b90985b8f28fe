// Paragraph.AppendRun and Container.AppendParagraph with a picture.
#include <string>
#include <string_view>

#include "content/container.h"
#include "content/paragraph_item.h"
#include "content/run_text.h"
#include "drawing/drawing_members.h"
#include "drawing/picture_run.h"
#include "host/bridge.h"
#include "host/exceptions.h"
#include "host/strings.h"

namespace {

// What a call with these arguments adds, decided before anything changes.
struct PictureCall {
    enum { Nothing, Text, Picture, Raised } what = Nothing;
    PictureKind kind = PictureKind::Png;
    std::string text;  // Text: the run's text; Picture: the drawing's name
};

// Nothing for an unknown type or no bytes; a text run for NONE; otherwise
// a picture, once its sizes and header pass (else the exception is raised:
// Raised).
PictureCall PictureCall_Make(REALstring value, RBInteger mediaType, REALstring originalFileName, RBInteger width,
                             RBInteger height) {
    PictureCall call;
    if (mediaType == RBInteger(PictureKind::Unknown)) return call;
    if (mediaType == RBInteger(PictureKind::None)) {
        if (StringToUTF8(value, call.text)) call.what = PictureCall::Text;
        return call;
    }
    size_t length = 0;
    const char* bytes = value ? REALGetStringContents(value, &length) : nullptr;
    if (!bytes || length == 0) return call;
    call.kind = mediaType == RBInteger(PictureKind::Jpeg) ? PictureKind::Jpeg : PictureKind::Png;
    std::string message;
    RBInteger number = 0;
    if (!Picture_Check(std::string_view(bytes, length), call.kind, width, height, message, number)) {
        ThrowWordException(message.c_str(), number);
        call.what = PictureCall::Raised;
        return call;
    }
    if (!originalFileName || !StringToUTF8(originalFileName, call.text)) call.text = "Graphic";
    call.what = PictureCall::Picture;
    return call;
}

// The run the call appends to `paragraph`; empty when it adds none.
pugi::xml_node AppendRunNode(REALobject document, pugi::xml_node paragraph, const PictureCall& call, REALstring value,
                             RBInteger width, RBInteger height) {
    switch (call.what) {
        case PictureCall::Nothing:
        case PictureCall::Raised: break;
        case PictureCall::Text: return InternalAddRun(paragraph, call.text, std::nullopt, true);
        case PictureCall::Picture:
            return Paragraph_AppendPicture(document, paragraph, value, call.kind, call.text, width, height);
    }
    return {};
}

}  // namespace

REALobject AppendRunWithPicture(REALobject paragraph, REALstring value, RBInteger mediaType,
                                REALstring originalFileName, RBInteger width, RBInteger height) {
    const PictureCall call = PictureCall_Make(value, mediaType, originalFileName, width, height);
    const DocumentItemData* data = DocumentItemData_Of(paragraph);
    pugi::xml_node run = AppendRunNode(data->document, data->node, call, value, width, height);
    return run ? CreateRun(data->document, run, data->node, data->textColorResolver, data->resolverOwner, false)
               : nullptr;
}

REALobject AppendParagraphWithPicture(REALobject container, REALstring value, RBInteger mediaType,
                                      REALstring originalFileName, RBInteger width, RBInteger height) {
    const PictureCall call = PictureCall_Make(value, mediaType, originalFileName, width, height);
    if (call.what == PictureCall::Raised) return nullptr;
    ContainerData* data = ContainerData_Of(container);
    pugi::xml_node node = Container_NewParagraphNode(data);
    if (!node) return nullptr;
    // The paragraph stays, empty, when the call adds no run.
    AppendRunNode(data->document, node, call, value, width, height);
    return CreateParagraph(data->document, node, data->node, data->textColorResolver, data->resolverOwner);
}
