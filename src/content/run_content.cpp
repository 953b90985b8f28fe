#include "content/run_content.h"

#include <cstring>

#include "content/run_text.h"

namespace {

bool Named(pugi::xml_node n, const char* name) { return std::strcmp(n.name(), name) == 0; }

// The children that make up a run's text (what Text reads back).
bool IsTextContent(pugi::xml_node n) {
    if (Named(n, "w:t") || Named(n, "w:tab")) return true;
    if (!Named(n, "w:br")) return false;
    pugi::xml_attribute type = n.attribute("w:type");
    return !type || std::strcmp(type.value(), "textWrapping") == 0;
}

}  // namespace

bool Run_IsPageBreak(pugi::xml_node run) {
    return std::strcmp(run.child("w:br").attribute("w:type").value(), "page") == 0;
}

bool Run_IsDrawing(pugi::xml_node run) { return bool(run.child("w:drawing")); }

bool Run_IsShape(pugi::xml_node run) {
    for (pugi::xml_node alt = run.child("mc:AlternateContent"); alt; alt = alt.next_sibling("mc:AlternateContent"))
        for (pugi::xml_node choice = alt.child("mc:Choice"); choice; choice = choice.next_sibling("mc:Choice"))
            if (choice.child("w:drawing")) return true;
    return false;
}

RunTextResult Run_SetText(pugi::xml_node run, std::string_view text) {
    if (run.child("w:drawing")) return RunTextResult::DrawingRun;
    if (run.child("mc:AlternateContent")) return RunTextResult::ShapeRun;
    for (pugi::xml_node child = run.first_child(); child;) {
        pugi::xml_node next = child.next_sibling();
        if (IsTextContent(child)) run.remove_child(child);
        child = next;
    }
    Run_AddTextToRun(run, text);
    return RunTextResult::Written;
}
