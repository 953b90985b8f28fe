// The text of a paragraph as a reader sees it, hyperlinks included: what
// vexword's commands read paragraphs with.
#pragma once

#include <string>
#include <vector>

#include <vexrt/runtime.h>

namespace cli {

// Whether a paragraph item is a Hyperlink, and the text of its runs.
bool IsHyperlink(vexrt::Runtime& rt, const vexrt::Object& item);
std::string HyperlinkText(vexrt::Runtime& rt, const vexrt::Object& link);

// Paragraph.Text holds the paragraph's own runs: a paragraph with
// hyperlinks is put together from its logical items (a field counting
// once, by the text it shows).
std::string ParagraphText(vexrt::Runtime& rt, const vexrt::Object& paragraph);

// Paragraph texts of a container, one per paragraph, the text of its
// hyperlinks in place.
std::vector<std::string> ParagraphTexts(vexrt::Runtime& rt, const vexrt::Object& container);

}  // namespace cli
