#include "drawing/shape_anchor.h"

#include <string>

#include "document/document_data.h"
#include "drawing/drawing_ids.h"
#include "drawing/drawing_namespaces.h"
#include "drawing/shape_geometry.h"
#include "format/xml_namespaces.h"

namespace {

const char kDrawingMainUri[] = "http://schemas.openxmlformats.org/drawingml/2006/main";

void SetOffsetAndSize(pugi::xml_node xfrm, const char* offName, const char* extName, int32_t x, int32_t y,
                      int32_t cx, int32_t cy) {
    pugi::xml_node off = xfrm.append_child(offName);
    off.append_attribute("x") = x;
    off.append_attribute("y") = y;
    pugi::xml_node ext = xfrm.append_child(extName);
    ext.append_attribute("cx") = cx;
    ext.append_attribute("cy") = cy;
}

pugi::xml_node AppendSchemeColor(pugi::xml_node parent, const char* reference, const char* idx, const char* color) {
    pugi::xml_node ref = parent.append_child(reference);
    ref.append_attribute("idx") = idx;
    pugi::xml_node scheme = ref.append_child("a:schemeClr");
    scheme.append_attribute("val") = color;
    return scheme;
}

void AppendPosition(pugi::xml_node anchor, const char* name, const char* relativeFrom, int32_t offset) {
    pugi::xml_node position = anchor.append_child(name);
    position.append_attribute("relativeFrom") = relativeFrom;
    position.append_child("wp:posOffset").text().set(std::to_string(offset).c_str());
}

// The run, its markup-compatibility block and the anchor, up to an empty
// a:graphicData of `uri`.
ShapeNodes AppendAnchorRun(REALobject document, pugi::xml_node paragraph, const char* requires,
                           const char* uri, int32_t x, int32_t y, int32_t cx, int32_t cy) {
    // The new shape's colours come from the theme.
    DocumentData_Of(document)->wordDocument->EnsureTheme();
    ShapeNodes nodes;
    nodes.run = paragraph.append_child("w:r");
    nodes.run.append_child("w:rPr").append_child("w:noProof");
    nodes.alternateContent = nodes.run.append_child("mc:AlternateContent");
    Drawing_DeclareNamespaces(nodes.alternateContent);
    pugi::xml_node choice = nodes.alternateContent.append_child("mc:Choice");
    choice.append_attribute("Requires") = requires;
    pugi::xml_node anchor = choice.append_child("w:drawing").append_child("wp:anchor");
    nodes.anchor = anchor;
    anchor.append_attribute("distT") = 0;
    anchor.append_attribute("distB") = 0;
    anchor.append_attribute("distL") = 114300;
    anchor.append_attribute("distR") = 114300;
    anchor.append_attribute("simplePos") = 0;
    anchor.append_attribute("relativeHeight") = 251659264;
    anchor.append_attribute("behindDoc") = 0;
    anchor.append_attribute("locked") = 0;
    anchor.append_attribute("layoutInCell") = 1;
    anchor.append_attribute("allowOverlap") = 1;
    pugi::xml_node simplePos = anchor.append_child("wp:simplePos");
    simplePos.append_attribute("x") = 0;
    simplePos.append_attribute("y") = 0;
    AppendPosition(anchor, "wp:positionH", "column", x);
    AppendPosition(anchor, "wp:positionV", "paragraph", y);
    pugi::xml_node extent = anchor.append_child("wp:extent");
    extent.append_attribute("cx") = cx;
    extent.append_attribute("cy") = cy;
    pugi::xml_node effectExtent = anchor.append_child("wp:effectExtent");
    effectExtent.append_attribute("l") = 0;
    effectExtent.append_attribute("t") = 0;
    effectExtent.append_attribute("r") = 12700;
    effectExtent.append_attribute("b") = 12700;
    anchor.append_child("wp:wrapNone");
    pugi::xml_node docPr = anchor.append_child("wp:docPr");
    docPr.append_attribute("id") = static_cast<long long>(Document_NextDrawingId(document));
    docPr.append_attribute("name") = "Rectangle";
    anchor.append_child("wp:cNvGraphicFramePr");
    pugi::xml_node graphic = anchor.append_child("a:graphic");
    graphic.append_attribute("xmlns:a") = kDrawingMainUri;
    graphic.append_child("a:graphicData").append_attribute("uri") = uri;
    return nodes;
}

}  // namespace

