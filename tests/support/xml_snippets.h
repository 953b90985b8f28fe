// XML in tests: a snippet parsed from a string, a node printed back on one
// line, and a whole part printed as the library writes it.
//
//   pugi::xml_document doc;
//   pugi::xml_node pPr = xml_load(doc, "<w:pPr><w:jc w:val=\"center\"/></w:pPr>");
//   EXPECT_EQ(xml_print(pPr.child("w:jc")), "<w:jc w:val=\"center\"/>");
#pragma once

#include <string>

#include <pugixml.hpp>

// Parses `xml` into `doc` and returns its root element; a snippet that does
// not parse is a test failure.
pugi::xml_node xml_load(pugi::xml_document& doc, const std::string& xml,
                        unsigned options = pugi::parse_default);
// The node printed raw: no indentation, no line breaks.
std::string xml_print(pugi::xml_node node);
// The document printed as a save writes the part.
std::string xml_print_part(const pugi::xml_document& xml);
