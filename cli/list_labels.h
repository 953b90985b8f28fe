// The paragraphs of a container as a reader sees them: a list paragraph
// with its label in front ("1.", "a.", "•"), indented two spaces a level.
// The texts come through the runtime; the labels from the package itself
// (package_list_labels.h), matched to the runtime's paragraphs by order.
#pragma once

#include <string>
#include <vector>

#include <vexrt/runtime.h>

#include "package_list_labels.h"

namespace cli {

std::vector<std::string> LabelledParagraphTexts(vexrt::Runtime& rt, const vexrt::Object& container,
                                                const StoryLabels& labels);

}  // namespace cli
