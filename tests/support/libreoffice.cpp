#include "libreoffice.h"

#include <stdio.h>
#include <stdlib.h>

#include <filesystem>

#include <gtest/gtest.h>

namespace {

bool OnPath(const std::string& programs) {
    return std::system(("for p in " + programs + "; do command -v $p >/dev/null 2>&1 || exit 1; done").c_str()) == 0;
}

// The argument for a shell command line, in single quotes.
std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

bool libreoffice_available() {
    static const bool available = OnPath("soffice");
    return available;
}

bool pdf_tools_available() {
    static const bool available = OnPath("pdftotext pdfinfo");
    return available;
}

bool libreoffice_convert(const std::string& file, const std::string& format, const std::string& outDir) {
    std::string profile = (std::filesystem::temp_directory_path() / "vexword-lo-XXXXXX").string();
    if (!mkdtemp(profile.data())) {
        ADD_FAILURE() << "cannot make a LibreOffice profile folder";
        return false;
    }
    const std::string command = "timeout 300 soffice -env:UserInstallation=file://" + profile +
                                " --headless --convert-to " + Quoted(format) + " --outdir " + Quoted(outDir) + " " +
                                Quoted(file) + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    std::error_code ignored;
    std::filesystem::remove_all(profile, ignored);
    EXPECT_EQ(status, 0) << command;
    return status == 0;
}

std::string command_output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return out;
    }
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return out;
}

std::string pdf_page_text(const std::string& pdf, int page) {
    const std::string number = std::to_string(page);
    return command_output("pdftotext -layout -f " + number + " -l " + number + " " + Quoted(pdf) + " -");
}
