// The placeholders a template holds, read from its package in one pass per
// part: every paragraph of the body, of every section's headers and
// footers, of footnotes and endnotes (through content controls, hyperlinks,
// field results and the chosen content of text boxes), the codes of its
// fields, and its core properties. Comments are not filled, so they are not
// read. Each placeholder says where it is, with the labels the reading
// commands use, and whether a word processor split it across runs.
#pragma once

#include <regex>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace cli {

// What a placeholder looks like: one or more ECMAScript expressions,
// searched as one (the first that matches at a place wins).
struct PlaceholderPatterns {
    std::vector<std::string> sources;
    std::regex regex;
    // The default patterns: a text without "{", "[[", "<<" or "«" holds
    // none, which is found without the regular expression.
    bool defaults = false;
};

// {...}, [[...]], <<...>> and «...»: something between the marks, on one
// line.
extern const char* const kDefaultPlaceholderPatterns[4];

// The patterns from their expressions (the defaults when `sources` is
// empty); false, with a message, when one is no regular expression.
bool PlaceholderPatterns_Make(const std::vector<std::string>& sources, PlaceholderPatterns& patterns,
                              std::string& error);

// The longest placeholder found whole, in bytes: a longer match may be
// found shorter or not at all.
const size_t kPlaceholderLongest = 1024;

// Where the patterns match in `text`, [begin, end) in order, none empty,
// none overlapping; linear in the text's length.
std::vector<std::pair<size_t, size_t>> PlaceholderPatterns_Matches(const PlaceholderPatterns& patterns,
                                                                    const std::string& text);

// The occurrences of one placeholder at one place, in one state.
struct FoundPlaceholder {
    std::string text;       // as the document holds it: "{company}"
    std::string where;      // "body", "body table 1 cell 2,1", "section 1 header (first)",
                            // "footnote 1", "body text box", "core properties (title)"
    std::string part;       // the entry it was read from
    int count = 0;          // occurrences at this place in this state
    bool split = false;     // in a paragraph's joined text, but in no one w:t whole
    // Split, in runs --across-runs joins: none of a link's, field's, content
    // control's or tracked change's edges, no break, drawing or note mark
    // inside.
    bool joinable = false;
    bool fieldCode = false; // in a field's code (w:instrText, w:fldSimple's w:instr)
};

struct PlaceholderScan {
    std::vector<FoundPlaceholder> found;  // in the order of the document, first occurrence of each group
    // The joined text of every paragraph read and every core property:
    // where a name given for filling must occur.
    std::vector<std::string> texts;
};

// Reads the package at `path`; false, with a message, when its archive or
// main part cannot be read.
bool PlaceholderScan_Package(const std::string& path, const PlaceholderPatterns& patterns, PlaceholderScan& scan,
                             std::string& error);

// The names (in their order) that occur in none of the scan's texts.
std::vector<std::string> PlaceholderScan_Unmatched(const PlaceholderScan& scan, const std::vector<std::string>& names);

// "split across runs" (or "... that cannot be joined"), "in a field code:
// cannot be filled", "3 times",
// joined by ", "; empty for a single plain occurrence.
std::string FoundPlaceholder_Note(const FoundPlaceholder& found);

}  // namespace cli
