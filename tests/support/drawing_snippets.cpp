#include "drawing_snippets.h"

std::string docx_inline_picture(int id, const std::string& relId) {
    const std::string n = std::to_string(id);
    return "<w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent cx=\"91440\" "
           "cy=\"91440\"/><wp:docPr id=\"" + n + "\" name=\"Picture " + n +
           "\"/><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
           "<pic:pic><pic:nvPicPr><pic:cNvPr id=\"0\" name=\"p\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill>"
           "<a:blip r:embed=\"" + relId + "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr>"
           "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"91440\" cy=\"91440\"/></a:xfrm><a:prstGeom prst=\"rect\">"
           "<a:avLst/></a:prstGeom></pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing>";
}

std::string docx_anchored_text_box(int id, const std::string& text, const std::string& fillRelId) {
    const std::string n = std::to_string(id);
    const std::string fill = fillRelId.empty() ? std::string("<a:solidFill><a:srgbClr val=\"FFF2CC\"/></a:solidFill>")
                                               : "<a:blipFill><a:blip r:embed=\"" + fillRelId +
                                                     "\"/><a:stretch><a:fillRect/></a:stretch></a:blipFill>";
    return "<w:drawing><wp:anchor distT=\"0\" distB=\"0\" distL=\"114300\" distR=\"114300\" simplePos=\"0\" "
           "relativeHeight=\"2\" behindDoc=\"0\" locked=\"0\" layoutInCell=\"1\" allowOverlap=\"1\">"
           "<wp:simplePos x=\"0\" y=\"0\"/><wp:positionH relativeFrom=\"column\"><wp:posOffset>914400"
           "</wp:posOffset></wp:positionH><wp:positionV relativeFrom=\"paragraph\"><wp:posOffset>0</wp:posOffset>"
           "</wp:positionV><wp:extent cx=\"914400\" cy=\"457200\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/>"
           "<wp:wrapNone/><wp:docPr id=\"" + n + "\" name=\"Shape " + n +
           "\"/><wp:cNvGraphicFramePr/><a:graphic><a:graphicData "
           "uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"><wps:wsp><wps:cNvSpPr/>"
           "<wps:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"914400\" cy=\"457200\"/></a:xfrm>"
           "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>" + fill +
           "</wps:spPr><wps:txbx><w:txbxContent><w:p><w:r><w:t>" + text +
           "</w:t></w:r></w:p></w:txbxContent></wps:txbx><wps:bodyPr/></wps:wsp></a:graphicData></a:graphic>"
           "</wp:anchor></w:drawing>";
}
