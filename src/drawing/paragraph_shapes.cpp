#include "drawing/paragraph_shapes.h"

#include "content/container.h"
#include "content/paragraph_item.h"
#include "drawing/shape_anchor.h"
#include "drawing/shape_base.h"
#include "drawing/shape_position.h"

namespace {

enum class Anchored { Shape, Group };

// Writes the run of a new shape or group at the end of the paragraph, once
// the type and size pass; `nodes.run` is empty when nothing was written.
ShapeNodes AppendAnchored(REALobject paragraph, Anchored kind, RBInteger shapeType, double x, double y, double cx,
                          double cy, RBInteger unit) {
    const EmuUnits units = EmuUnits_Of(unit);
    const int32_t cxEmu = ShapeEmu_FromValue(cx, units), cyEmu = ShapeEmu_FromValue(cy, units);
    if (!CheckInsertShape(shapeType, x, y, cx, cy, cxEmu, cyEmu)) return {};
    const DocumentItemData* data = DocumentItemData_Of(paragraph);
    const REALobject document = data->document;
    const int32_t xEmu = ShapeEmu_FromValue(x, units), yEmu = ShapeEmu_FromValue(y, units);
    if (kind == Anchored::Shape)
        return AppendShapeRunInternal(document, data->node, shapeType, xEmu, yEmu, cxEmu, cyEmu);
    return AppendShapeGroupRunInternal(document, data->node, shapeType, xEmu, yEmu, cxEmu, cyEmu);
}

REALobject RunOf(REALobject paragraph, const ShapeNodes& nodes) {
    if (!nodes.run) return nullptr;
    const DocumentItemData* data = DocumentItemData_Of(paragraph);
    return CreateRun(data->document, nodes.run, data->node, data->textColorResolver, data->resolverOwner, false);
}

// The wp:anchor of a run's shape or group, with its mc:AlternateContent.
pugi::xml_node RunAnchor(REALobject run, pugi::xml_node& alternateContent) {
    alternateContent = ParagraphItemData_Of(run)->node.child("mc:AlternateContent");
    return alternateContent.child("mc:Choice").child("w:drawing").child("wp:anchor");
}

}  // namespace

REALobject AppendShape(REALobject paragraph, RBInteger shapeType, double x, double y, double cx, double cy,
                       RBInteger unit) {
    const ShapeNodes nodes = AppendAnchored(paragraph, Anchored::Shape, shapeType, x, y, cx, cy, unit);
    if (!nodes.run) return nullptr;
    return CreateShape(DocumentItemData_Of(paragraph)->document, nodes.alternateContent, nodes.anchor, nodes.wsp);
}

REALobject AppendShapeRun(REALobject paragraph, RBInteger shapeType, double x, double y, double cx, double cy,
                          RBInteger unit) {
    return RunOf(paragraph, AppendAnchored(paragraph, Anchored::Shape, shapeType, x, y, cx, cy, unit));
}

REALobject AppendShapeGroup(REALobject paragraph, RBInteger shapeType, double x, double y, double cx, double cy,
                            RBInteger unit) {
    const ShapeNodes nodes = AppendAnchored(paragraph, Anchored::Group, shapeType, x, y, cx, cy, unit);
    if (!nodes.run) return nullptr;
    return CreateShapeGroup(DocumentItemData_Of(paragraph)->document, nodes.alternateContent, nodes.anchor);
}

REALobject AppendShapeGroupRun(REALobject paragraph, RBInteger shapeType, double x, double y, double cx,
                               double cy, RBInteger unit) {
    return RunOf(paragraph, AppendAnchored(paragraph, Anchored::Group, shapeType, x, y, cx, cy, unit));
}

REALobject GetShape(REALobject run, intptr_t) {
    pugi::xml_node alternateContent;
    pugi::xml_node anchor = RunAnchor(run, alternateContent);
    if (!Anchor_HoldsShape(anchor)) return nullptr;
    return CreateShape(ParagraphItemData_Of(run)->document, alternateContent, anchor,
                       Anchor_GraphicData(anchor).child("wps:wsp"));
}

REALobject GetShapeGroup(REALobject run, intptr_t) {
    pugi::xml_node alternateContent;
    pugi::xml_node anchor = RunAnchor(run, alternateContent);
    if (!Anchor_HoldsGroup(anchor)) return nullptr;
    return CreateShapeGroup(ParagraphItemData_Of(run)->document, alternateContent, anchor);
}
