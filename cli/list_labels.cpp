#include "list_labels.h"

#include "paragraph_text.h"

namespace cli {

std::vector<std::string> LabelledParagraphTexts(vexrt::Runtime& rt, const vexrt::Object& container,
                                                const StoryLabels& labels) {
    std::vector<std::string> texts;
    const auto count = rt.get(container, "ParagraphCount").integer();
    for (int64_t i = 0; i < count; ++i) {
        vexrt::Object p = rt.call(container, "Paragraph", {i}).object();
        const std::string text = p ? ParagraphText(rt, p) : std::string();
        const size_t index = static_cast<size_t>(i);
        if (index >= labels.size() || labels[index].label.empty()) {
            texts.push_back(text);
            continue;
        }
        const ParagraphLabel& label = labels[index];
        texts.push_back(std::string(static_cast<size_t>(label.level) * 2, ' ') + label.label + " " + text);
    }
    return texts;
}

}  // namespace cli
