// The fill's floor as a whole process, to be timed beside `vexword fill`:
// the main part of TEMPLATE taken from the archive as stored, inflated and
// parsed, FROM replaced by TO in every w:t, printed, deflated (level 6) and
// written to OUT as a bare deflate stream. No checks, no other entries.
//
//     fill_floor TEMPLATE.docx OUT FROM TO
#include <cstdio>
#include <cstring>
#include <string>

#include <pugixml.hpp>
#include <zip.h>

#include "../floor_codec.h"
#include "package/xml_string_writer.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: fill_floor TEMPLATE.docx OUT FROM TO\n");
        return 2;
    }
    int error = 0;
    zip_t* archive = zip_open(argv[1], ZIP_RDONLY, &error);
    zip_stat_t st;
    if (!archive || zip_stat(archive, "word/document.xml", 0, &st) != 0) return 1;
    std::string compressed(st.comp_size, '\0');
    zip_file_t* entry = zip_fopen(archive, "word/document.xml", ZIP_FL_COMPRESSED);
    if (!entry || zip_fread(entry, &compressed[0], st.comp_size) != static_cast<zip_int64_t>(st.comp_size)) return 1;
    zip_fclose(entry);
    zip_close(archive);

    pugi::xml_document xml;
    Floor_InflateAndParse(compressed, st.size, xml);
    Floor_ReplaceInEveryText(xml.document_element(), argv[3], argv[4]);
    Word::xml_string_writer writer;
    Word::PrintPart(xml, writer);
    const std::string deflated = Floor_Deflate(writer.result);
    FILE* out = std::fopen(argv[2], "wb");
    if (!out || std::fwrite(deflated.data(), 1, deflated.size(), out) != deflated.size()) return 1;
    return std::fclose(out) == 0 ? 0 : 1;
}
