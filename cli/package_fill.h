// Filling a template in its package, every part a reader sees: the body,
// the headers and footers of every section, footnotes and endnotes, through
// content controls, text boxes (their fallback too), hyperlinks and field
// results, and the core properties. One pass a part: every placeholder is
// replaced by its own value and no value is scanned again; a line feed in
// a value becomes a line break, a tab a tab. A placeholder a word processor
// split across runs is joined when asked, or reported with why it stays.
// Untouched entries are copied as they are stored.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace cli {

using FillPairs = std::vector<std::pair<std::string, std::string>>;

// A table row repeated once per item: every row that holds one of the
// items' names is copied for each item and filled with that item's pairs
// (and the others); no item removes the row.
struct FillRows {
    std::string key;
    std::vector<FillPairs> items;
};

struct FillRequest {
    FillPairs pairs;
    std::vector<FillRows> rows;
    bool acrossRuns = false;  // join placeholders split across runs of one run group
    // Deflate what changed on this thread alone: a batch's workers already
    // keep every core busy.
    bool oneThread = false;
    // Texts (as the parts' bytes hold them) without which no part of the
    // result holds a placeholder; the report says whether one was seen.
    std::vector<std::string> markers;
};

// What a fill found, by placeholder name.
struct FillReport {
    std::map<std::string, int> filled;  // occurrences replaced
    // Paragraphs where a name is split across runs that could be joined
    // (without acrossRuns), and where it is not.
    std::map<std::string, int> split;
    std::map<std::string, std::vector<std::string>> splitWhere;
    // Paragraphs where a name cannot be filled, with why: "crosses a
    // link's edge", "stands in a field's code"...
    std::map<std::pair<std::string, std::string>, int> unfillable;
    bool markerSeen = false;  // one of the request's markers stands in a part of the result
};

// Fills the template into a new package at `outPath` (a fresh path: the
// caller replaces files); an empty `outPath` only fills in memory, for the
// report. Throws std::runtime_error when the template cannot be read or the
// package not written.
void PackageFill_Run(const std::string& templatePath, const FillRequest& request, const std::string& outPath,
                     FillReport& report);

}  // namespace cli
