#include "xml_snippets.h"

#include <sstream>

#include <gtest/gtest.h>

#include "package/xml_string_writer.h"

pugi::xml_node xml_load(pugi::xml_document& doc, const std::string& xml, unsigned options) {
    EXPECT_TRUE(doc.load_string(xml.c_str(), options)) << xml;
    return doc.document_element();
}

std::string xml_print(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

std::string xml_print_part(const pugi::xml_document& xml) {
    Word::xml_string_writer writer;
    Word::PrintPart(xml, writer);
    return writer.result;
}
