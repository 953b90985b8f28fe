#include "content/fields.h"

#include <cstdio>

#include "content/run_text.h"

const char* const kDateFieldInstruction = "DATE   \\* MERGEFORMAT";

std::string Field_TimeInstruction() { return "TIME  \\@ \"HH:mm:ss\"  \\* MERGEFORMAT"; }

std::string Field_HyperlinkInstruction(std::string_view url) {
    std::string instruction = "HYPERLINK \"";
    instruction += url;
    instruction += '"';
    return instruction;
}

std::string Field_TimeText(int hours, int minutes, int seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", hours, minutes, seconds);
    return text;
}

bool Field_IsValidTime(int64_t hours, int64_t minutes, int64_t seconds) {
    // As unsigned, negative components are out of range too.
    return uint64_t(hours) <= 23 && uint64_t(minutes) <= 59 && uint64_t(seconds) <= 59;
}

namespace {

pugi::xml_node AppendFieldChar(pugi::xml_node paragraph, const char* type) {
    pugi::xml_node run = paragraph.append_child("w:r");
    run.append_child("w:fldChar").append_attribute("w:fldCharType").set_value(type);
    return run;
}

}  // namespace

pugi::xml_node Paragraph_AppendSpecialField(pugi::xml_node paragraph, std::string_view instruction,
                                            std::string_view displayText, std::vector<pugi::xml_node>& parts) {
    parts.clear();
    if (!paragraph) return pugi::xml_node();
    parts.push_back(AppendFieldChar(paragraph, "begin"));

    pugi::xml_node instructionRun = InternalAddRun(paragraph, std::nullopt, std::nullopt, true);
    pugi::xml_node instr = instructionRun.append_child("w:instrText");
    instr.append_attribute("xml:space").set_value("preserve");
    instr.text().set(instruction.data(), instruction.size());
    parts.push_back(instructionRun);

    parts.push_back(AppendFieldChar(paragraph, "separate"));

    pugi::xml_node result = InternalAddRun(paragraph, displayText, std::nullopt, true);
    // The result is recomputed by the reader; no spelling marks on it.
    result.child("w:rPr").prepend_child("w:noProof");
    parts.push_back(result);

    parts.push_back(AppendFieldChar(paragraph, "end"));
    return result;
}
