#include "paragraph_text.h"

namespace cli {

bool IsHyperlink(vexrt::Runtime& rt, const vexrt::Object& item) {
    return rt.className(item) == "VexlomarWord.Hyperlink";
}

std::string HyperlinkText(vexrt::Runtime& rt, const vexrt::Object& link) {
    std::string text;
    const int64_t runs = rt.get(link, "RunCount").integer();
    for (int64_t i = 0; i < runs; ++i) text += rt.get(rt.call(link, "Run", {i}).object(), "Text").text();
    return text;
}

std::string ParagraphText(vexrt::Runtime& rt, const vexrt::Object& p) {
    const vexrt::ModuleInfo* m = rt.module();
    if (!m || !m->findClass("Hyperlink")) return rt.get(p, "Text").text();
    std::string text;
    bool links = false;
    const int64_t items = rt.get(p, "LogicalParagraphItemCount").integer();
    for (int64_t i = 0; i < items; ++i) {
        vexrt::Object item = rt.call(p, "LogicalParagraphItem", {i}).object();
        if (!item) continue;
        if (IsHyperlink(rt, item)) {
            links = true;
            text += HyperlinkText(rt, item);
        } else {
            text += rt.get(item, "Text").text();
        }
    }
    return links ? text : rt.get(p, "Text").text();
}

std::vector<std::string> ParagraphTexts(vexrt::Runtime& rt, const vexrt::Object& container) {
    std::vector<std::string> texts;
    const auto count = rt.get(container, "ParagraphCount").integer();
    for (int64_t i = 0; i < count; ++i) {
        vexrt::Object p = rt.call(container, "Paragraph", {i}).object();
        texts.push_back(p ? ParagraphText(rt, p) : std::string());
    }
    return texts;
}

}  // namespace cli
