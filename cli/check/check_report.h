// What checking a package found: findings named by part and rule, each an
// error or a warning, and the verdict they give. A rule states how bad a
// finding is (Level); whether a strict check fails a warning is decided
// once, when the finding is added.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cli {

enum class Severity { Warning, Error };

// How a rule rates a finding.
enum class Level {
    Fail,        // an error in every check
    Warn,        // a warning in every check
    StrictFail,  // a warning, an error with --strict (what word processors accept but the schema does not)
};

struct Finding {
    std::string part;  // entry name, or "(archive)" for the archive as a whole
    std::string rule;  // zip, xml, types, rels, order, structure, ids, page
    Severity severity = Severity::Error;
    std::string message;
    size_t line = 0, column = 0;  // 0: no place in the part
};

struct CheckOptions {
    bool strict = false;
    // Findings shown per part and rule; the rest are summed up in one more.
    size_t shownPerRule = 10;
};

struct CheckReport {
    std::string file;
    std::vector<Finding> findings;
    size_t errors = 0, warnings = 0;
    bool passed() const { return errors == 0; }
};

// The part named for findings about the archive as a whole.
extern const char* const kArchivePart;

// Adds a finding rated `level` under `options`.
void CheckReport_Add(CheckReport& report, const CheckOptions& options, Level level, const std::string& part,
                     const char* rule, const std::string& message, size_t line = 0, size_t column = 0);

// "FILE: PART: rule: error: message (line L, column C)" a finding, then
// "FILE: passed (W warnings)" or "FILE: failed (E errors, W warnings)".
std::string CheckReport_Text(const CheckReport& report);
// Every report as one JSON document:
// {"files":[{"file":..,"passed":..,"errors":..,"warnings":..,
//   "findings":[{"part":..,"rule":..,"severity":..,"message":..,"line":..,"column":..}]}],
//  "passed":N,"failed":M}
std::string CheckReports_Json(const std::vector<CheckReport>& reports);

}  // namespace cli
