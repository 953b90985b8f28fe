// Packages made in memory for the tests of the checker's rules: a minimal
// valid .docx whose entries a test replaces, adds or removes, written as a
// ZIP archive byte by byte (so that it may hold what no ZIP library writes).
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "check/package_check.h"
#include "raw_zip.h"

namespace check_packages {

// The namespace declarations of the document element of every WordprocessingML
// part made here (w, r, wp, a, pic, wps, mc, v, o, w14).
extern const char* const kNamespaces;
// The section the minimal document ends with: a letter page, 1-inch margins.
extern const char* const kSectPr;

// word/document.xml whose body holds `body` and then `sectPr`.
std::string Document(const std::string& body, const std::string& sectPr = kSectPr);
// A part whose root is `root` ("w:hdr") with every namespace declared.
std::string Part(const std::string& root, const std::string& inner);
// A <Relationship/>; a `type` without ':' is a standard type's last segment.
std::string Relationship(const std::string& id, const std::string& type, const std::string& target,
                         bool external = false);
// A run holding a picture of the relationship `embed`: inline when `wrap` is
// empty, else anchored with that wrap element. `spPr` is the inner XML of
// pic:spPr.
std::string Picture(const std::string& id, const std::string& embed = "rIdImage1",
                    const std::string& spPr = "<a:prstGeom prst=\"rect\"/>", const std::string& wrap = "");
// A table of one row of cells, each given by its inner XML.
std::string Table(const std::vector<std::string>& cells, const std::string& tblPr = "<w:tblPr/>",
                  const std::string& tblGrid = "<w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid>");

class Package {
public:
    // [Content_Types].xml, _rels/.rels, word/document.xml,
    // word/_rels/document.xml.rels and word/styles.xml.
    Package();

    Package& set(const std::string& name, const std::string& bytes);  // replaces, or adds at the end
    Package& add(const std::string& name, const std::string& bytes);  // adds at the end, even a name it has
    Package& remove(const std::string& name);
    // Replaces the first `from` in the entry (which must hold it).
    Package& replace(const std::string& name, const std::string& from, const std::string& to);
    // Replaces every `from` in every entry.
    Package& replaceAll(const std::string& from, const std::string& to);
    const std::string& get(const std::string& name) const;

    Package& body(const std::string& body, const std::string& sectPr = kSectPr);
    // Adds a <Default/> or <Override/> to [Content_Types].xml.
    Package& type(const std::string& xml);
    // Adds a relationship of `source` ("" for the package), making its
    // relationships part when it has none.
    Package& relate(const std::string& source, const std::string& relationship);
    // word/<name>, related to the document as `id` by a relationship of type
    // `kind` ("header", "settings"), with the content type of that kind.
    Package& part(const std::string& name, const std::string& xml, const std::string& kind = "header",
                  const std::string& id = "rIdHeader1");
    // word/media/image1.png, related to the document as rIdImage1.
    Package& image();

    // Entries in order, deflated or stored, with their true CRCs and sizes.
    std::vector<raw_zip::Entry> entries(bool deflate = true) const;
    std::string zip() const { return raw_zip::Write(entries()); }

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

// The package in the strict namespaces (WordprocessingML, relationship
// references and types), declared conformant.
Package Strict(Package package);

cli::CheckReport Check(const std::string& archive, bool strict = false, size_t shownPerRule = 10);

using Make = std::function<std::string()>;

enum class Rated {
    Error,        // with and without strict
    Warning,      // with and without strict
    StrictError,  // a warning, an error with strict
};

// A package that breaks one thing, and the one finding it must give.
struct FaultCase {
    const char* name;
    const char* rule;
    const char* part;
    Rated rated;
    const char* message;  // a telling piece of it
    Make archive;
};

// Checks each case with and without strict: exactly the one finding, as
// rated. Then writes the package to ${VEXWORD_OUT_DIR}/cli/faults/: as
// <name>.fault when any strict judge of packages fails it (an error of the
// zip, xml, types, rels or structure rule), else as <name>.ours.
void ExpectSoleFindings(const std::vector<FaultCase>& cases);
// Each package passes with no finding at all, also with strict.
void ExpectNoFindings(const std::vector<std::pair<const char*, Make>>& packages);

}  // namespace check_packages
