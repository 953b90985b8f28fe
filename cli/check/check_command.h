// `vexword check [--strict] [--json] FILE.docx...`: the command line of the
// package checker.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// What `vexword help check` says beyond the synopsis: the rules and what
// fails.
extern const char* const kCheckHelp;

// Checks each file and prints the findings and a verdict per file (or, with
// --json, one JSON document). 0 when every file passed, 1 when one failed,
// 2 for a usage error (its message on `errors`).
int Check_Command(const std::vector<std::string>& args, std::ostream& out, std::ostream& errors);

}  // namespace cli
