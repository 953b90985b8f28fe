#include "drawing/shape_text_box.h"

#include <cstring>

#include "format/xml_helpers.h"

int64_t Shape_GetVerticalAlignment(pugi::xml_node wsp) {
    pugi::xml_attribute anchor = wsp.child("wps:bodyPr").attribute("anchor");
    if (!anchor || std::strcmp(anchor.value(), "t") == 0) return 0;
    if (std::strcmp(anchor.value(), "ctr") == 0) return 1;
    return 2;
}

void Shape_SetVerticalAlignment(pugi::xml_node wsp, int64_t alignment) {
    static const char* const kNames[] = {"t", "ctr", "b"};
    pugi::xml_node body = wsp.child("wps:bodyPr");
    if (!body || alignment < 0 || alignment > 2) return;
    WriteAttribute(body, "anchor", kNames[alignment]);
}

pugi::xml_node Shape_TextBoxContent(pugi::xml_node wsp, bool create) {
    pugi::xml_node textBox = wsp.child("wps:txbx");
    if (!textBox) {
        pugi::xml_node body = wsp.child("wps:bodyPr");
        if (!create || !body) return {};
        textBox = wsp.insert_child_before("wps:txbx", body);
    }
    pugi::xml_node content = textBox.child("w:txbxContent");
    if (!content) {
        content = textBox.append_child("w:txbxContent");
        content.append_child("w:p");
    }
    return content;
}

pugi::xml_node TextBox_Placeholder(pugi::xml_node content) {
    if (std::strcmp(content.name(), "w:txbxContent") != 0) return {};
    pugi::xml_node only = content.first_child();
    if (!only || only.next_sibling() || std::strcmp(only.name(), "w:p") != 0) return {};
    if (only.first_attribute() || only.first_child()) return {};
    return only;
}
