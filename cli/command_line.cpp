#include "command_line.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "paragraph_text.h"

namespace cli {

namespace {

const char* const kToolDescription = "read, fill and check .docx documents through the VexlomarWord plug-in";

std::string Synopsis(const Command& c) {
    std::string s = c.name;
    if (c.writesFile) s += " [--force]";
    if (c.takesJson) s += " [--json]";
    if (*c.operands) s += std::string(" ") + c.operands;
    return s;
}

// A synopsis longer than this takes a line of its own, its summary the next.
constexpr size_t kSynopsisColumn = 36;

std::string Usage(const char* tool, const std::vector<Command>& commands) {
    size_t width = 0;
    for (const Command& c : commands)
        if (Synopsis(c).size() <= kSynopsisColumn) width = std::max(width, Synopsis(c).size());
    std::ostringstream out;
    out << "usage: " << tool << " COMMAND [--force] [ARGUMENTS]\n"
        << "       " << tool << " help [COMMAND] | --help | --version\n\ncommands:\n";
    for (const Command& c : commands) {
        const std::string synopsis = Synopsis(c);
        if (synopsis.size() > width)
            out << "  " << synopsis << "\n" << std::string(width + 4, ' ') << c.summary << "\n";
        else
            out << "  " << synopsis << std::string(width - synopsis.size() + 2, ' ') << c.summary << "\n";
    }
    out << "\nA command that writes a file does not replace an existing one unless given --force.\n"
        << "Exit status: 0 done, 1 failed (the document could not be read or written), 2 usage error.\n";
    return out.str();
}

std::string CommandHelp(const char* tool, const Command& c) {
    std::ostringstream out;
    out << "usage: " << tool << " " << Synopsis(c) << "\n\n" << c.summary << "\n";
    if (c.details) out << "\n" << c.details;
    if (c.writesFile) out << "An existing output file is replaced only with --force.\n";
    out << "\nexample: " << c.example << "\n";
    return out.str();
}

const Command* Find(const std::vector<Command>& commands, const std::string& name) {
    for (const Command& c : commands)
        if (name == c.name) return &c;
    return nullptr;
}

int UsageError(const char* tool, const std::vector<Command>& commands, const std::string& why) {
    std::cerr << tool << ": " << why << "\n" << Usage(tool, commands);
    return kExitUsage;
}

// The module's constant "Version".
int PrintVersion() {
    vexrt::Runtime rt;
    rt.loadPlugin(vexrt::FindPlugin(VEXLOMARWORD_PLUGIN));
    const vexrt::ModuleInfo* module = rt.module();
    if (module)
        for (const vexrt::ConstantInfo& k : module->constants)
            if (k.name == "Version") {
                std::cout << module->name << " " << k.value << "\n";
                return kExitOk;
            }
    std::cerr << "the plug-in registered no module version\n";
    return kExitFailure;
}

// Roff text: backslashes and hyphens escaped, no line taken for a request.
std::string Roff(const std::string& text) {
    std::string out;
    bool lineStart = true;
    for (char ch : text) {
        if (lineStart && (ch == '.' || ch == '\'')) out += "\\&";
        if (ch == '\\') out += "\\e";
        else if (ch == '-') out += "\\-";
        else out += ch;
        lineStart = ch == '\n';
    }
    return out;
}

// The options a command's synopsis names ("--json", "--csv", ...), and
// --help and --force.
std::vector<std::string> OptionsOf(const Command& c) {
    std::vector<std::string> options = {"--help"};
    if (c.writesFile) options.push_back("--force");
    if (c.takesJson) options.push_back("--json");
    const std::string operands = c.operands;
    for (size_t at = operands.find("--"); at != std::string::npos; at = operands.find("--", at + 2)) {
        size_t end = at + 2;
        while (end < operands.size() && (std::isalnum(static_cast<unsigned char>(operands[end])) || operands[end] == '-'))
            ++end;
        const std::string option = operands.substr(at, end - at);
        if (option.size() > 2 && std::find(options.begin(), options.end(), option) == options.end())
            options.push_back(option);
        at = end - 2;
    }
    return options;
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

std::string CommandLine_ManPage(const char* tool, const char* version, const char* description,
                                const std::vector<Command>& commands) {
    std::ostringstream out;
    std::string upper = tool;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    out << ".TH " << upper << " 1 \"\" \"" << Roff(version) << "\" \"User Commands\"\n"
        << ".SH NAME\n" << tool << " \\- " << Roff(description) << "\n"
        << ".SH SYNOPSIS\n.B " << tool << "\n\\fICOMMAND\\fR [\\fB\\-\\-force\\fR] [\\fIARGUMENTS\\fR]\n.br\n.B " << tool
        << "\nhelp [\\fICOMMAND\\fR] | \\-\\-help | \\-\\-version\n"
        << ".SH COMMANDS\n";
    for (const Command& c : commands) {
        out << ".TP\n.B " << Roff(Synopsis(c)) << "\n" << Roff(c.summary) << ".\n";
        if (c.writesFile) out << "An existing output file is replaced only with \\fB\\-\\-force\\fR.\n";
        if (c.details) out << ".sp\n.nf\n" << Roff(c.details) << ".fi\n";
        out << ".sp\nExample: \\fB" << Roff(c.example) << "\\fR\n";
    }
    out << ".SH EXIT STATUS\n0 done, 1 failed (the document could not be read or written, or a check failed), "
           "2 usage error.\n"
        << ".SH ENVIRONMENT\n.TP\n.B VEXWORD_PLUGIN\nThe plug-in library to load instead of the one installed "
           "beside the tool (\\fI../lib/\\fR from the tool's own folder).\n";
    return out.str();
}

std::string CommandLine_BashCompletion(const char* tool, const std::vector<Command>& commands) {
    std::ostringstream out;
    std::string names;
    for (const Command& c : commands) names += std::string(names.empty() ? "" : " ") + c.name;
    out << "# bash completion for " << tool << ", made from its command table\n"
        << "_" << tool << "() {\n"
        << "    local cur=${COMP_WORDS[COMP_CWORD]}\n"
        << "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
        << "        COMPREPLY=($(compgen -W \"" << names << " help --help --version\" -- \"$cur\"))\n"
        << "        return\n    fi\n"
        << "    case \"${COMP_WORDS[1]}\" in\n"
        << "        help) COMPREPLY=($(compgen -W \"" << names << "\" -- \"$cur\")); return ;;\n";
    for (const Command& c : commands) {
        std::string options;
        for (const std::string& o : OptionsOf(c)) options += (options.empty() ? "" : " ") + o;
        out << "        " << c.name << ") local options=\"" << options << "\" ;;\n";
    }
    out << "        *) return ;;\n    esac\n"
        << "    if [[ \"$cur\" == -* ]]; then\n"
        << "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
        << "    else\n"
        << "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
        << "    fi\n}\n"
        << "complete -o filenames -F _" << tool << " " << tool << "\n";
    return out.str();
}

int CommandLine_Main(const char* tool, const std::vector<Command>& commands, int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return UsageError(tool, commands, "no command given");
    const std::string first = args[0];
    try {
        if (first == "--help" || first == "-h" || (first == "help" && args.size() == 1)) {
            std::cout << Usage(tool, commands);
            return kExitOk;
        }
        if (first == "help") {
            const Command* c = args.size() == 2 ? Find(commands, args[1]) : nullptr;
            if (!c) return UsageError(tool, commands, "help takes one command name");
            std::cout << CommandHelp(tool, *c);
            return kExitOk;
        }
        // What the build makes of the table: the man page and the shell
        // completion, so that neither can differ from --help.
        if (first == "--man" && args.size() == 1) {
            std::cout << CommandLine_ManPage(tool, VEXWORD_VERSION_TEXT, kToolDescription, commands);
            return kExitOk;
        }
        if (first == "--completion" && args.size() == 2 && args[1] == "bash") {
            std::cout << CommandLine_BashCompletion(tool, commands);
            return kExitOk;
        }
        if (first == "--version") {
            if (args.size() != 1) return UsageError(tool, commands, "--version takes no arguments");
            return PrintVersion();
        }
        const Command* c = Find(commands, first);
        if (!c) return UsageError(tool, commands, "unknown command \"" + first + "\"");

        CommandArgs parsed;
        bool operandsOnly = false;
        for (size_t i = 1; i < args.size(); ++i) {
            const std::string& a = args[i];
            if (operandsOnly || a.empty() || a[0] != '-' || a == "-" ||
                (c->ownOptions && a != "--help" && a != "-h" && a != "--force")) {
                parsed.operands.push_back(a);
            } else if (a == "--") {
                operandsOnly = true;
            } else if (a == "--help" || a == "-h") {
                std::cout << CommandHelp(tool, *c);
                return kExitOk;
            } else if (a == "--force" && c->writesFile) {
                parsed.force = true;
            } else if (a == "--json" && c->takesJson) {
                parsed.json = true;
            } else {
                return UsageError(tool, commands, std::string(c->name) + " does not take " + a);
            }
        }
        if (!c->ownOptions && parsed.operands.size() != c->operandCount)
            return UsageError(tool, commands,
                              std::string(c->name) + " takes " + (*c->operands ? c->operands : "no arguments"));
        vexrt::Runtime rt;
        if (!c->withoutPlugin) rt.loadPlugin(vexrt::FindPlugin(VEXLOMARWORD_PLUGIN));
        return c->run(rt, parsed);
    } catch (const vexrt::HostException& e) {
        std::cerr << tool << ": " << e.describe() << "\n";
    } catch (const std::exception& e) {
        std::cerr << tool << ": " << e.what() << "\n";
    }
    return kExitFailure;
}

bool OutputFile_Write(const std::string& path, bool force, const std::function<void(const std::string&)>& write) {
    if (!Exists(path)) {
        write(path);
        return true;
    }
    if (!force) {
        std::cerr << path << " exists; give --force to replace it\n";
        return false;
    }
    // Not named .docx: a file left behind by a failure is no document.
    const std::string partial = path + ".partial";
    std::remove(partial.c_str());
    try {
        write(partial);
    } catch (...) {
        std::remove(partial.c_str());
        throw;
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        throw std::runtime_error("could not replace " + path);
    }
    return true;
}

}  // namespace cli
