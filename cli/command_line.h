// What makes vexword a command-line tool: a table of commands from which the
// usage text, `help COMMAND` and the argument checks are made, the exit
// codes, and the one rule for commands that write a file (an existing file
// is replaced only with --force).
//
// A command joins the tool by adding one entry to the table in vexword.cpp.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <vexrt/runtime.h>

namespace cli {

enum ExitCode : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// The operands of one command, and its options.
struct CommandArgs {
    std::vector<std::string> operands;
    bool force = false;  // --force: a file the command writes may replace an existing one
    bool json = false;   // --json: one JSON document instead of lines of text
};

struct Command {
    const char* name;
    const char* operands;  // as the usage shows them: "IN.docx OUT.docx"
    size_t operandCount;
    const char* summary;   // one line
    const char* example;   // a whole command line
    bool writesFile;       // takes --force
    int (*run)(vexrt::Runtime& rt, const CommandArgs& args);
    // The command reads its own options: every argument but --help and
    // --force reaches it as an operand, in order, whatever their number.
    bool ownOptions = false;
    // What `help COMMAND` says beyond the summary; null for nothing more.
    const char* details = nullptr;
    // The command runs without the plug-in (it reads packages itself).
    bool withoutPlugin = false;
    // The command takes --json.
    bool takesJson = false;
};

// Runs the command line: `--help`, `help [COMMAND]` and `COMMAND --help`
// print to standard output and exit 0; `--version` prints the module
// version; a command gets a runtime with the plug-in loaded. A usage error
// prints the usage to standard error and gives kExitUsage; a host exception
// or any other failure its message and kExitFailure.
int CommandLine_Main(const char* tool, const std::vector<Command>& commands, int argc, char** argv);

// The man page (roff) and the bash completion script of the tool, made from
// its command table; `TOOL --man` and `TOOL --completion bash` print them.
std::string CommandLine_ManPage(const char* tool, const char* version, const char* description,
                                const std::vector<Command>& commands);
std::string CommandLine_BashCompletion(const char* tool, const std::vector<Command>& commands);

// Writes the file at `path` with `write`, which makes a new file at the path
// it is given. When `path` exists it is replaced only with `force`, and only
// once the new file is complete (written beside it, then renamed over it);
// a symbolic link stays a link and the regular file it names is replaced so.
// An existing file that is not a regular one (a directory, device, FIFO or
// socket, or a link to one or to nothing) is never replaced. When nothing
// may be written, nothing is, a message says why, and the result is false.
bool OutputFile_Write(const std::string& path, bool force, const std::function<void(const std::string&)>& write);

// Why OutputFile_Write would refuse `path` ("PATH exists; give --force to
// replace it", "PATH: is a FIFO (named pipe); only a regular file is
// replaced"...), or empty when it may write it.
std::string OutputFile_Refusal(const std::string& path, bool force);

}  // namespace cli
