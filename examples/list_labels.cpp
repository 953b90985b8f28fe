#include "list_labels.h"

#include "host_program.h"

#include "format/number_labels.h"

namespace example {

namespace {

// NumberingType of the plug-in, as w:numFmt names it.
const char* FormatOfType(int64_t type) {
    switch (type) {
        case 0: return "bullet";
        case 2: return "lowerLetter";
        case 3: return "upperLetter";
        case 4: return "lowerRoman";
        case 5: return "upperRoman";
        default: return "decimal";
    }
}

}  // namespace

std::vector<std::string> LabelledParagraphTexts(vexrt::Runtime& rt, const vexrt::Object& container) {
    std::vector<std::string> texts;
    NumberCounters counters;
    NumberLevel levels[9];
    int64_t firstLevelType = -1;  // of the list being counted; -1: none
    const auto count = rt.get(container, "ParagraphCount").integer();
    for (int64_t i = 0; i < count; ++i) {
        vexrt::Object p = rt.call(container, "Paragraph", {i}).object();
        if (!p) {
            texts.emplace_back();
            continue;
        }
        const std::string text = ParagraphText(rt, p);
        vexrt::Object list = rt.get(p, "ListIndent").object();
        const int64_t level = list ? rt.get(list, "Level").integer() : -1;
        if (level < 0 || level > 8) {
            firstLevelType = -1;
            texts.push_back(text);
            continue;
        }
        const int64_t type = rt.get(list, "Type").integer();
        const bool bullet = type == 0;
        if (level == 0 && firstLevelType >= 0 && (firstLevelType == 0) != bullet) firstLevelType = -1;
        if (firstLevelType < 0) {
            counters = NumberCounters();
            firstLevelType = level == 0 ? type : 1;
        }
        NumberLevel& own = levels[level];
        own.format = FormatOfType(type);
        own.text = bullet ? "\xE2\x80\xA2" : "%" + std::to_string(level + 1) + ".";
        own.start = 1;
        const std::string label = NumberLabel_Next(counters, levels, static_cast<int>(level));
        texts.push_back(std::string(static_cast<size_t>(level) * 2, ' ') + label + " " + text);
    }
    return texts;
}

}  // namespace example
