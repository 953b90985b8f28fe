#include "split_placeholders.h"

#include "cell_walk.h"
#include "paragraph_text.h"

using vexrt::Object;

namespace cli {

namespace {

// A run whose text may join its neighbours'.
bool IsPlainTextRun(vexrt::Runtime& rt, const Object& run) {
    return !rt.get(run, "IsPartOfComplexRun").boolean() && !rt.get(run, "IsDrawing").boolean() &&
           !rt.get(run, "IsShape").boolean() && !rt.get(run, "IsPageBreak").boolean();
}

void AddRun(vexrt::Runtime& rt, const Object& run, std::vector<RunGroup>& groups, bool& open) {
    if (!IsPlainTextRun(rt, run)) {
        open = false;
        return;
    }
    if (!open) groups.emplace_back();
    open = true;
    groups.back().runs.push_back(run);
    groups.back().texts.push_back(rt.get(run, "Text").text());
}

// Every paragraph a fill reaches that the registered members show: the
// body, its tables' cells (nested ones too) and the header and footer of
// each kind (of the final section: the members show no other).
template <class Visit>
void Document_EachParagraph(vexrt::Runtime& rt, const Object& doc, Visit visit) {
    auto each = [&](const Object& paragraph, const std::string&) { visit(paragraph); };
    Container_EachParagraph(rt, doc, "", each);
    for (const char* kind : {"Header", "Footer"})
        for (int type = 0; type < 3; ++type)
            if (Object part = rt.call(doc, kind, {type, false}).object()) Container_EachParagraph(rt, part, "", each);
}

}  // namespace

std::vector<RunGroup> Paragraph_RunGroups(vexrt::Runtime& rt, const Object& paragraph) {
    std::vector<RunGroup> groups;
    bool open = false;
    const int64_t items = rt.get(paragraph, "ParagraphItemCount").integer();
    for (int64_t i = 0; i < items; ++i) {
        Object item = rt.call(paragraph, "ParagraphItem", {i}).object();
        if (!item) continue;
        if (IsHyperlink(rt, item)) {
            // A hyperlink's runs join one another, never the runs around it.
            open = false;
            const int64_t runs = rt.get(item, "RunCount").integer();
            for (int64_t r = 0; r < runs; ++r)
                if (Object run = rt.call(item, "Run", {r}).object()) AddRun(rt, run, groups, open);
            open = false;
        } else {
            AddRun(rt, item, groups, open);
        }
    }
    return groups;
}

std::map<std::string, int> SplitPlaceholders_Find(vexrt::Runtime& rt, const Object& doc,
                                                  const std::vector<std::string>& names) {
    std::map<std::string, int> split;
    Document_EachParagraph(rt, doc, [&](const Object& paragraph) {
        std::vector<std::string> texts;
        std::string joined;
        const int64_t items = rt.get(paragraph, "ParagraphItemCount").integer();
        for (int64_t i = 0; i < items; ++i) {
            Object item = rt.call(paragraph, "ParagraphItem", {i}).object();
            if (!item) continue;
            if (IsHyperlink(rt, item)) {
                const int64_t runs = rt.get(item, "RunCount").integer();
                for (int64_t r = 0; r < runs; ++r)
                    if (Object run = rt.call(item, "Run", {r}).object()) texts.push_back(rt.get(run, "Text").text());
            } else {
                texts.push_back(rt.get(item, "Text").text());
            }
            joined += texts.back();
        }
        for (const std::string& name : names) {
            if (name.empty() || joined.find(name) == std::string::npos) continue;
            bool whole = false;
            for (const std::string& t : texts) whole = whole || t.find(name) != std::string::npos;
            if (!whole) ++split[name];
        }
    });
    return split;
}

int RunGroup_FillAcross(vexrt::Runtime& rt, RunGroup& group, const std::string& name, const std::string& value) {
    if (name.empty() || group.runs.size() < 2) return 0;
    std::string joined;
    std::vector<size_t> runOf;  // the run each byte of `joined` comes from
    for (size_t r = 0; r < group.texts.size(); ++r) {
        joined += group.texts[r];
        runOf.insert(runOf.end(), group.texts[r].size(), r);
    }
    std::vector<std::string> texts(group.texts.size());
    int replaced = 0;
    size_t at = 0;
    while (at < joined.size()) {
        const size_t found = joined.find(name, at);
        const size_t upTo = found == std::string::npos ? joined.size() : found;
        for (; at < upTo; ++at) texts[runOf[at]] += joined[at];
        if (found == std::string::npos) break;
        const size_t first = runOf[found], last = runOf[found + name.size() - 1];
        if (first == last) {
            // Whole in one run: ApplyFieldData's business, left as it is.
            texts[first].append(name);
        } else {
            texts[first].append(value);
            ++replaced;
        }
        at = found + name.size();
    }
    if (!replaced) return 0;
    for (size_t r = 0; r < texts.size(); ++r) {
        if (texts[r] == group.texts[r]) continue;
        rt.set(group.runs[r], "Text", texts[r]);
        group.texts[r] = texts[r];
    }
    return replaced;
}

int SplitPlaceholders_Fill(vexrt::Runtime& rt, const Object& doc,
                           const std::vector<std::pair<std::string, std::string>>& pairs) {
    int replaced = 0;
    Document_EachParagraph(rt, doc, [&](const Object& paragraph) {
        std::vector<RunGroup> groups = Paragraph_RunGroups(rt, paragraph);
        for (RunGroup& group : groups)
            for (const auto& [name, value] : pairs) replaced += RunGroup_FillAcross(rt, group, name, value);
    });
    return replaced;
}

}  // namespace cli