pugi::xml_node AddShape(pugi::xml_node parent, int64_t type, int32_t x, int32_t y, int32_t cx, int32_t cy) {
    pugi::xml_node wsp = parent.append_child("wps:wsp");
    wsp.append_child("wps:cNvSpPr");
    pugi::xml_node spPr = wsp.append_child("wps:spPr");
    SetOffsetAndSize(spPr.append_child("a:xfrm"), "a:off", "a:ext", x, y, cx, cy);
    pugi::xml_node geometry = spPr.append_child("a:prstGeom");
    geometry.append_attribute("prst") = ShapeType_PresetName(type);
    geometry.append_child("a:avLst");

    pugi::xml_node style = wsp.append_child("wps:style");
    AppendSchemeColor(style, "a:lnRef", "2", "accent1").append_child("a:shade").append_attribute("val") = 15000;
    AppendSchemeColor(style, "a:fillRef", "1", "accent1");
    AppendSchemeColor(style, "a:effectRef", "0", "accent1");
    AppendSchemeColor(style, "a:fontRef", "minor", "lt1");

    pugi::xml_node body = wsp.append_child("wps:bodyPr");
    body.append_attribute("rot") = 0;
    body.append_attribute("spcFirstLastPara") = 0;
    body.append_attribute("vertOverflow") = "overflow";
    body.append_attribute("horzOverflow") = "overflow";
    body.append_attribute("vert") = "horz";
    body.append_attribute("wrap") = "square";
    body.append_attribute("lIns") = 91440;
    body.append_attribute("tIns") = 45720;
    body.append_attribute("rIns") = 91440;
    body.append_attribute("bIns") = 45720;
    body.append_attribute("numCol") = 1;
    body.append_attribute("spcCol") = 0;
    body.append_attribute("rtlCol") = 0;
    body.append_attribute("fromWordArt") = 0;
    body.append_attribute("anchor") = "ctr";
    body.append_attribute("anchorCtr") = 0;
    body.append_attribute("forceAA") = 0;
    body.append_attribute("compatLnSpc") = 1;
    body.append_child("a:prstTxWarp").append_attribute("prst") = "textNoShape";
    body.child("a:prstTxWarp").append_child("a:avLst");
    body.append_child("a:noAutofit");
    return wsp;
}

ShapeNodes AppendShapeRunInternal(REALobject document, pugi::xml_node paragraph, int64_t type,
                                  int32_t x, int32_t y, int32_t cx, int32_t cy) {
    ShapeNodes nodes = AppendAnchorRun(document, paragraph, "wps", Xml_NamespaceOf("wps"), x, y, cx, cy);
    nodes.wsp = AddShape(nodes.anchor.child("a:graphic").child("a:graphicData"), type, 0, 0, cx, cy);
    return nodes;
}

ShapeNodes AppendShapeGroupRunInternal(REALobject document, pugi::xml_node paragraph, int64_t type,
                                       int32_t x, int32_t y, int32_t cx, int32_t cy) {
    // A reader that knows shapes but not groups must skip the group.
    ShapeNodes nodes = AppendAnchorRun(document, paragraph, "wpg", Xml_NamespaceOf("wpg"), x, y, cx, cy);
    pugi::xml_node wgp = nodes.anchor.child("a:graphic").child("a:graphicData").append_child("wpg:wgp");
    wgp.append_child("wpg:cNvGrpSpPr");
    pugi::xml_node xfrm = wgp.append_child("wpg:grpSpPr").append_child("a:xfrm");
    SetOffsetAndSize(xfrm, "a:off", "a:ext", 0, 0, cx, cy);
    SetOffsetAndSize(xfrm, "a:chOff", "a:chExt", 0, 0, cx, cy);
    nodes.wsp = AddShape(wgp, type, 0, 0, cx, cy);
    return nodes;
}

pugi::xml_node GetWgp(pugi::xml_node anchor) {
    return anchor.child("a:graphic").child("a:graphicData").child("wpg:wgp");
}
