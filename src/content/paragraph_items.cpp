#include "content/paragraph_items.h"

#include "content/run_content.h"
#include "package/discarded_nodes.h"

bool Paragraph_IsPageBreak(pugi::xml_node paragraph) {
    pugi::xml_node first = paragraph.child("w:r");
    return first && !first.next_sibling("w:r") && Run_IsPageBreak(first);
}

int64_t Paragraph_GetListIndentLevel(pugi::xml_node paragraph) {
    return paragraph.child("w:pPr").child("w:numPr").child("w:ilvl").attribute("w:val").as_llong();
}

void Paragraph_RemoveRuns(pugi::xml_node paragraph, const std::vector<pugi::xml_node>& runs,
                          DocumentCaches& caches) {
    if (!paragraph) return;
    // Only what is known of this paragraph's children changes (its runs and
    // the fields they pair in): the places of the paragraphs stay.
    PositionCache_ForgetParent(caches.positions, paragraph);
    FieldCharsCache_Clear(caches.fieldChars);
    for (auto run = runs.rbegin(); run != runs.rend(); ++run)
        if (run->parent() == paragraph) Xml_Discard(*run);
}
