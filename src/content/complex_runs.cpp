#include "content/complex_runs.h"

#include <cstring>

#include "content/sibling_walk.h"

namespace {

bool IsRun(pugi::xml_node n) { return n.type() == pugi::node_element && std::strcmp(n.name(), "w:r") == 0; }

bool IsFieldMarker(pugi::xml_node run) {
    const int s = Run_GetFieldSeparator(run);
    return s == FieldSeparatorBegin || s == FieldSeparatorEnd;
}

FieldMarkerMemoEntry* EntryFor(FieldMarkerMemo& memo, pugi::xml_node parent) {
    for (FieldMarkerMemoEntry& e : memo.entries)
        if (e.run && e.run.parent() == parent) return &e;
    return nullptr;
}

// Kept per parent, so that walks over the runs of one paragraph nested in a
// walk over another keep their places.
void Remember(FieldMarkerMemo& memo, pugi::xml_node run, pugi::xml_node marker) {
    FieldMarkerMemoEntry* entry = EntryFor(memo, run.parent());
    if (!entry) {
        entry = &memo.entries[memo.next];
        memo.next = (memo.next + 1) % FieldMarkerMemo::kEntries;
    }
    *entry = FieldMarkerMemoEntry{run, marker};
}

// The last begin or end run before `run`.
pugi::xml_node MarkerBefore(FieldMarkerMemo& memo, pugi::xml_node run) {
    const FieldMarkerMemoEntry* known = EntryFor(memo, run.parent());
    for (pugi::xml_node n = run.previous_sibling(); n; n = n.previous_sibling()) {
        if (known && n == known->run) return known->marker;
        if (IsRun(n) && IsFieldMarker(n)) return n;
    }
    return pugi::xml_node();
}

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\f' || c == '\n' || c == '\r' || c == '\t' || c == '\v';
}

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

}  // namespace

void FieldMarkerMemo_Clear(FieldMarkerMemo& memo) { memo = FieldMarkerMemo(); }

std::vector<pugi::xml_node> Run_FindComplexParts(pugi::xml_node run, FieldMarkerMemo& memo) {
    std::vector<pugi::xml_node> parts;
    if (!IsRun(run)) return parts;
    const int own = Run_GetFieldSeparator(run);
    pugi::xml_node begin;
    if (own == FieldSeparatorBegin) {
        begin = run;
        Remember(memo, run, run);
    } else {
        pugi::xml_node marker = MarkerBefore(memo, run);
        if (marker && Run_GetFieldSeparator(marker) == FieldSeparatorBegin) begin = marker;
        Remember(memo, run, own == FieldSeparatorEnd ? run : marker);
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
