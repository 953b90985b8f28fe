// What the rules of one check share: the archive's entries and bytes, what
// the one pass over each XML part collected, and the report.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "check/check_report.h"
#include "check/xml_scan.h"
#include "check/zip_listing.h"

namespace cli {

// An r:id, r:embed, r:link or o:relid of a part.
struct RelationshipUse {
    std::string elementUri, elementLocal;
    std::string attribute;  // "r:id", "r:embed", "o:relid", ...
    std::string value;
    size_t line = 0, column = 0;
};

// An element of the small package vocabularies (content types,
// relationships): a child of the root, with its unprefixed attributes.
struct PackageItem {
    std::string uri, local;
    std::map<std::string, std::string> attributes;
    size_t line = 0, column = 0;
    const std::string* get(const char* name) const {
        auto it = attributes.find(name);
        return it == attributes.end() ? nullptr : &it->second;
    }
};

struct DrawingId {
    std::string value;
    size_t line = 0, column = 0;
};

struct XmlPart {
    XmlScan scan;
    std::vector<RelationshipUse> uses;
    std::vector<PackageItem> items;  // [Content_Types].xml and .rels only
    std::vector<DrawingId> drawingIds;
};

struct Relationship {
    std::string type;
    std::string entry;  // the entry its internal target names; empty when none
    bool external = false;
};

// A finding a visitor keeps until its part is known to be well-formed.
struct PendingFinding {
    Level level;
    std::string message;
    size_t line = 0, column = 0;
};

struct PackageContext {
    const CheckOptions& options;
    CheckReport& report;
    std::vector<ZipEntry> entries;
    std::unordered_map<std::string, std::string> bytes;  // entry -> inflated bytes (of those that read whole)
    std::vector<std::string> parts;                       // entry names that are not folders, in archive order
    std::unordered_set<std::string> partSet;              // the same names
    std::unordered_map<std::string, std::string> byKey;   // lower-case name -> entry name
    std::map<std::string, XmlPart> xml;                   // well-formed or not, every XML part scanned
    std::unordered_map<std::string, std::string> contentTypes;  // entry -> its content type
    // Source part ("" for the package) -> id -> relationship.
    std::map<std::string, std::map<std::string, Relationship>> relationships;
    std::string mainPart;

    void add(Level level, const std::string& part, const char* rule, const std::string& message, size_t line = 0,
             size_t column = 0) {
        CheckReport_Add(report, options, level, part, rule, message, line, column);
    }
    // Reports the findings of one rule in one part in the order of their
    // places, at most options.shownPerRule of them and then one that counts
    // the rest (an error when one of the rest is).
    void addAll(const std::string& part, const char* rule, std::vector<PendingFinding>& found);
    // The entry a part name (no leading '/') names, exactly or else by case;
    // empty when none.
    std::string lookup(const std::string& partName) const;
};

// The rules, in the order they run; each reads what the earlier left.
void Check_Archive(PackageContext& c, const std::string& archive);
void Check_XmlParts(PackageContext& c);
void Check_ContentTypes(PackageContext& c);
void Check_Relationships(PackageContext& c);
void Check_RelationshipUses(PackageContext& c);
void Check_DrawingIds(PackageContext& c);

// The visitors of the rules that judge a part's content in the scan.
std::unique_ptr<XmlVisitor> StructureRules_Create(PackageContext& c, const std::string& part);
std::unique_ptr<XmlVisitor> BookmarkRules_Create(PackageContext& c, const std::string& part);
std::unique_ptr<XmlVisitor> PageRules_Create(PackageContext& c, const std::string& part);

// ASCII lower case.
std::string Check_Lower(std::string s);
// %-escapes decoded (as part names in URIs carry them).
std::string Check_Unquote(const std::string& s);

}  // namespace cli
