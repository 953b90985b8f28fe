#include "content/run_text.h"

#include <string>
#include <vector>

#include "content/language.h"

namespace {

// How far above a hyperlink (or other run holder) the paragraph whose
// language new runs copy is looked for.
constexpr int kParagraphSearchLevels = 5;

pugi::xml_node GoverningParagraph(pugi::xml_node target, bool paragraphMode) {
    if (paragraphMode) return target;
    pugi::xml_node node = target.parent();
    for (int level = 0; level < kParagraphSearchLevels && node; ++level, node = node.parent()) {
        if (std::string_view(node.name()) == "w:p") return node;
    }
    return pugi::xml_node();
}

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Calls `piece` with every piece of `text` between separators, as
// SplitString gives them (an empty one after a trailing separator too).
template <typename Piece>
void ForEachPiece(std::string_view text, char separator, Piece piece) {
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == separator) {
            piece(text.substr(start, i - start));
            start = i + 1;
        }
    }
    piece(text.substr(start));
}

void AppendTextElement(pugi::xml_node run, std::string_view segment) {
    pugi::xml_node t = run.append_child("w:t");
    if (Text_NeedsPreserve(segment)) t.append_attribute("xml:space").set_value("preserve");
    if (!segment.empty()) t.text().set(segment.data(), segment.size());
}

}  // namespace

bool Text_NeedsPreserve(std::string_view segment) {
    return !segment.empty() && (IsAsciiSpace(segment.front()) || IsAsciiSpace(segment.back()));
}

void Run_AddTextToRun(pugi::xml_node run, std::string_view text) {
    if (!run) return;
    // Lines and segments are views of `text`: a run appended costs no copies.
    bool firstLine = true;
    ForEachPiece(text, '\n', [&](std::string_view line) {
        if (!firstLine) run.append_child("w:br").append_attribute("w:type").set_value("textWrapping");
        firstLine = false;
        bool firstSegment = true;
        ForEachPiece(line, '\t', [&](std::string_view segment) {
            if (!firstSegment) run.append_child("w:tab");
            firstSegment = false;
            AppendTextElement(run, segment);
        });
    });
}

pugi::xml_node InternalAddRun(pugi::xml_node target, std::optional<std::string_view> text,
                              std::optional<std::string_view> styleId, bool paragraphMode) {
    if (!target) return pugi::xml_node();
    std::optional<std::string> language = Paragraph_GetLanguageCode(GoverningParagraph(target, paragraphMode));

    // Appended at the end: what the document's caches remember still holds.
    pugi::xml_node run = target.append_child("w:r");
    pugi::xml_node rPr = run.append_child("w:rPr");
    // The style opens the run properties, the language comes late in them.
    if (styleId) {
        rPr.append_child("w:rStyle").append_attribute("w:val").set_value(styleId->data(), styleId->size());
    }
    if (language) {
        rPr.append_child("w:lang").append_attribute("w:val").set_value(language->c_str());
    }
    if (text) Run_AddTextToRun(run, *text);
    return run;
}
