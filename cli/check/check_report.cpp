#include "check/check_report.h"

#include <cstdio>

#include "package/utf8_text.h"

namespace cli {

const char* const kArchivePart = "(archive)";

void CheckReport_Add(CheckReport& report, const CheckOptions& options, Level level, const std::string& part,
                     const char* rule, const std::string& message, size_t line, size_t column) {
    Finding f;
    f.part = part;
    f.rule = rule;
    f.severity = level == Level::Fail || (level == Level::StrictFail && options.strict) ? Severity::Error
                                                                                          : Severity::Warning;
    f.message = message;
    f.line = line;
    f.column = column;
    (f.severity == Severity::Error ? report.errors : report.warnings) += 1;
    report.findings.push_back(std::move(f));
}

namespace {

const char* SeverityName(Severity s) { return s == Severity::Error ? "error" : "warning"; }

std::string Plural(size_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// Names are the bytes of the archive and the command line; JSON is UTF-8,
// so what is not becomes U+FFFD.
void AppendJsonString(std::string& out, std::string s) {
    Utf8_Sanitize(s);
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

}  // namespace

std::string CheckReport_Text(const CheckReport& report) {
    std::string out;
    for (const Finding& f : report.findings) {
        out += report.file + ": " + f.part + ": " + f.rule + ": " + SeverityName(f.severity) + ": " + f.message;
        if (f.line) out += " (line " + std::to_string(f.line) + ", column " + std::to_string(f.column) + ")";
        out += '\n';
    }
    out += report.file + ": ";
    if (report.passed())
        out += "passed (" + Plural(report.warnings, "warning") + ")\n";
    else
        out += "failed (" + Plural(report.errors, "error") + ", " + Plural(report.warnings, "warning") + ")\n";
    return out;
}

std::string CheckReports_Json(const std::vector<CheckReport>& reports) {
    std::string out = "{\"files\":[";
    size_t passed = 0;
    for (size_t i = 0; i < reports.size(); ++i) {
        const CheckReport& r = reports[i];
        passed += r.passed();
        if (i) out += ',';
        out += "{\"file\":";
        AppendJsonString(out, r.file);
        out += ",\"passed\":" + std::string(r.passed() ? "true" : "false") +
               ",\"errors\":" + std::to_string(r.errors) + ",\"warnings\":" + std::to_string(r.warnings) +
               ",\"findings\":[";
        for (size_t k = 0; k < r.findings.size(); ++k) {
            const Finding& f = r.findings[k];
            if (k) out += ',';
            out += "{\"part\":";
            AppendJsonString(out, f.part);
            out += ",\"rule\":";
            AppendJsonString(out, f.rule);
            out += ",\"severity\":\"" + std::string(SeverityName(f.severity)) + "\",\"message\":";
            AppendJsonString(out, f.message);
            out += ",\"line\":" + std::to_string(f.line) + ",\"column\":" + std::to_string(f.column) + "}";
        }
        out += "]}";
    }
    out += "],\"passed\":" + std::to_string(passed) + ",\"failed\":" + std::to_string(reports.size() - passed) +
           "}\n";
    return out;
}

}  // namespace cli
