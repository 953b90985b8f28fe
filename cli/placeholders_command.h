// vexword placeholders: what a template holds to be filled, where each
// placeholder is, and which a word processor split across runs, so that a
// user can write the pairs, the JSON object or the CSV header for it.
//
//   vexword placeholders TEMPLATE.docx [--pattern REGEX]... [--json]
#pragma once

#include <vexrt/runtime.h>

#include "command_line.h"

namespace cli {

// What `vexword help placeholders` says beyond the summary.
extern const char* const kPlaceholdersHelp;

// Reads its own options (--pattern, --json) from the operands.
int Placeholders_Command(vexrt::Runtime& rt, const CommandArgs& args);

}  // namespace cli
