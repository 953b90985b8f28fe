// vexword: a command-line host program that drives the plug-in through the
// runtime as a host program would; its reading commands also read the
// package next to it, for the parts the members do not reach (read_commands.h).
// `vexword --help` lists the
// commands (the table at the end of this file), `vexword help COMMAND`
// shows one with an example.
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <vexrt/runtime.h>

#include "api_reference.h"
#include "check/check_command.h"
#include "command_line.h"
#include "file_problems.h"
#include "fill_command.h"
#include "placeholders_command.h"
#include "read_commands.h"

using vexrt::Object;

namespace {

// A host exception out of opening names the file and what is wrong with it.
Object Open(vexrt::Runtime& rt, const std::string& path) {
    Object doc;
    cli::FileProblem_Guard(path, cli::FileUse::Read,
                           [&] { doc = rt.callShared("Document", "Open", {rt.makeFolderItem(path)}).object(); });
    return doc;
}

int Resave(vexrt::Runtime& rt, const cli::CommandArgs& args) {
    Object doc = Open(rt, args.operands[0]);
    bool written = false;
    cli::FileProblem_Guard(args.operands[1], cli::FileUse::Write, [&] {
        written = cli::OutputFile_Write(args.operands[1], args.force, [&](const std::string& out) {
            rt.call(doc, "SaveAs", {rt.makeFolderItem(out)});
        });
    });
    return written ? cli::kExitOk : cli::kExitFailure;
}

int Api(vexrt::Runtime& rt, const cli::CommandArgs&) {
    const vexrt::ModuleInfo* module = rt.module();
    if (!module) throw std::runtime_error("the plug-in registered no module");
    std::cout << cli::ApiReference_Markdown(*module);
    return cli::kExitOk;
}

int Fill(vexrt::Runtime& rt, const cli::CommandArgs& args) {
    return cli::FillCommand(rt, args.operands, args.force);
}

int RunCheck(vexrt::Runtime&, const cli::CommandArgs& args) {
    const int status = cli::Check_Command(args.operands, std::cout, std::cerr);
    if (status == cli::kExitUsage)
        std::cerr << "usage: vexword check [--strict] [--json] FILE.docx...\n"
                     "\"vexword help check\" explains the command and its options.\n";
    return status;
}

// One line a command: name, operands and their number, summary, example,
// whether it writes a file (and so takes --force), and what runs it.
const std::vector<cli::Command> kCommands = {
    {"info", "FILE.docx", 1,
     "core properties, counts of shapes, pictures, tables, notes and comments, every section with its headers and footers",
     "vexword info letter.docx", false, cli::Info_Command, false, nullptr, false, true},
    {"text", "FILE.docx", 1,
     "the text as a reader sees it: body (list labels, tables, text boxes, content controls, changes accepted), every "
     "section's headers and footers, footnotes, endnotes, comments",
     "vexword text letter.docx", false, cli::Text_Command, false, nullptr, false, true},
    {"links", "FILE.docx", 1, "every hyperlink of every part (where, text, address or #anchor) and every bookmark",
     "vexword links letter.docx", false, cli::Links_Command, false, nullptr, false, true},
    {"resave", "IN.docx OUT.docx", 2, "open IN and write it to OUT with SaveAs",
     "vexword resave letter.docx copy.docx", true, Resave},
    {"fill", "TEMPLATE.docx (OUT.docx NAME=VALUE... | OUT.docx --json PAIRS.json | --csv DATA.csv --out DIR [--name COLUMN] [--jobs N]) [--across-runs] [--pattern REGEX] [--strict]",
     0, "fill the placeholders of a template: pairs, a JSON object, or one document per CSV row",
     "vexword fill letter.docx out.docx Name=Ada", true, Fill, true, cli::kFillHelp},
    {"placeholders", "TEMPLATE.docx [--pattern REGEX]...", 0,
     "the placeholders a template holds, where each is, and which are split across runs or in a field code",
     "vexword placeholders letter.docx", false, cli::Placeholders_Command, true, cli::kPlaceholdersHelp, false,
     true},
    {"pictures", "FILE.docx", 1,
     "every picture of every part, inline or floating: where, type, media name, pixel size, alternative text",
     "vexword pictures letter.docx", false, cli::Pictures_Command, false, nullptr, false, true},
    {"extract", "FILE.docx DIR", 2, "write the bytes of every picture into DIR under its media name",
     "vexword extract letter.docx pictures", true, cli::Extract_Command, false, nullptr, false, true},
    {"check", "[--strict] [--json] FILE.docx...", 0,
     "judge packages as the strictest word processors read them: archive, XML, types, relationships, schema order",
     "vexword check --strict letter.docx", false, RunCheck, true, cli::kCheckHelp, true},
    {"api", "", 0, "the API reference (Markdown) of what the plug-in registers",
     "vexword api > docs/api.md", false, Api},
};

}  // namespace

int main(int argc, char** argv) { return cli::CommandLine_Main("vexword", kCommands, argc, argv); }
