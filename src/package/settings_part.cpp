// The settings part is copied as it is unless something edits it: it is
// parsed only then.
#include "package/document.h"
#include "package/relationships.h"

namespace Word {

pugi::xml_node Document::EnsureSettings() {
    if (hasSettings) return settingsXml.document_element();
    std::string partName = settingsPartName;
    if (!partName.empty()) {
        // A settings part that cannot be read is left as it is.
        if (LoadSourcePart(partName, settingsXml) != success || !settingsXml.document_element()) {
            settingsXml.reset();
            return pugi::xml_node();
        }
    } else {
        if (!Rel_AddDocumentPart(*this, "settings.xml", "settings",
                                 "application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml",
                                 settingsXml, "w:settings"))
            return pugi::xml_node();
        partName = "word/settings.xml";
    }
    settingsPartName = partName;
    hasSettings = true;
    return settingsXml.document_element();
}

}  // namespace Word
