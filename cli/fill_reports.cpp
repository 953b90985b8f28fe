#include "fill_reports.h"

#include <iostream>
#include <set>

namespace cli {

namespace {

// A package that cannot be read is left to the fill itself, which says
// why in the library's words.
bool Scan(const std::string& path, const FillReportOptions& options, PlaceholderScan& scan) {
    std::string error;
    return PlaceholderScan_Package(path, options.patterns, scan, error);
}

// Why a placeholder of the template would be left by a fill with `names`;
// empty when it is filled.
std::string LeftBecause(const FoundPlaceholder& found, const std::vector<std::string>& names, const char* namer,
                        const FillReportOptions& options) {
    if (found.fieldCode) return "in a field code: cannot be filled";
    bool named = false;
    for (const std::string& name : names)
        if (!name.empty() && name.find(found.text) != std::string::npos) named = true;
    if (!named) return std::string("no ") + namer + " names it";
    if (found.split && !found.joinable) return "split across runs that cannot be joined";
    if (found.split && !options.acrossRuns) return "split across runs; --across-runs fills it";
    return std::string();
}

// The reports of the template scan; false when --strict makes one an error.
bool Report(const PlaceholderScan& scan, const std::vector<std::string>& unmatched, const char* what,
            const std::vector<std::string>& names, const char* namer, const FillReportOptions& options) {
    const char* level = options.strict ? "" : "warning: ";
    for (const std::string& name : unmatched)
        std::cerr << "vexword fill: " << level << what << "\"" << name << "\" matches nothing in the template\n";
    if (!options.strict) return true;
    bool left = false;
    for (const FoundPlaceholder& found : scan.found) {
        const std::string because = LeftBecause(found, names, namer, options);
        if (because.empty()) continue;
        std::cerr << "vexword fill: " << found.text << " (" << found.where << ") would be left: " << because << "\n";
        left = true;
    }
    if (unmatched.empty() && !left) return true;
    std::cerr << "vexword fill: --strict: nothing written\n";
    return false;
}

}  // namespace

bool FillReport_BeforePairs(const std::string& templatePath, const std::vector<std::string>& names,
                            const FillReportOptions& options) {
    PlaceholderScan scan;
    if (!Scan(templatePath, options, scan)) return true;
    return Report(scan, PlaceholderScan_Unmatched(scan, names), "", names, "pair", options);
}

bool FillReport_BeforeBatch(const std::string& templatePath, const std::string& csvPath,
                            const std::vector<std::string>& columns, const std::string& nameColumn,
                            const FillReportOptions& options) {
    PlaceholderScan scan;
    if (!Scan(templatePath, options, scan)) return true;
    std::vector<std::string> filling;
    for (const std::string& column : columns)
        if (nameColumn.empty() || column != nameColumn) filling.push_back(column);
    const std::vector<std::string> unmatched = PlaceholderScan_Unmatched(scan, filling);
    if (columns.size() == 1 && unmatched.size() == 1) {
        const char* separator = columns[0].find(';') != std::string::npos    ? "semicolons"
                                : columns[0].find('\t') != std::string::npos ? "tabs"
                                                                             : nullptr;
        if (separator) {
            std::cerr << "vexword fill: " << csvPath << ": the header row has no comma but " << separator
                      << ": vexword reads comma-separated values; save the file as CSV with commas\n";
            return false;
        }
    }
    return Report(scan, unmatched, "column ", columns, "column", options);
}

void FillReport_Unmatched(const std::vector<std::string>& names, const FillReport& report) {
    std::set<std::string> met;
    for (const auto& filled : report.filled)
        if (filled.second > 0) met.insert(filled.first);
    for (const auto& split : report.split) met.insert(split.first);
    for (const auto& unfillable : report.unfillable) met.insert(unfillable.first.first);
    for (const std::string& name : names)
        if (!met.count(name)) std::cerr << "vexword fill: warning: \"" << name << "\" matches nothing in the template\n";
}

void FillReport_Left(const std::string& out, const FillReportOptions& options, const std::string& lead) {
    PlaceholderScan scan;
    if (!Scan(out, options, scan) || scan.found.empty()) return;
    std::string line;
    for (const FoundPlaceholder& found : scan.found) {
        const std::string note = FoundPlaceholder_Note(found);
        line += (line.empty() ? "" : ", ") + found.text + " (" + found.where + (note.empty() ? "" : "; " + note) + ")";
    }
    std::cerr << "vexword fill: warning: " << lead << out << " still holds " << line << "\n";
}

}  // namespace cli
