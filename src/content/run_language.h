// Writing the language of runs and paragraphs ("w:lang" in their run
// properties). Reading the paragraph's language is in language.h.
#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

// "w:val" of the run's w:rPr/w:lang; empty when missing.
std::string Run_GetLanguageCode(pugi::xml_node run);
// A non-empty code goes into the run's w:rPr/w:lang (w:rPr made the run's
// first child and w:lang the first child of w:rPr when missing; an existing
// one keeps its place). An empty code removes w:lang.
void Run_SetLanguageCode(pugi::xml_node run, std::string_view code);

// The paragraph's own language, w:pPr/w:rPr/w:lang (w:pPr and its w:rPr
// made first children when missing; a new w:lang is appended to w:rPr). An
// empty code removes w:lang. With `setOnRuns`, every run of the paragraph,
// also those inside its hyperlinks, gets the code as Run_SetLanguageCode
// writes it.
void Paragraph_SetLanguageCode(pugi::xml_node paragraph, std::string_view code, bool setOnRuns);
