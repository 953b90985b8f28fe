// What the example host programs share: finding the plug-in and reporting
// host exceptions the way a host program's error handler would.
#pragma once

#include <string>
#include <vector>

#include <vexrt/runtime.h>

namespace example {

// The plug-in library: $VEXWORD_PLUGIN when set, else the one installed
// beside the program (../lib/ from its own folder), else the one this build
// made.
std::string PluginPath();

// "WordException -3: Could not open internal file in document: ..."
std::string Describe(const vexrt::HostException& e);

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

}  // namespace example
