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

// The run the call adds to `paragraph`; nil when it adds none.
REALobject AppendToParagraph(REALobject document, pugi::xml_node paragraph, TextColorResolver resolver, REALobject resolverOwner, const PictureCall& call,
                             REALstring value, RBInteger width, RBInteger height) {
    pugi::xml_node run;
    switch (call.what) {
        case PictureCall::Nothing:
        case PictureCall::Raised: return nullptr;
        case PictureCall::Text: run = InternalAddRun(paragraph, call.text, std::nullopt, true); break;
        case PictureCall::Picture:
            run = Paragraph_AppendPicture(document, paragraph, value, call.kind, call.text, width, height);
            break;
    }
    return CreateRun(document, run, paragraph, resolver, resolverOwner, false);
}

}  // namespace

REALobject AppendRunWithPicture(REALobject paragraph, REALstring value, RBInteger mediaType,
                                REALstring originalFileName, RBInteger width, RBInteger height) {
    const PictureCall call = PictureCall_Make(value, mediaType, originalFileName, width, height);
    const DocumentItemData* data = DocumentItemData_Of(paragraph);
    return AppendToParagraph(data->document, data->node, data->textColorResolver,
                             data->resolverOwner, call, value, width, height);
}

REALobject AppendParagraphWithPicture(REALobject container, REALstring value, RBInteger mediaType,
                                      REALstring originalFileName, RBInteger width, RBInteger height) {
    const PictureCall call = PictureCall_Make(value, mediaType, originalFileName, width, height);
    if (call.what == PictureCall::Raised) return nullptr;
    ContainerData* data = ContainerData_Of(container);
    pugi::xml_node node = Container_NewParagraphNode(data);
    if (!node) return nullptr;
    // The run first: a view made before a failure would never be released.
    REALobject run = AppendToParagraph(data->document, node, data->textColorResolver,
                                       data->resolverOwner, call, value, width, height);
    if (run) REALUnlockObject(run);
    return CreateParagraph(data->document, node, data->node, data->textColorResolver, data->resolverOwner);
}
