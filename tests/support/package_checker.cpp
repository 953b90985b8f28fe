#include "package_checker.h"

#include "check/package_check.h"

std::string package_check_failures(const std::string& file, bool strict, bool orderWarningsFail) {
    cli::CheckOptions options;
    options.strict = strict;
    const cli::CheckReport report = cli::Check_PackageFile(file, options);
    bool failed = !report.passed();
    if (orderWarningsFail)
        for (const cli::Finding& f : report.findings) failed |= f.rule == "order";
    return failed ? cli::CheckReport_Text(report) : "";
}
