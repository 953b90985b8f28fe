#include "content/tab_segments.h"

#include "content/run_text.h"

int64_t Run_TabSegmentCount(pugi::xml_node run) {
    int64_t n = 0;
    for (pugi::xml_node t = run.child("w:t"); t; t = t.next_sibling("w:t")) ++n;
    return n;
}

pugi::xml_node Run_TabSegment(pugi::xml_node run, int64_t index) {
    if (index < 0) return pugi::xml_node();
    for (pugi::xml_node t = run.child("w:t"); t; t = t.next_sibling("w:t"))
        if (index-- == 0) return t;
    return pugi::xml_node();
}

void TabSegment_SetText(pugi::xml_node segment, std::string_view value) {
    if (!segment) return;
    segment.remove_attribute("xml:space");
    if (value.empty()) {
        while (segment.first_child()) segment.remove_child(segment.first_child());
        return;
    }
    segment.text().set(value.data(), value.size());
    if (Text_NeedsPreserve(value)) segment.append_attribute("xml:space").set_value("preserve");
}
