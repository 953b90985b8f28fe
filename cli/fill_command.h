// vexword fill: placeholders of a template filled from pairs, a JSON object
// or, one document per row, a CSV file.
//
//   vexword fill TEMPLATE.docx OUT.docx NAME=VALUE...
//   vexword fill TEMPLATE.docx OUT.docx --json PAIRS.json
//   vexword fill TEMPLATE.docx --csv DATA.csv --out DIR [--name COLUMN] [--jobs N]
//   --across-runs   also fill placeholders split across runs of a paragraph
//   --force         replace output files that exist
//   --pattern REGEX what a placeholder looks like, for the reports of names
//                   matching nothing and placeholders left (fill_reports.h)
//   --strict        either of those is an error, and nothing is written
#pragma once

#include <string>
#include <vector>

#include <vexrt/runtime.h>

namespace cli {

// What `vexword help fill` and the man page say beyond the summary: the
// forms of the command line and every option.
extern const char* const kFillHelp;

// `args` follow the word "fill"; with `force` an existing output file is
// replaced (without, writing onto one fails). Returns the exit status: 0 when every
// document was written, 1 when one failed, 2 for a wrong command line.
int FillCommand(vexrt::Runtime& rt, const std::vector<std::string>& args, bool force);

}  // namespace cli
