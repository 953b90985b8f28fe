#include "command_line.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "host_program.h"

namespace example {

namespace {

std::string Synopsis(const Command& c) {
    std::string s = c.name;
    if (c.writesFile) s += " [--force]";
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
    rt.loadPlugin(PluginPath());
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

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

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
            } else {
                return UsageError(tool, commands, std::string(c->name) + " does not take " + a);
            }
        }
        if (!c->ownOptions && parsed.operands.size() != c->operandCount)
            return UsageError(tool, commands,
                              std::string(c->name) + " takes " + (*c->operands ? c->operands : "no arguments"));
        vexrt::Runtime rt;
        if (!c->withoutPlugin) rt.loadPlugin(PluginPath());
        return c->run(rt, parsed);
    } catch (const vexrt::HostException& e) {
        std::cerr << tool << ": " << Describe(e) << "\n";
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

}  // namespace example
