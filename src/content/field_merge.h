// Field-data merge: every occurrence of a placeholder in the text of a
// document's text elements is replaced by data, one w:t at a time.
#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "content/run_content.h"

namespace Word {
class Document;
}

// The replacement of one text element's content. Fills `out` and returns
// true, or returns false to keep the element as it was.
typedef bool (*FieldMergeReplaceProc)(void* context, std::string_view text, std::string& out);

// The merges below hand the replacement many texts at once, joined by a
// character no match can span (one XML forbids, which the name does not
// hold), and fall back to one text at a time when that cannot be done: a
// host call per text element would cost more than the rest of the merge.
struct FieldMerge {
    FieldMergeReplaceProc replace;
    void* context;
    std::string_view fieldName;
};

// Drops the control characters XML forbids (all below U+0020 except tab,
// line feed and carriage return) and turns invalid UTF-8 into U+FFFD, so
// that data never makes a saved part ill-formed.
void FieldData_Clean(std::string& data);

// Every occurrence of `fieldName` in `text` replaced by `data`, left to
// right, into `out`; an empty fieldName leaves the text as it is.
void FieldData_PlainReplace(std::string_view text, std::string_view fieldName, std::string_view data,
                            std::string& out);

// The replacement on one w:t. A text that does not change is not touched;
// a new text that starts or ends with white space gets xml:space="preserve",
// which word processors need to keep those blanks.
void Text_ApplyFieldData(pugi::xml_node t, const FieldMerge& merge);

// Every w:t of the direct runs of the paragraph, and the hyperlinks' runs.
void Paragraph_ApplyFieldData(pugi::xml_node paragraph, const FieldMerge& merge);
// From the first w:r of the hyperlink on, the first w:t of each element.
void ParagraphItemContainer_ApplyFieldData(pugi::xml_node hyperlink, const FieldMerge& merge);
// The paragraphs of every cell, and the tables nested in cells at any depth.
void Table_ApplyFieldData(pugi::xml_node table, const FieldMerge& merge);
// The direct paragraphs and tables of a w:body, w:hdr, w:ftr, w:tc or
// w:txbxContent, in one walk over its children.
void Container_ApplyFieldData(pugi::xml_node container, const FieldMerge& merge);
// The body, then each header part and each footer part once, whichever
// sections refer to it.
void Document_ApplyFieldData(Word::Document& document, const FieldMerge& merge);
// Run merge: the replacement on the run's whole text (tabs and line feeds
// included), written back with Run_SetText only when it changed; so tabs
// and line feeds in data become w:tab and w:br here. A drawing or shape run
// whose text would change reports which it is and stays as it was.
RunTextResult Run_ApplyFieldData(pugi::xml_node run, const FieldMerge& merge);
