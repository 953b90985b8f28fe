// The floor's own steps, shared by the benchmarks that measure against it:
// raw deflate at level 6 (as a package entry is stored) and inflating an
// entry straight into a parsed tree, with no library code in between.
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>

#include <pugixml.hpp>
#include <zlib.h>

#include "package/xml_string_writer.h"

inline std::string Floor_Deflate(const std::string& in) {
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, in.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Inflates `compressed` (whose text is `size` bytes) and parses it in place
// into `xml`, which takes the buffer.
inline void Floor_InflateAndParse(const std::string& compressed, size_t size, pugi::xml_document& xml) {
    char* inflated = static_cast<char*>(std::malloc(size + 1));
    z_stream z{};
    inflateInit2(&z, -MAX_WBITS);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    z.avail_in = static_cast<uInt>(compressed.size());
    z.next_out = reinterpret_cast<Bytef*>(inflated);
    z.avail_out = static_cast<uInt>(size + 1);
    inflate(&z, Z_FINISH);
    const size_t inflatedSize = z.total_out;
    inflateEnd(&z);
    xml.load_buffer_inplace_own(inflated, inflatedSize, Word::kParseOptions, pugi::encoding_auto);
}

// Replaces `from` by `to` in every w:t below `root`, walking the tree
// without recursion.
inline void Floor_ReplaceInEveryText(pugi::xml_node root, const std::string& from, const std::string& to) {
    std::string text, replaced;
    pugi::xml_node node = root;
    while (node) {
        if (std::strcmp(node.name(), "w:t") == 0) {
            text = node.child_value();
            replaced.clear();
            size_t start = 0;
            for (size_t at; (at = text.find(from, start)) != std::string::npos; start = at + from.size())
                replaced.append(text, start, at - start).append(to);
            if (start) {
                replaced.append(text, start, std::string::npos);
                node.text().set(replaced.c_str());
            }
        }
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling()) node = node.parent();
        if (node) node = node.next_sibling();
    }
}
