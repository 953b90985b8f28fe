// A package without a theme (some writers make none) gets the blank
// package's theme when something needs it: a new shape takes its fill,
// line and text colours from the theme, and without one readers draw it
// with none of them.
#include <string>

#include "package/archive.h"
#include "package/blank_package.h"
#include "package/document.h"
#include "package/relationships.h"

namespace Word {

namespace {

// The theme part of the blank package, parsed; false when it cannot be read.
bool ReadBlankTheme(pugi::xml_document& xml) {
    const std::string bytes(reinterpret_cast<const char*>(BlankPackage), BlankPackageSize);
    Zip::ArchiveCloser blank(Zip::zip_open_bytes(bytes));
    if (!blank.archive || Zip::zip_entry_open(blank.archive, "word/theme/theme1.xml") != 0) return false;
    std::string text;
    const bool read = Zip::zip_entry_read(blank.archive, text) >= 0;
    Zip::zip_entry_close(blank.archive);
    return read && xml.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8) &&
           xml.document_element();
}

}  // namespace

bool Document::EnsureTheme() {
    if (themeXml.document_element()) return true;
    if (!relsXml.document_element() || !contentTypesXml.document_element()) return false;
    // A name no entry of the package takes yet: an unrelated entry of the
    // same name would be replaced.
    Zip::ArchiveCloser source(Zip::zip_open_bytes(sourceBytes));
    if (!source.archive) return false;
    std::string name;
    for (int n = 1; name.empty(); ++n) {
        const std::string candidate = "theme/theme" + std::to_string(n) + ".xml";
        if (!Zip::zip_entry_exists(source.archive, ("word/" + candidate).c_str()) && !HoldsPart("word/" + candidate))
            name = candidate;
    }
    if (!ReadBlankTheme(themeXml)) {
        themeXml.reset();
        return false;
    }
    Rel_RelateDocumentPart(*this, name.c_str(), "theme", "application/vnd.openxmlformats-officedocument.theme+xml");
    themePartName = "word/" + name;
    return true;
}

}  // namespace Word
