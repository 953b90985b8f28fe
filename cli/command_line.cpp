#include "command_line.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <stdexcept>


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

// What --force does, for a command that writes files and whose details
// do not explain it themselves.
const char* const kForceHelp =
    "  --force  replace an output file that exists (without it, nothing is\n"
    "           replaced); the new file is written beside it and renamed over it\n"
    "           once complete. A symbolic link stays a link: the file it names is\n"
    "           replaced. A directory, device, FIFO or socket is never replaced.\n";
const char* const kJsonHelp =
    "  --json   print one JSON document (UTF-8, indented) of the same facts as\n"
    "           the lines, for scripts\n";

// The text on options a command's help shows after its details; empty
// when the details say all.
std::string OptionsHelp(const Command& c) {
    std::string text;
    if (c.writesFile && !(c.details && std::strstr(c.details, "--force"))) text += kForceHelp;
    if (c.takesJson && !(c.details && std::strstr(c.details, "--json"))) text += kJsonHelp;
    return text.empty() ? text : "options:\n" + text;
}

std::string CommandHelp(const char* tool, const Command& c) {
    std::ostringstream out;
    out << "usage: " << tool << " " << Synopsis(c) << "\n\n" << c.summary << "\n";
    if (c.details) out << "\n" << c.details;
    const std::string options = OptionsHelp(c);
    if (!options.empty()) out << "\n" << options;
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

// A usage error of one command: its own usage line, and where to read more.
int CommandUsageError(const char* tool, const Command& c, const std::string& why) {
    std::cerr << tool << ": " << why << "\n"
              << "usage: " << tool << " " << Synopsis(c) << "\n"
              << "\"" << tool << " help " << c.name << "\" explains the command and its options.\n";
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

// "a directory", "a character device"...: what a file that is not a
// regular one is.
std::string FileKind(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
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
        if (c.details) out << ".sp\n.nf\n" << Roff(c.details) << ".fi\n";
        const std::string options = OptionsHelp(c);
        if (!options.empty()) out << ".sp\n.nf\n" << Roff(options) << ".fi\n";
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

namespace {

int RunCommandLine(const char* tool, const std::vector<Command>& commands, int argc, char** argv) {
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
                return CommandUsageError(tool, *c, std::string(c->name) + " does not take " + a);
            }
        }
        if (!c->ownOptions && parsed.operands.size() != c->operandCount)
            return CommandUsageError(tool, *c,
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

// Standard output as the commands write it (std::cout): buffered, and
// written with write(2), keeping the reason of the first write that failed
// (stdio forgets it once a later flush finds nothing left to write). On a
// terminal each line goes out when it is complete.
class OutputBuffer : public std::streambuf {
public:
    OutputBuffer() : lineBuffered_(::isatty(STDOUT_FILENO) == 1) { setp(buffer_, buffer_ + sizeof buffer_); }
    int error() const { return error_; }

protected:
    int_type overflow(int_type ch) override {
        Drain();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const std::streamsize put = std::streambuf::xsputn(s, n);
        if (lineBuffered_ && std::memchr(s, '\n', size_t(n))) Drain();
        return put;
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    // Writes what is buffered; what cannot be written is dropped.
    bool Drain() {
        bool written = true;
        for (const char* at = pbase(); at < pptr();) {
            const ssize_t n = ::write(STDOUT_FILENO, at, size_t(pptr() - at));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                if (!error_) error_ = n < 0 ? errno : EIO;
                written = false;
                break;
            }
            at += n;
        }
        setp(buffer_, buffer_ + sizeof buffer_);
        return written && !error_;
    }
    char buffer_[8192];
    bool lineBuffered_;
    int error_ = 0;
};

// What the command printed must have reached standard output: a write that
// failed (a full disk, a closed output) fails the command.
int FinishOutput(const char* tool, int status, OutputBuffer& output) {
    std::cout.flush();
    int error = output.error();
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) error = error ? error : errno ? errno : EIO;
    if (!error) return status;
    std::cerr << tool << ": cannot write the output: " << std::strerror(error) << "\n";
    return status == kExitOk ? kExitFailure : status;
}

}  // namespace

int CommandLine_Main(const char* tool, const std::vector<Command>& commands, int argc, char** argv) {
    OutputBuffer output;
    std::streambuf* const standard = std::cout.rdbuf(&output);
    const int status = FinishOutput(tool, RunCommandLine(tool, commands, argc, argv), output);
    std::cout.rdbuf(standard);
    return status;
}

std::string OutputFile_Refusal(const std::string& path, bool force) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return "";
    if (S_ISLNK(st.st_mode)) {
        struct stat target;
        if (::stat(path.c_str(), &target) != 0)
            return path + ": is a symbolic link to nothing (" + std::strerror(errno) + "); it is not replaced";
        if (!S_ISREG(target.st_mode))
            return path + ": is a symbolic link to " + FileKind(target.st_mode) + "; only a regular file is replaced";
    } else if (!S_ISREG(st.st_mode)) {
        return path + ": is " + FileKind(st.st_mode) + "; only a regular file is replaced";
    }
    if (!force) return path + " exists; give --force to replace it";
    return "";
}

bool OutputFile_Write(const std::string& path, bool force, const std::function<void(const std::string&)>& write) {
    if (!Exists(path)) {
        write(path);
        return true;
    }
    const std::string refusal = OutputFile_Refusal(path, force);
    if (!refusal.empty()) {
        std::cerr << "vexword: " << refusal << "\n";
        return false;
    }
    // A symbolic link stays a link: the file it names is replaced, beside
    // itself (and so on its own file system).
    std::string target = path;
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (!resolved) throw std::runtime_error(path + ": cannot follow the symbolic link: " + std::strerror(errno));
        target = resolved;
        std::free(resolved);
    }
    // Not named .docx: a file left behind by a failure is no document.
    const std::string partial = target + ".partial";
    ::unlink(partial.c_str());
    try {
        write(partial);
    } catch (...) {
        ::unlink(partial.c_str());
        throw;
    }
    if (std::rename(partial.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(partial.c_str());
        throw std::runtime_error("could not replace " + path + ": " + std::strerror(error));
    }
    return true;
}

}  // namespace cli
