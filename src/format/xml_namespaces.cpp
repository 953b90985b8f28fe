#include "format/xml_namespaces.h"

#include <cstring>
#include <string>

namespace {

// The declarations of the blank template's document element, in its order.
const char* const kDocumentNamespaces[][2] = {
    {"wpc", "http://schemas.microsoft.com/office/word/2010/wordprocessingCanvas"},
    {"cx", "http://schemas.microsoft.com/office/drawing/2014/chartex"},
    {"cx1", "http://schemas.microsoft.com/office/drawing/2015/9/8/chartex"},
    {"cx2", "http://schemas.microsoft.com/office/drawing/2015/10/21/chartex"},
    {"cx3", "http://schemas.microsoft.com/office/drawing/2016/5/9/chartex"},
    {"cx4", "http://schemas.microsoft.com/office/drawing/2016/5/10/chartex"},
    {"cx5", "http://schemas.microsoft.com/office/drawing/2016/5/11/chartex"},
    {"cx6", "http://schemas.microsoft.com/office/drawing/2016/5/12/chartex"},
    {"cx7", "http://schemas.microsoft.com/office/drawing/2016/5/13/chartex"},
    {"cx8", "http://schemas.microsoft.com/office/drawing/2016/5/14/chartex"},
    {"mc", "http://schemas.openxmlformats.org/markup-compatibility/2006"},
    {"aink", "http://schemas.microsoft.com/office/drawing/2016/ink"},
    {"am3d", "http://schemas.microsoft.com/office/drawing/2017/model3d"},
    {"o", "urn:schemas-microsoft-com:office:office"},
    {"oel", "http://schemas.microsoft.com/office/2019/extlst"},
    {"r", "http://schemas.openxmlformats.org/officeDocument/2006/relationships"},
    {"m", "http://schemas.openxmlformats.org/officeDocument/2006/math"},
    {"v", "urn:schemas-microsoft-com:vml"},
    {"wp14", "http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing"},
    {"wp", "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"},
    {"w10", "urn:schemas-microsoft-com:office:word"},
    {"w", "http://schemas.openxmlformats.org/wordprocessingml/2006/main"},
    {"w14", "http://schemas.microsoft.com/office/word/2010/wordml"},
    {"w15", "http://schemas.microsoft.com/office/word/2012/wordml"},
    {"w16cex", "http://schemas.microsoft.com/office/word/2018/wordml/cex"},
    {"w16cid", "http://schemas.microsoft.com/office/word/2016/wordml/cid"},
    {"w16", "http://schemas.microsoft.com/office/word/2018/wordml"},
    {"w16sdtdh", "http://schemas.microsoft.com/office/word/2020/wordml/sdtdatahash"},
    {"w16se", "http://schemas.microsoft.com/office/word/2015/wordml/symex"},
    {"wpg", "http://schemas.microsoft.com/office/word/2010/wordprocessingGroup"},
    {"wpi", "http://schemas.microsoft.com/office/word/2010/wordprocessingInk"},
    {"wne", "http://schemas.microsoft.com/office/word/2006/wordml"},
    {"wps", "http://schemas.microsoft.com/office/word/2010/wordprocessingShape"},
};


}  // namespace

const char* Xml_NamespaceOf(const char* prefix) {
    for (const auto& ns : kDocumentNamespaces)
        if (std::strcmp(ns[0], prefix) == 0) return ns[1];
    return nullptr;
}

const char* Xml_PrefixOf(const char* uri) {
    for (const auto& ns : kDocumentNamespaces)
        if (std::strcmp(ns[1], uri) == 0) return ns[0];
    return nullptr;
}

void Xml_DeclareDocumentNamespaces(pugi::xml_node root) {
    for (const auto& ns : kDocumentNamespaces)
        root.append_attribute((std::string("xmlns:") + ns[0]).c_str()) = ns[1];
    root.append_attribute("mc:Ignorable") = "w14 w15 w16se w16cid w16 w16cex w16sdtdh wp14";
}

bool Xml_DeclarePrefix(pugi::xml_node root, const char* prefix, bool ignorable) {
    const char* uri = Xml_NamespaceOf(prefix);
    if (!root || !uri) return false;
    const std::string name = std::string("xmlns:") + prefix;
    pugi::xml_attribute declared = root.attribute(name.c_str());
    if (declared) return std::strcmp(declared.value(), uri) == 0;
    root.append_attribute(name.c_str()) = uri;
    if (!ignorable) return true;
    // Readers that do not know the namespace must be told to ignore it.
    pugi::xml_attribute mc = root.attribute("xmlns:mc");
    if (!mc) {
        mc = root.append_attribute("xmlns:mc");
        mc = Xml_NamespaceOf("mc");
    } else if (std::strcmp(mc.value(), Xml_NamespaceOf("mc")) != 0) {
        return true;  // mc is something else here: the prefix is declared, not ignorable
    }
    pugi::xml_attribute list = root.attribute("mc:Ignorable");
    if (!list) {
        root.append_attribute("mc:Ignorable") = prefix;
        return true;
    }
    const std::string padded = std::string(" ") + list.value() + " ";
    if (padded.find(std::string(" ") + prefix + " ") == std::string::npos)
        list = (std::string(list.value()) + (*list.value() ? " " : "") + prefix).c_str();
    return true;
}

void Xml_DeclarePrefixAt(pugi::xml_node element, const char* prefix) {
    pugi::xml_node root = element.root().first_child();
    while (root && root.type() != pugi::node_element) root = root.next_sibling();
    if (!root || Xml_DeclarePrefix(root, prefix, false)) return;
    // The root binds the prefix to another namespace: a declaration of our
    // own shadows it for this element's subtree only.
    const std::string name = std::string("xmlns:") + prefix;
    pugi::xml_attribute local = element.attribute(name.c_str());
    if (!local) local = element.append_attribute(name.c_str());
    local = Xml_NamespaceOf(prefix);
}
