// The project's own package checker (what `vexword check` runs) on a file a
// test wrote: the judge of whether a strict word processor would accept it.
#pragma once

#include <string>

// The checker's report on `file` when it finds an error, or (with
// `orderWarningsFail`) any finding of the order rule; "" otherwise.
// `strict` is for documents made from scratch.
std::string package_check_failures(const std::string& file, bool strict, bool orderWarningsFail = false);
