#include "content/sibling_walk.h"

#include <cstring>

namespace {

bool Named(pugi::xml_node n, const char* name) { return std::strcmp(n.name(), name) == 0; }

// Whether `child` takes an index in the walk; `insideField` carries the
// logical-run state from one child to the next.
bool Counts(SiblingWalk walk, pugi::xml_node child, int& insideField) {
    switch (walk) {
    case SiblingWalk::Items: return Named(child, "w:p") || Named(child, "w:tbl");
    case SiblingWalk::Paragraphs: return Named(child, "w:p");
    case SiblingWalk::Tables: return Named(child, "w:tbl");
    case SiblingWalk::Runs: return Named(child, "w:r");
    case SiblingWalk::ParagraphItems: return Named(child, "w:r") || Named(child, "w:hyperlink");
    case SiblingWalk::Rows: return Named(child, "w:tr");
    case SiblingWalk::Cells: return Named(child, "w:tc");
    case SiblingWalk::LogicalParagraphItems:
        // A hyperlink is one item, even between a field's begin and end.
        if (Named(child, "w:hyperlink")) return true;
        [[fallthrough]];
    case SiblingWalk::LogicalRuns: {
        if (!Named(child, "w:r")) return false;
        const int sep = Run_GetFieldSeparator(child);
        if (!insideField) {
            if (sep == FieldSeparatorBegin) {
                insideField = 1;
                return false;
            }
            return true;
        }
        if (sep == FieldSeparatorEnd) {
            insideField = 0;
            return true;
        }
        return false;
    }
    }
    return false;
}

}  // namespace

int Run_GetFieldSeparator(pugi::xml_node run) {
    pugi::xml_node fld = run.child("w:fldChar");
    if (!fld) return FieldSeparatorNone;
    const char* type = fld.attribute("w:fldCharType").value();
    if (std::strcmp(type, "begin") == 0) return FieldSeparatorBegin;
    if (std::strcmp(type, "end") == 0) return FieldSeparatorEnd;
    if (std::strcmp(type, "separate") == 0) return FieldSeparatorSeparate;
    return FieldSeparatorNone;
}

pugi::xml_node SiblingAt(pugi::xml_node parent, SiblingWalk walk, int64_t index, PositionCache& cache) {
    if (!parent || index < 0) return {};
    SiblingPosition pos;
    pugi::xml_node child;
    int64_t counted = 0;
    int state = 0;
    if (PositionCache_Find(cache, parent, walk, index, pos)) {
        if (pos.index == index) return pos.node;
        child = pos.node.next_sibling();
        counted = pos.index + 1;
        state = pos.state;
    } else {
        child = parent.first_child();
    }
    for (; child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element || !Counts(walk, child, state)) continue;
        if (counted == index) {
            PositionCache_Store(cache, parent, walk, SiblingPosition{child, index, state});
            return child;
        }
        ++counted;
    }
    return {};
}

int64_t SiblingCount(pugi::xml_node parent, SiblingWalk walk) {
    int64_t n = 0;
    int state = 0;
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && Counts(walk, child, state)) ++n;
    return n;
}
