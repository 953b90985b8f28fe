// The paragraphs of a container as a reader sees them: a list paragraph
// with its label in front ("1.", "a.", "•"), indented by its level.
//
// A host program learns of a paragraph's list only what the plug-in's
// members say: the list's number type at the paragraph's level
// (ListIndent.Type) and the level (ListIndent.Level). The label is counted
// from those; the level texts and start values of the numbering part are
// not visible to a host, so a level reads "%N." (or "•") from 1, and a list
// is taken to end where a paragraph outside any list comes, or where the
// first level changes between bullets and numbers.
#pragma once

#include <string>
#include <vector>

#include <vexrt/runtime.h>

namespace example {

std::vector<std::string> LabelledParagraphTexts(vexrt::Runtime& rt, const vexrt::Object& container);

}  // namespace example
