#include "content/complex_runs.h"

#include <cstring>

#include "content/position_cache.h"
#include "content/sibling_walk.h"

namespace {

bool IsRun(pugi::xml_node n) { return n.type() == pugi::node_element && std::strcmp(n.name(), "w:r") == 0; }

bool IsFieldMarker(pugi::xml_node run) {
    const int s = Run_GetFieldSeparator(run);
    return s == FieldSeparatorBegin || s == FieldSeparatorEnd;
}

// For a run: the last begin or end run at or before it among its siblings
// (empty when there is none). Kept per parent for a few paragraphs, so that
// walks over the runs of one paragraph nested in a walk over another keep
// their places; valid for one generation of the position cache.
struct MarkerMemo {
    pugi::xml_node run;
    pugi::xml_node marker;
    uint64_t generation = 0;
};
constexpr int kMemos = 4;
MarkerMemo g_memos[kMemos];
int g_nextMemo = 0;

MarkerMemo* MemoFor(pugi::xml_node parent, uint64_t generation) {
    for (MarkerMemo& m : g_memos)
        if (m.generation == generation && m.run && m.run.parent() == parent) return &m;
    return nullptr;
}

void Remember(pugi::xml_node run, pugi::xml_node marker) {
    const uint64_t generation = PositionCache_Generation();
    MarkerMemo* memo = MemoFor(run.parent(), generation);
    if (!memo) {
        memo = &g_memos[g_nextMemo];
        g_nextMemo = (g_nextMemo + 1) % kMemos;
    }
    *memo = MarkerMemo{run, marker, generation};
}

// The last begin or end run before `run`.
pugi::xml_node MarkerBefore(pugi::xml_node run) {
    const MarkerMemo* memo = MemoFor(run.parent(), PositionCache_Generation());
    for (pugi::xml_node n = run.previous_sibling(); n; n = n.previous_sibling()) {
        if (memo && n == memo->run) return memo->marker;
        if (IsRun(n) && IsFieldMarker(n)) return n;
    }
    return pugi::xml_node();
}

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\f' || c == '\n' || c == '\r' || c == '\t' || c == '\v';
}

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

}  // namespace

std::vector<pugi::xml_node> Run_FindComplexParts(pugi::xml_node run) {
    std::vector<pugi::xml_node> parts;
    if (!IsRun(run)) return parts;
    const int own = Run_GetFieldSeparator(run);
    pugi::xml_node begin;
    if (own == FieldSeparatorBegin) {
        begin = run;
        Remember(run, run);
    } else {
        pugi::xml_node marker = MarkerBefore(run);
        if (marker && Run_GetFieldSeparator(marker) == FieldSeparatorBegin) begin = marker;
        Remember(run, own == FieldSeparatorEnd ? run : marker);
    }
    if (!begin) return parts;
    parts.push_back(begin);
    for (pugi::xml_node n = begin.next_sibling(); n; n = n.next_sibling()) {
        if (!IsRun(n)) continue;
        parts.push_back(n);
        if (Run_GetFieldSeparator(n) == FieldSeparatorEnd) break;
    }
    return parts;
}

pugi::xml_node ComplexParts_TextRun(const std::vector<pugi::xml_node>& parts) {
    if (parts.empty()) return pugi::xml_node();
    const bool ended = parts.size() >= 2 && Run_GetFieldSeparator(parts.back()) == FieldSeparatorEnd;
    return ended ? parts[parts.size() - 2] : parts.back();
}

pugi::xml_node ComplexParts_InstructionRun(const std::vector<pugi::xml_node>& parts) {
    return parts.size() >= 2 ? parts[1] : pugi::xml_node();
}

std::string Run_GetInstrText(pugi::xml_node run) { return run.child("w:instrText").text().get(); }

ComplexRunFieldType ComplexParts_FieldType(const std::vector<pugi::xml_node>& parts) {
    pugi::xml_node instr = ComplexParts_InstructionRun(parts).child("w:instrText");
    if (!instr) return ComplexRunFieldNone;
    const char* text = instr.text().get();
    while (*text && IsAsciiSpace(*text)) ++text;
    if (StartsWith(text, "DATE")) return ComplexRunFieldDate;
    if (StartsWith(text, "TIME")) return ComplexRunFieldTime;
    if (StartsWith(text, "HYPERLINK")) return ComplexRunFieldHyperlink;
    if (StartsWith(text, "PAGE")) return ComplexRunFieldPageNumber;
    if (StartsWith(text, "NUMPAGES")) return ComplexRunFieldPageCount;
    return ComplexRunFieldUnknown;
}

std::string ComplexParts_FieldData(const std::vector<pugi::xml_node>& parts) {
    const std::string instr = Run_GetInstrText(ComplexParts_InstructionRun(parts));
    const size_t first = instr.find('"');
    if (first == std::string::npos) return std::string();
    const size_t last = instr.rfind('"');
    if (last == first) return instr.substr(first + 1);
    return instr.substr(first + 1, last - first - 1);
}
