// The core-properties part made for a package that has none, and its
// relationship from the package.
#include <ctime>
#include <string>
#include <unordered_set>

#include "host/dates.h"
#include "package/content_types.h"
#include "package/document.h"
#include "package/relationships.h"

namespace Word {

void Document::CreateCore() {
    coreXml.reset();
    pugi::xml_node root = coreXml.append_child("cp:coreProperties");
    root.append_attribute("xmlns:cp") =
        "http://schemas.openxmlformats.org/package/2006/metadata/core-properties";
    root.append_attribute("xmlns:dc") = "http://purl.org/dc/elements/1.1/";
    root.append_attribute("xmlns:dcterms") = "http://purl.org/dc/terms/";
    root.append_attribute("xmlns:dcmitype") = "http://purl.org/dc/dcmitype/";
    root.append_attribute("xmlns:xsi") = "http://www.w3.org/2001/XMLSchema-instance";
    for (const char* name :
         {"dc:title", "dc:subject", "dc:creator", "cp:keywords", "dc:description",
          "cp:lastModifiedBy"})
        root.append_child(name);
    root.append_child("cp:revision").text() = "1";
    StampCoreDatesNow();
    RelateCore();
}

void Document::RelateCore() {
    if (coreRelated) return;
    if (!packageRelsXml.document_element()) {
        packageRelsXml.reset();
        packageRelsXml.append_child("Relationships").append_attribute("xmlns") = kPackageRelationshipsNamespace;
    }
    pugi::xml_node rels = packageRelsXml.document_element();
    std::unordered_set<std::string> ids;
    for (pugi::xml_node rel : rels.children("Relationship")) ids.insert(rel.attribute("Id").value());
    std::string id = "rIdCore";
    for (int n = 2; ids.count(id); ++n) id = "rIdCore" + std::to_string(n);
    pugi::xml_node rel = rels.append_child("Relationship");
    rel.append_attribute("Id") = id.c_str();
    rel.append_attribute("Type") = kCorePropertiesType;
    rel.append_attribute("Target") = corePartName.c_str();
    ContentType_SetPart(*this, ("/" + corePartName).c_str(),
                        "application/vnd.openxmlformats-package.core-properties+xml");
    coreRelated = true;
    packageRelsChanged = true;
}

void Document::StampCoreDatesNow() {
    if (!coreXml.first_child()) CreateCore();
    pugi::xml_node root = coreXml.document_element();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[30];
    FormatDateTimeComponentsTimeToISO8601(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                          local.tm_hour, local.tm_min, local.tm_sec,
                                          local.tm_gmtoff, stamp, sizeof stamp, false);
    for (const char* name : {"dcterms:created", "dcterms:modified"}) {
        pugi::xml_node date = root.child(name);
        if (!date) {
            date = root.append_child(name);
            date.append_attribute("xsi:type") = "dcterms:W3CDTF";
        }
        date.text() = stamp;
    }
}

}  // namespace Word
