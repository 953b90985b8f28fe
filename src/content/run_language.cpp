#include "content/run_language.h"

#include <cstring>

#include "format/schema_order.h"
#include "format/xml_helpers.h"

std::string Run_GetLanguageCode(pugi::xml_node run) {
    return run.child("w:rPr").child("w:lang").attribute("w:val").value();
}

void Run_SetLanguageCode(pugi::xml_node run, std::string_view code) {
    if (!run) return;
    if (code.empty()) {
        pugi::xml_node rPr = run.child("w:rPr");
        rPr.remove_child("w:lang");
        return;
    }
    pugi::xml_node lang = ChildInOrder(PrependChildIfNeeded(run, "w:rPr"), "w:lang", ChildOrder::RunProperties);
    WriteAttribute(lang, "w:val", code);
}

void Paragraph_SetLanguageCode(pugi::xml_node paragraph, std::string_view code, bool setOnRuns) {
    if (!paragraph) return;
    pugi::xml_node pPr = PrependChildIfNeeded(paragraph, "w:pPr");
    if (code.empty()) {
        pPr.child("w:rPr").remove_child("w:lang");
    } else {
        pugi::xml_node markProperties = ChildInOrder(pPr, "w:rPr", ChildOrder::ParagraphProperties);
        WriteAttribute(ChildInOrder(markProperties, "w:lang", ChildOrder::RunProperties), "w:val", code);
    }
    if (!setOnRuns) return;
    for (pugi::xml_node child = paragraph.first_child(); child; child = child.next_sibling()) {
        if (std::strcmp(child.name(), "w:r") == 0) {
            Run_SetLanguageCode(child, code);
        } else if (std::strcmp(child.name(), "w:hyperlink") == 0) {
            for (pugi::xml_node run = child.child("w:r"); run; run = run.next_sibling("w:r"))
                Run_SetLanguageCode(run, code);
        }
    }
}
