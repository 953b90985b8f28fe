// What a check reports: the text and JSON forms, the cap on findings per
// part and rule, and a large document judged without findings.
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "check_packages.h"

using namespace check_packages;

namespace {

// A package with two errors (one placed in its part, one not) and a warning.
std::string ThreeFindings() {
    return Package()
        .body("<w:p><w:pPr><w:jc w:val=\"center\"/><w:ind w:left=\"720\"/></w:pPr><w:hyperlink r:id=\"rId99\"/></w:p>")
        .add("word/media/image1.png", "png")
        .zip();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string Paragraphs(size_t count, const std::string& paragraph) {
    std::string out;
    for (size_t i = 0; i < count; ++i) out += paragraph;
    return out;
}

}  // namespace

TEST(CheckReport, TextIsOneLinePerFindingThenTheVerdict) {
    const cli::CheckReport report = Check(ThreeFindings());
    ASSERT_EQ(report.findings.size(), 3u) << cli::CheckReport_Text(report);
    const std::vector<std::string> lines = Lines(cli::CheckReport_Text(report));
    ASSERT_EQ(lines.size(), 4u);
    for (size_t i = 0; i < report.findings.size(); ++i) {
        const cli::Finding& f = report.findings[i];
        const std::string place =
            f.line ? " (line " + std::to_string(f.line) + ", column " + std::to_string(f.column) + ")" : "";
        EXPECT_EQ(lines[i], "test.docx: " + f.part + ": " + f.rule + ": " +
                                (f.severity == cli::Severity::Error ? "error: " : "warning: ") + f.message + place);
    }
    EXPECT_NE(report.findings[0].line, 0u);
    EXPECT_EQ(report.findings[1].line, 0u);
    EXPECT_EQ(lines.back(), "test.docx: failed (2 errors, 1 warning)");
    EXPECT_EQ(cli::CheckReport_Text(Check(Package().zip())), "test.docx: passed (0 warnings)\n");
    const std::string oneWarning = Package().body("<w:p><w:bookmarkEnd w:id=\"1\"/></w:p>").zip();
    EXPECT_EQ(Lines(cli::CheckReport_Text(Check(oneWarning))).back(), "test.docx: passed (1 warning)");
    EXPECT_EQ(Lines(cli::CheckReport_Text(Check(oneWarning, true))).back(), "test.docx: failed (1 error, 0 warnings)");
}

TEST(CheckReport, JsonHoldsWhatItPromisesAlsoForNamesThatAreNotUtf8) {
    cli::CheckOptions options;
    std::vector<cli::CheckReport> reports = {
        cli::Check_PackageBytes("failed.docx", ThreeFindings(), options),
        cli::Check_PackageBytes("passed.docx", Package().zip(), options),
        cli::Check_PackageBytes("caf\xe9\t.docx", Package().add("word/media/\xff\x01.bin", "").zip(), options),
    };
    nlohmann::json json;
    ASSERT_NO_THROW(json = nlohmann::json::parse(cli::CheckReports_Json(reports)));
    EXPECT_EQ(json["passed"], 1);
    EXPECT_EQ(json["failed"], 2);
    ASSERT_EQ(json["files"].size(), reports.size());
    for (size_t i = 0; i < reports.size(); ++i) {
        const nlohmann::json& file = json["files"][i];
        EXPECT_EQ(file["passed"], reports[i].passed());
        EXPECT_EQ(file["errors"], reports[i].errors);
        EXPECT_EQ(file["warnings"], reports[i].warnings);
        ASSERT_EQ(file["findings"].size(), reports[i].findings.size());
        for (size_t k = 0; k < reports[i].findings.size(); ++k) {
            const nlohmann::json& f = file["findings"][k];
            const cli::Finding& expected = reports[i].findings[k];
            EXPECT_EQ(f["rule"], expected.rule);
            EXPECT_EQ(f["severity"], expected.severity == cli::Severity::Error ? "error" : "warning");
            EXPECT_TRUE(f["part"].is_string() && f["message"].is_string());
            EXPECT_EQ(f["line"], expected.line);
            EXPECT_EQ(f["column"], expected.column);
            if (i < 2) {
                EXPECT_EQ(f["part"], expected.part);
            }
        }
    }
    EXPECT_EQ(json["files"][0]["file"], "failed.docx");
    // Bytes that are not UTF-8 are replaced; the rest is kept.
    EXPECT_EQ(json["files"][2]["file"], "caf\xef\xbf\xbd\t.docx");
    EXPECT_EQ(json["files"][2]["findings"][0]["part"], "word/media/\xef\xbf\xbd\x01.bin");
}

// Findings per part and rule are capped, the rest counted in one more that
// is an error when one of the rest is; each rule of a part has its own cap.
TEST(CheckReport, FindingsPerPartAndRuleAreCapped) {
    const std::string slip = "<w:p><w:pPr><w:jc w:val=\"center\"/><w:ind w:left=\"720\"/></w:pPr></w:p>";
    const std::string fifteen = Package().body(Paragraphs(15, slip)).zip();
    for (const bool strict : {false, true}) {
        const cli::CheckReport report = Check(fifteen, strict);
        ASSERT_EQ(report.findings.size(), 11u) << cli::CheckReport_Text(report);
        const cli::Finding& summary = report.findings.back();
        EXPECT_EQ(summary.message, "5 more order findings not shown");
        EXPECT_EQ(summary.line, 0u);
        EXPECT_EQ(summary.severity, strict ? cli::Severity::Error : cli::Severity::Warning);
        EXPECT_EQ(strict ? report.errors : report.warnings, 11u);
    }

    const std::string freeSlip = "<w:p><w:r><w:rPr><w:sz w:val=\"24\"/><w:b/></w:rPr></w:r></w:p>";
    const std::string emptyCells = Table({"<w:tcPr/>", "<w:tcPr/>", "<w:tcPr/>"});
    const std::string mixed = Package().body(Paragraphs(2, freeSlip) + slip + emptyCells + "<w:p/>").zip();
    const cli::CheckReport report = Check(mixed, true, 2);
    ASSERT_EQ(report.findings.size(), 6u) << cli::CheckReport_Text(report);
    EXPECT_EQ(report.findings[0].severity, cli::Severity::Warning);
    EXPECT_EQ(report.findings[1].severity, cli::Severity::Warning);
    EXPECT_EQ(report.findings[2].message, "1 more order finding not shown");
    EXPECT_EQ(report.findings[2].severity, cli::Severity::Error);
    EXPECT_EQ(report.findings[5].message, "1 more structure finding not shown");
    EXPECT_EQ(report.findings[5].severity, cli::Severity::Error);
}

TEST(CheckReport, LargeDocumentPassesWithoutFindings) {
    std::string body;
    for (size_t i = 0; i < 100000; ++i) {
        const std::string n = std::to_string(i);
        body += "<w:p><w:pPr><w:spacing w:after=\"0\"/><w:jc w:val=\"left\"/></w:pPr><w:bookmarkStart w:id=\"" + n +
                "\" w:name=\"b" + n + "\"/><w:r><w:rPr><w:b/><w:sz w:val=\"22\"/></w:rPr><w:t>Paragraph " + n +
                "</w:t></w:r><w:bookmarkEnd w:id=\"" + n + "\"/></w:p>";
        if (i % 1000 == 0) body += Table({"<w:tcPr><w:tcW w:w=\"2000\" w:type=\"dxa\"/></w:tcPr><w:p/>"});
    }
    const cli::CheckReport report = Check(Package().body(body).zip(), true);
    EXPECT_TRUE(report.findings.empty()) << cli::CheckReport_Text(report).substr(0, 2000);
}
