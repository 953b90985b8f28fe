// A pugixml writer that collects the printed bytes in one string.
#pragma once

#include <string>

#include <pugixml.hpp>

#include "package/discarded_nodes.h"

namespace Word {

class xml_string_writer : public pugi::xml_writer {
public:
    std::string result;

    void write(const void* data, size_t size) override {
        result.append(static_cast<const char*>(data), size);
    }
};

// How every part is parsed: the defaults plus whitespace-only text kept
// (a run of one blank must survive a load and save).
constexpr unsigned int kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata;

// Prints a DOM as a part is stored: no added indentation, no XML declaration,
// without the holder of removed elements.
inline void PrintPart(const pugi::xml_document& xml, pugi::xml_writer& writer) {
    Xml_PrintDocument(xml, writer);
}

}  // namespace Word
