// Placeholders a word processor split across runs (a proofing mark or a
// change of format in the middle of one), found and filled through the
// plug-in's registered members alone: runs are read and written through
// Run.Text.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <vexrt/runtime.h>

namespace cli {

// Runs whose texts may be joined: consecutive text runs of one paragraph,
// or of one hyperlink. Runs of a field, runs holding a picture, a shape or
// a page break end a group and belong to none.
struct RunGroup {
    std::vector<vexrt::Object> runs;
    std::vector<std::string> texts;  // Run.Text of each
};

// The groups of one paragraph, in order.
std::vector<RunGroup> Paragraph_RunGroups(vexrt::Runtime& rt, const vexrt::Object& paragraph);

// For each name, the number of paragraphs in which it occurs only across
// runs: not whole in the text of any one run, but in the paragraph's text
// once its runs are joined. Names without such paragraphs are left out.
std::map<std::string, int> SplitPlaceholders_Find(vexrt::Runtime& rt, const vexrt::Object& doc,
                                                  const std::vector<std::string>& names);

// Replaces every occurrence of each name that spans runs of one group: the
// value goes into the first run that holds part of it (keeping that run's
// formatting) and the rest of the name leaves the following runs. Returns
// the number of occurrences replaced.
int SplitPlaceholders_Fill(vexrt::Runtime& rt, const vexrt::Object& doc,
                           const std::vector<std::pair<std::string, std::string>>& pairs);

// Replaces the spanning occurrences of `name` in one group; the number
// replaced. Runs whose text does not change are not written.
int RunGroup_FillAcross(vexrt::Runtime& rt, RunGroup& group, const std::string& name, const std::string& value);

}  // namespace cli
