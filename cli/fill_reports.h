// What vexword fill tells of a fill beyond the documents it writes: the
// names given that match nothing in the template, and the placeholders
// left in what it wrote. With --strict either is an error found before
// anything is written: the template is scanned and the placeholders no
// name fills (or that cannot be filled where they are) are known then.
#pragma once

#include <string>
#include <vector>

#include "package_fill.h"
#include "placeholder_scan.h"

namespace cli {

struct FillReportOptions {
    PlaceholderPatterns patterns;
    bool strict = false;
    bool acrossRuns = false;  // split placeholders are filled too
};

// Before filling from pairs: warns on standard error of each name that
// occurs nowhere in the template. With `strict`, those and the template's
// placeholders that would be left are errors: false, nothing is to be
// written. False, with a message, when the template cannot be scanned.
bool FillReport_BeforePairs(const std::string& templatePath, const std::vector<std::string>& names,
                            const FillReportOptions& options);

// Before a CSV batch: each column that occurs nowhere in the template is
// reported once (`nameColumn`, the file names' column, needs not occur).
// A header of one column holding semicolons or tabs is a file in another
// format: an error with a hint. With `strict` as above.
bool FillReport_BeforeBatch(const std::string& templatePath, const std::string& csvPath,
                            const std::vector<std::string>& columns, const std::string& nameColumn,
                            const FillReportOptions& options);

// After a fill from pairs (without --strict, which scanned the template
// before): warns of each name the fill met nowhere, as its report tells.
void FillReport_Unmatched(const std::vector<std::string>& names, const FillReport& report);

// After writing `out`: one warning line (after `lead`, e.g. "row 3: ")
// naming the placeholders it still holds, with where they are.
void FillReport_Left(const std::string& out, const FillReportOptions& options, const std::string& lead);

}  // namespace cli
