#include "check/check_command.h"

#include "check/package_check.h"

namespace cli {

const char* const kCheckHelp =
    "Reads each package as the strictest word processors do and prints one line per\n"
    "finding, FILE: PART: RULE: error|warning: MESSAGE (line L, column C), then\n"
    "FILE: passed (...) or FILE: failed (...). A file fails on any error.\n"
    "\n"
    "rules:\n"
    "  zip        a readable archive: CRCs, no duplicate names (also by case), no\n"
    "             encrypted entries, only stored or deflated, no '..', leading '/'\n"
    "             or backslash in names\n"
    "  xml        .xml and .rels parts well-formed XML 1.0 with namespaces, no\n"
    "             DOCTYPE, UTF-8 or UTF-16; prefixes named in mc:Ignorable,\n"
    "             mc:ProcessContent, mc:MustUnderstand and mc:Choice Requires declared\n"
    "  types      every part has a content type, no Override for a missing part,\n"
    "             no duplicates; parts have the type their relationship expects\n"
    "  rels       internal targets exist, ids unique per relationships part, one\n"
    "             main document; every r:id, r:embed, r:link and o:relid of a part\n"
    "             names a relationship of that part, of the right type\n"
    "  order      children in the schema's sequence: a warning, an error with\n"
    "             --strict (inside w:rPr, where any order is allowed, only a warning)\n"
    "  structure  a table has w:tblPr and w:tblGrid; cells and text boxes hold a\n"
    "             paragraph and a cell ends with one; a header, footer or note with\n"
    "             no paragraph is a warning (an error with --strict); wraps and\n"
    "             preset geometry carry their required attributes\n"
    "  ids        wp:docPr ids unique 32-bit numbers, bookmark ids unique in their\n"
    "             part; reused drawing ids, relationship ids that are not xsd:IDs\n"
    "             and unpaired bookmarks are warnings (errors with --strict)\n"
    "  page       page sides from 1 to 31680 twips (22 in), margins that leave room\n"
    "             for text\n"
    "\n"
    "options:\n"
    "  --strict   for documents made from scratch: order slips, reused ids and\n"
    "             the other warnings marked above fail the file\n"
    "  --json     one JSON document: {\"files\":[{\"file\",\"passed\",\"errors\",\n"
    "             \"warnings\",\"findings\":[{\"part\",\"rule\",\"severity\",\"message\",\n"
    "             \"line\",\"column\"}]}],\"passed\",\"failed\"}\n"
    "\n"
    "Exit status: 0 every file passed, 1 a file failed, 2 usage error.\n";

int Check_Command(const std::vector<std::string>& args, std::ostream& out, std::ostream& errors) {
    CheckOptions options;
    bool json = false, operandsOnly = false;
    std::vector<std::string> files;
    for (const std::string& a : args) {
        if (!operandsOnly && a == "--strict") {
            options.strict = true;
        } else if (!operandsOnly && a == "--json") {
            json = true;
        } else if (!operandsOnly && a == "--") {
            operandsOnly = true;
        } else if (!operandsOnly && a.size() > 1 && a[0] == '-') {
            errors << "check does not take " << a << "\n";
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) {
        errors << "check takes one or more FILE.docx\n";
        return 2;
    }
    std::vector<CheckReport> reports;
    bool failed = false;
    for (const std::string& f : files) {
        CheckReport report = Check_PackageFile(f, options);
        failed |= !report.passed();
        if (json)
            reports.push_back(std::move(report));
        else
            out << CheckReport_Text(report) << std::flush;
    }
    if (json) out << CheckReports_Json(reports);
    return failed ? 1 : 0;
}

}  // namespace cli
