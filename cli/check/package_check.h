// `vexword check`: reads a .docx package as the strictest readers do and
// reports what they would refuse or repair. The rules, by name:
//   zip        the archive: readable, CRCs, names (unique, also by case;
//              no "..", leading "/" or backslash), no encryption, only
//              stored or deflated entries
//   xml        every .xml and .rels part well-formed XML 1.0 with
//              namespaces, no DOCTYPE, UTF-8 or UTF-16; prefixes named in
//              mc:Ignorable, mc:ProcessContent, mc:MustUnderstand and
//              mc:Choice Requires declared; the main part is a w:document
//   types      [Content_Types].xml gives every part a type, names no
//              missing part, repeats nothing; parts have the type their
//              relationship expects
//   rels       targets exist, ids unique per relationships part, one main
//              document; every r:id, r:embed, r:link and o:relid of a part
//              names a relationship of that part, of the right type
//   order      children in the schema's sequence (a warning; an error with
//              --strict, but never inside w:rPr, where the schema allows any
//              order)
//   structure  what the schema requires: w:tblPr and w:tblGrid in a table,
//              a paragraph in cells, text boxes, headers, footers and notes,
//              a cell ending with a paragraph, required attributes
//   ids        wp:docPr ids unique 32-bit numbers; bookmark ids unique in
//              their part and paired
//   page       page sizes and margins that a page can have
#pragma once

#include <string>

#include "check/check_report.h"

namespace cli {

// Checks the package file at `path`; the report names it `path`.
CheckReport Check_PackageFile(const std::string& path, const CheckOptions& options);
// Checks the package `bytes`; the report names it `name`.
CheckReport Check_PackageBytes(const std::string& name, const std::string& bytes, const CheckOptions& options);

}  // namespace cli
