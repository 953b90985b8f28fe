// Page breaks and section breaks: the paragraphs that start a new page or
// end a section.
//
// A section ends with a paragraph whose "w:pPr" holds the section's
// "w:sectPr"; the last section's properties are the body's own. Breaking a
// section in two copies its properties into a new paragraph, which then ends
// the first part, and gives the rest (the old properties) the new start type.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

// Fills an empty "w:p" as a page break: one "w:r" holding one "w:br"
// "w:type"="page".
void Paragraph_MakePageBreak(pugi::xml_node paragraph);

// Raised by an attempt to end a section anywhere else than in the body.
constexpr const char* kSectionBreakOutsideBodyMessage = "Section break can only be inserted in the document body";
constexpr int kSectionBreakOutsideBodyNumber = -18;

// Whether `node` is the main document's "w:body", the only place where
// sections end (not a table cell, header, footer or text box).
bool Node_IsDocumentBody(pugi::xml_node node);

// Makes `paragraph` end a section with a copy of `sectPr`, put into its
// "w:pPr" (made when missing) where the schema places it; a "w:sectPr" the
// paragraph had is replaced.
void Paragraph_EndSectionWith(pugi::xml_node paragraph, pugi::xml_node sectPr);

// Makes `sectPr`, whose copy now ends the section before a break, describe
// the section that starts after it: it gets `type`, and loses w:titlePg. A
// first-page header or footer belongs to the first page of the section the
// user made it for, not to the first page of every section split from it.
void Section_StartAfterBreak(pugi::xml_node sectPr, int64_t type);

// The properties of the section that a body child starting at `first` lies
// in: those of the first paragraph from `first` on (itself included) that
// ends a section, else the body's final "w:sectPr". Empty when there is none.
pugi::xml_node Section_EndingFrom(pugi::xml_node body, pugi::xml_node first);

// A new empty paragraph right before or after the body child `item`, ending
// the section it falls in with that section's properties; those properties
// then describe the section that starts after it (Section_StartAfterBreak). Returns the
// paragraph; empty, and nothing changed, when `item` is not a child of
// `body` or no section properties exist.
pugi::xml_node SectionBreak_InsertNextTo(pugi::xml_node body, pugi::xml_node item, bool after, int64_t type);
