// The parser takes more than XML allows (a name given twice on one element,
// elements or text after the root, names no reader takes, prefixes never
// declared), and a part the library read is saved as it was read: such a
// part is refused at opening rather than saved where no reader opens it.
#pragma once

#include <pugixml.hpp>

struct PartWellFormedness {
    bool wellFormed = false;
    // Some element below the root declares a namespace, so the root's
    // declarations do not tell every binding of the part.
    bool innerDeclarations = false;
};

// Checks a part parsed as a fragment (so that what surrounds the root is
// kept): one root element with nothing but white space beside it (which is
// dropped), element and attribute names that are qualified XML names of
// characters readers take, every prefix declared, declarations readers
// take, and no attribute twice on an element, by name or by namespace and
// local name. One walk of the tree.
// `scanned` is what PartWellFormed_ScanBytes found of the bytes the tree was
// parsed from: when they were sound, only what surrounds the root is
// checked, without a walk of the tree.
PartWellFormedness PartWellFormed_Check(pugi::xml_document& xml, const PartWellFormedness* scanned = nullptr);

// A quick look at a part's bytes before they are parsed: true (wellFormed)
// when every tag is sound as above, and whether an element below the root
// declares a namespace. False means unsure, not refused: anything unusual
// (names beyond ASCII, a document type, UTF-16, many attributes) is left to
// the walk of the tree. Bytes that pass it need no walk.
PartWellFormedness PartWellFormed_ScanBytes(const char* data, size_t size);

// Whether the bytes of a part that a save copies as they are (not written
// from a tree) are XML a strict reader takes: well-formed as above, no
// document type declaration, no entity references but the five predefined
// ones and character references, and nothing the text cleaning would have
// to change (bytes that are not UTF-8, characters XML forbids).
bool PartWellFormed_CheckBytes(const char* data, size_t size);
