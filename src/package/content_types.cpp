#include "package/content_types.h"

#include <string>

#include "package/package_paths.h"

void RegisterExtension(Word::Document& document, const char* extension, const char* contentType) {
    pugi::xml_node types = document.contentTypesXml.document_element();
    if (types.find_child_by_attribute("Default", "Extension", extension)) return;
    pugi::xml_node entry = types.append_child("Default");
    entry.append_attribute("Extension") = extension;
    entry.append_attribute("ContentType") = contentType;
}

void ContentType_AddPart(Word::Document& document, const char* partName, const char* contentType) {
    pugi::xml_node entry = document.contentTypesXml.document_element().append_child("Override");
    entry.append_attribute("PartName") = partName;
    entry.append_attribute("ContentType") = contentType;
}

void ContentType_SetPart(Word::Document& document, const char* partName, const char* contentType) {
    const std::string key = PackagePath_Key(partName);
    for (pugi::xml_node entry : document.contentTypesXml.document_element().children("Override")) {
        if (PackagePath_Key(entry.attribute("PartName").value()) != key) continue;
        pugi::xml_attribute type = entry.attribute("ContentType");
        if (!type) type = entry.append_attribute("ContentType");
        type = contentType;
        return;
    }
    ContentType_AddPart(document, partName, contentType);
}
