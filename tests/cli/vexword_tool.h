// Running the vexword tool as a user runs it, from the tests of its
// commands.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct ToolResult {
    int status = -1;
    std::string output;  // standard output and error
};

// `s` quoted for the shell.
inline std::string Shell_Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs vexword with the arguments (each quoted for the shell), its output
// captured in `capture` (a file of the test's folder, removed after).
inline ToolResult Vexword_Run(const std::vector<std::string>& args, const std::string& capture) {
    std::string command = Shell_Quote(VEXWORD_TOOL_PATH);
    for (const std::string& a : args) command += " " + Shell_Quote(a);
    command += " > " + Shell_Quote(capture) + " 2>&1";
    ToolResult result;
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(capture, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    result.output = bytes.str();
    in.close();
    std::filesystem::remove(capture);
    return result;
}

// Runs of blanks and line ends as one blank, for finding a tool's lines in
// the text another reader (pdftotext, pandoc) gives of a document.
inline std::string Text_Squeezed(const std::string& text) {
    std::string out;
    for (char c : text) {
        const bool space = c == ' ' || c == '\n' || c == '\t' || c == '\f';
        if (space && (out.empty() || out.back() == ' ')) continue;
        out += space ? ' ' : c;
    }
    return out;
}
