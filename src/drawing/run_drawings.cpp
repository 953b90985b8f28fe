#include "drawing/run_drawings.h"

#include <cstring>

#include "content/paragraph_item.h"
#include "drawing/drawing_members.h"
#include "drawing/shape_base.h"
#include "drawing/shape_position.h"
#include "host/exceptions.h"

namespace {

pugi::xml_node RunNode(REALobject run) { return ParagraphItemData_Of(run)->node; }

// The mc:Choice drawing of an mc:AlternateContent; empty when none holds one.
pugi::xml_node ChoiceDrawing(pugi::xml_node alternateContent) {
    for (pugi::xml_node choice = alternateContent.child("mc:Choice"); choice; choice = choice.next_sibling("mc:Choice"))
        if (pugi::xml_node drawing = choice.child("w:drawing")) return drawing;
    return {};
}

// One anchored shape or group of a run: its anchor, and the alternate
// content around it (empty for a w:drawing of its own).
struct RunShape {
    pugi::xml_node alternateContent;
    pugi::xml_node anchor;
};

// The child's shape or group; an empty anchor for anything else.
RunShape ShapeOfChild(pugi::xml_node child) {
    RunShape found;
    if (std::strcmp(child.name(), "mc:AlternateContent") == 0) {
        found.alternateContent = child;
        found.anchor = ChoiceDrawing(child).child("wp:anchor");
    } else if (std::strcmp(child.name(), "w:drawing") == 0) {
        found.anchor = child.child("wp:anchor");
    }
    if (!Anchor_HoldsShape(found.anchor) && !Anchor_HoldsGroup(found.anchor)) return {};
    return found;
}

// The index-th shape or group of the run; an empty anchor (with
// OutOfBoundsException raised) out of range.
RunShape RunShapeAt(REALobject run, RBInteger index) {
    if (index >= 0)
        for (pugi::xml_node child = RunNode(run).first_child(); child; child = child.next_sibling()) {
            RunShape found = ShapeOfChild(child);
            if (found.anchor && index-- == 0) return found;
        }
    ThrowOutOfBoundsException("Parameter index is out of bounds", 1);
    return {};
}

}  // namespace

RBInteger Run_GetDrawingCount(REALobject run, intptr_t) {
    RBInteger count = 0;
    for (pugi::xml_node d = RunNode(run).child("w:drawing"); d; d = d.next_sibling("w:drawing")) ++count;
    return count;
}

REALobject Run_DrawingAt(REALobject run, RBInteger index) {
    if (index >= 0)
        for (pugi::xml_node d = RunNode(run).child("w:drawing"); d; d = d.next_sibling("w:drawing"))
            if (index-- == 0) return CreateDrawing(ParagraphItemData_Of(run)->document, RunNode(run), d);
    ThrowOutOfBoundsException("Parameter index is out of bounds", 1);
    return nullptr;
}

RBInteger Run_GetShapeCount(REALobject run, intptr_t) {
    RBInteger count = 0;
    for (pugi::xml_node child = RunNode(run).first_child(); child; child = child.next_sibling())
        if (ShapeOfChild(child).anchor) ++count;
    return count;
}

REALobject Run_ShapeAt(REALobject run, RBInteger index) {
    const RunShape found = RunShapeAt(run, index);
    if (!Anchor_HoldsShape(found.anchor)) return nullptr;
    return CreateShape(ParagraphItemData_Of(run)->document, found.alternateContent, found.anchor,
                       Anchor_GraphicData(found.anchor).child("wps:wsp"));
}

REALobject Run_ShapeGroupAt(REALobject run, RBInteger index) {
    const RunShape found = RunShapeAt(run, index);
    if (!Anchor_HoldsGroup(found.anchor)) return nullptr;
    return CreateShapeGroup(ParagraphItemData_Of(run)->document, found.alternateContent, found.anchor);
}
