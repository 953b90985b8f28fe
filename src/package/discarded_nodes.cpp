#include "package/discarded_nodes.h"

#include <cstring>

namespace {

// A name no part of a package can use (no namespace prefix, not an XML
// name a schema would define).
constexpr const char* kHolderName = "vexword-discarded";

}  // namespace

bool Xml_IsDiscardHolder(pugi::xml_node node) {
    return node.type() == pugi::node_element && node.parent().type() == pugi::node_document &&
           std::strcmp(node.name(), kHolderName) == 0;
}

bool Xml_IsDiscarded(pugi::xml_node node) {
    if (!node) return false;
    // The holder is the last child of its tree's document node (Xml_Discard
    // puts it there, and nothing comes after it), which pugixml reaches
    // without a walk: a tree that never had anything removed is answered at
    // once, others by comparing each ancestor with the holder.
    const pugi::xml_node holder = node.root().last_child();
    if (!Xml_IsDiscardHolder(holder)) return false;
    for (; node; node = node.parent())
        if (node == holder) return true;
    return false;
}

void Xml_Discard(pugi::xml_node node) {
    if (!node || !node.parent() || node.type() == pugi::node_document) return;
    if (Xml_IsDiscarded(node)) return;
    pugi::xml_node root = node.root();
    pugi::xml_node holder = root.last_child();
    if (!Xml_IsDiscardHolder(holder)) holder = root.append_child(kHolderName);
    holder.append_move(node);
}

void Xml_PrintDocument(const pugi::xml_document& doc, pugi::xml_writer& writer) {
    for (pugi::xml_node child = doc.first_child(); child; child = child.next_sibling()) {
        if (Xml_IsDiscardHolder(child)) continue;
        // Control characters XML 1.0 forbids would make the part unreadable.
        child.print(writer, "", pugi::format_raw | pugi::format_skip_control_chars, pugi::encoding_utf8, 0);
    }
}
