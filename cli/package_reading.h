// Reading a package next to the runtime: the tool opens every document
// through the plug-in first (so the library's checks and errors hold), then
// reads the parts the registered members do not reach (the headers and
// footers of earlier sections, notes, comments, content controls) from the
// archive itself.
#pragma once

#include <map>
#include <memory>
#include <string>

#include <pugixml.hpp>

namespace cli {

// One relationship of a part: its type's last segment ("image",
// "hyperlink"), its target resolved to an entry name (internal) or as
// written (external).
struct PackageRelationship {
    std::string type;
    std::string target;
    bool external = false;
};

using PackageRelationships = std::map<std::string, PackageRelationship>;  // by Id

struct PackageArchive;

// An open archive; parts are read on demand.
struct PackageReader {
    std::shared_ptr<PackageArchive> archive;
    std::string mainPart;  // the entry _rels/.rels names as the office document
    // Whether reading an entry checks it against its stored checksum. A
    // reader whose package the plug-in opens at the same time (and whose
    // refusal undoes what was read) may leave that to the plug-in.
    bool checksums = true;
};

// Opens the archive at `path`; false when it cannot be read as a ZIP
// archive.
bool PackageReader_Open(PackageReader& reader, const std::string& path);

// The bytes of an entry (names compare without regard to ASCII case); false
// when there is none, or it is larger than the reader takes.
bool PackageReader_Bytes(const PackageReader& reader, const std::string& name, std::string& bytes);

// The name an entry is stored under (names compare without regard to ASCII
// case); empty when there is none.
std::string PackageReader_StoredName(const PackageReader& reader, const std::string& name);

// The entry parsed as XML; false when it is missing or not XML.
bool PackageReader_Xml(const PackageReader& reader, const std::string& name, pugi::xml_document& xml);

// The relationships of `part`; empty when it has none.
PackageRelationships PackageReader_Relationships(const PackageReader& reader, const std::string& part);

// The first internal target of a relationship of type `type` (last
// segment); empty when there is none.
std::string PackageRelationships_FirstOfType(const PackageRelationships& rels, const char* type);

}  // namespace cli
