#include "content/complex_runs.h"

#include <cstring>

#include "content/sibling_walk.h"

namespace {

bool IsRun(pugi::xml_node n) { return n.type() == pugi::node_element && std::strcmp(n.name(), "w:r") == 0; }

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\f' || c == '\n' || c == '\r' || c == '\t' || c == '\v';
}

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

}  // namespace

ComplexParts ComplexParts_Of(std::vector<pugi::xml_node> runs) {
    ComplexParts parts;
    parts.count = runs.size();
    parts.runs = std::make_shared<const std::vector<pugi::xml_node>>(std::move(runs));
    return parts;
}

pugi::xml_node ComplexParts_At(const ComplexParts& parts, size_t index) {
    return index < parts.count ? (*parts.runs)[parts.first + index] : pugi::xml_node();
}

std::vector<pugi::xml_node> ComplexParts_Nodes(const ComplexParts& parts) {
    if (!parts.count) return {};
    auto first = parts.runs->begin() + std::ptrdiff_t(parts.first);
    return std::vector<pugi::xml_node>(first, first + std::ptrdiff_t(parts.count));
}

ComplexParts Run_FindComplexParts(pugi::xml_node run, FieldCharsCache& cache) {
    ComplexParts parts;
    if (!IsRun(run)) return parts;
    FieldChars& chars = FieldCharsCache_For(cache, run.parent());
    const int64_t k = FieldChars_IndexOf(chars, run);
    if (k < 0) return parts;
    const int64_t begin = chars.owner[size_t(k)];
    if (begin < 0) return parts;
    const int64_t end = chars.end[size_t(begin)];
    const int64_t last = end >= 0 ? end : int64_t(chars.runs->size()) - 1;
    parts.runs = chars.runs;
    parts.first = size_t(begin);
    parts.count = size_t(last - begin + 1);
    return parts;
}

pugi::xml_node ComplexParts_TextRun(const ComplexParts& parts) {
    if (!parts.count) return pugi::xml_node();
    const bool ended =
        parts.count >= 2 && Run_GetFieldSeparator(ComplexParts_At(parts, parts.count - 1)) == FieldSeparatorEnd;
    return ComplexParts_At(parts, ended ? parts.count - 2 : parts.count - 1);
}

pugi::xml_node ComplexParts_InstructionRun(const ComplexParts& parts) {
    return parts.count >= 2 ? ComplexParts_At(parts, 1) : pugi::xml_node();
}

std::string Run_GetInstrText(pugi::xml_node run) { return run.child("w:instrText").text().get(); }

ComplexRunFieldType ComplexParts_FieldType(const ComplexParts& parts) {
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

std::string ComplexParts_FieldData(const ComplexParts& parts) {
    const std::string instr = Run_GetInstrText(ComplexParts_InstructionRun(parts));
    const size_t first = instr.find('"');
    if (first == std::string::npos) return std::string();
    const size_t last = instr.rfind('"');
    if (last == first) return instr.substr(first + 1);
    return instr.substr(first + 1, last - first - 1);
}
