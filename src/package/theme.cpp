// Colours of the theme's colour scheme.
#include <string>

#include "package/document.h"

namespace Word {

const char* Document::LookupThemeColor(const char* slotName) const {
    pugi::xml_node slot = themeXml.document_element()
                              .child("a:themeElements")
                              .child("a:clrScheme")
                              .child((std::string("a:") + slotName).c_str());
    pugi::xml_node rgb = slot.child("a:srgbClr");
    if (rgb) return rgb.attribute("val").value();
    return slot.child("a:sysClr").attribute("lastClr").value();
}

}  // namespace Word
