// The settings part is copied as it is unless something edits it: it is
// parsed only then.
#include "package/archive.h"
#include "package/document.h"
#include "package/package_paths.h"
#include "package/relationships.h"
#include "package/utf8_text.h"
#include "package/xml_string_writer.h"

namespace Word {

namespace {

bool ReadPart(const std::string& package, const std::string& name, pugi::xml_document& xml) {
    Zip::Archive* archive = Zip::zip_open_bytes(package);
    if (!archive) return false;
    std::string bytes;
    bool ok = Zip::zip_entry_open(archive, name.c_str()) == 0 &&
              Zip::zip_entry_read_limited(archive, bytes, Zip::kPartReadLimits) >= 0;
    Zip::zip_entry_close(archive);
    Zip::zip_close(archive);
    if (!ok || !xml.load_buffer(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_auto)) return false;
    Xml_SanitizeTree(xml);
    return static_cast<bool>(xml.document_element());
}

}  // namespace

pugi::xml_node Document::EnsureSettings() {
    if (hasSettings) return settingsXml.document_element();
    std::string partName = settingsPartName;
    if (!partName.empty()) {
        // A settings part that cannot be read is left as it is.
        if (!ReadPart(sourceBytes, partName, settingsXml)) return pugi::xml_node();
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
