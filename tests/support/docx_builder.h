// Building the .docx packages tests read, and looking into the ones they
// write.
//
//   DocxParts parts;
//   parts.body = "<w:p><w:r><w:t>Hello</w:t></w:r></w:p>";
//   write_docx(path("in.docx"), parts);
//
// The package is minimal and valid: [Content_Types].xml, _rels/.rels,
// word/document.xml (its w:body holding `body` and, unless told otherwise, a
// default w:sectPr), word/_rels/document.xml.rels and word/styles.xml, plus
// the optional parts asked for. Damaged packages come from `omit` and
// `overrides`.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

// The namespace declarations of the document element of every part the
// builder writes (w, r, wp, a, pic, mc, v, o, w10, w14, wp14, wps, wpg).
extern const char* const kDocxNamespaces;

struct DocxHeaderPart {
    std::string type = "default";  // "default", "first" or "even"
    std::string xml;               // inner XML of w:hdr / w:ftr
};

struct DocxParts {
    std::string body;            // inner XML of w:body
    bool appendSectPr = true;    // end the body with a default w:sectPr (with the header
                                 // and footer references below)
    std::string styles;          // word/styles.xml; empty: a minimal one with "Normal"
    std::string numbering;       // word/numbering.xml; empty: none
    std::string core;            // docProps/core.xml; empty: none
    // word/header1.xml..., word/footer1.xml...: relationship ids rIdHeader1...,
    // rIdFooter1...
    std::vector<DocxHeaderPart> headers, footers;
    std::string documentRelationships;  // more <Relationship/> elements for document.xml.rels
    std::vector<std::pair<std::string, std::string>> extraEntries;  // name, bytes; at the end
    std::set<std::string> omit;                       // entries left out
    std::map<std::string, std::string> overrides;     // entry name -> bytes written instead
};

// A table as word processors write it, for body snippets: w:tblPr, w:tblGrid
// with one w:gridCol per column of the widest row, then the rows. Each cell
// is given by its inner XML (w:tcPr and blocks); an empty one gets an empty
// paragraph, since a cell holds at least one.
std::string docx_table(const std::vector<std::vector<std::string>>& rows);

// Documents made from scratch (a test that starts from Document.Create, and
// every copy it saves of that document) are named *.new.docx: CI judges
// them with the checker's strict order check, every other .docx without it.
extern const char* const kFromScratchSuffix;  // ".new.docx"
// Whether the file name ends in .new.docx; in .docx (files CI checks).
bool is_from_scratch_name(const std::string& name);
bool is_docx_name(const std::string& name);

// Writes the package (entries deflated); throws std::runtime_error on failure.
void write_docx(const std::string& path, const DocxParts& parts);
void write_docx(const std::string& path, const std::string& bodyXml);

// Entry names of a ZIP archive in their order; throws when it cannot be read.
std::vector<std::string> zip_entries(const std::string& path);
// The bytes of one entry; throws when the archive or the entry is missing.
std::string zip_read(const std::string& path, const std::string& name);

// Whether /usr/bin/python3 can import python-docx.
bool python_docx_available();
// The body paragraph texts python-docx reads from a .docx. Without
// python-docx the calling test is marked skipped and the list is empty (put
// SKIP_WITHOUT_PYTHON_DOCX() first in the test to stop it right there); a
// file python-docx cannot open is a test failure.
std::vector<std::string> python_docx_paragraphs(const std::string& path);

// Runs a Python script with python-docx at hand (`import docx` is up to the
// script) and returns what it printed. Without python-docx the calling test
// is marked skipped and the result is empty; a failing script is a test
// failure.
std::string python_docx_run(const std::string& script, const std::vector<std::string>& args);

#define SKIP_WITHOUT_PYTHON_DOCX()                                        \
    do {                                                                  \
        if (!python_docx_available()) GTEST_SKIP() << "python-docx is not installed"; \
    } while (false)
