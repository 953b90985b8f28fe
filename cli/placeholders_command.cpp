#include "placeholders_command.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "placeholder_scan.h"

using Json = nlohmann::ordered_json;

namespace cli {

const char* const kPlaceholdersHelp =
    "Prints one line per placeholder and place: the placeholder as the document\n"
    "holds it, where it is (body, body table 1 cell 2,1, section 1 header (first),\n"
    "footnote 1, body text box, core properties (title)) and, when it applies,\n"
    "\"split across runs\" (fill it with --across-runs; \"... that cannot be joined\"\n"
    "when it crosses a link's, field's, content control's or tracked change's\n"
    "edge or holds a break, drawing or note mark), \"in a field code: cannot be\n"
    "filled\" and how many times it occurs there. Comments are not read: fill\n"
    "leaves them as they are.\n"
    "\n"
    "patterns (the defaults): {...}  [[...]]  <<...>>  \xC2\xAB...\xC2\xBB  (something between\n"
    "the marks, on one line). --pattern REGEX (ECMAScript; may be repeated)\n"
    "replaces them, e.g. --pattern '\\$[A-Z_]+'.\n";

namespace {

int Usage(const std::string& why) {
    if (!why.empty()) std::cerr << "vexword placeholders: " << why << "\n";
    std::cerr << "usage: vexword placeholders TEMPLATE.docx [--pattern REGEX]... [--json]\n";
    return kExitUsage;
}

// Characters, not bytes: what a terminal's columns count.
size_t Width(const std::string& s) {
    size_t width = 0;
    for (char c : s) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return width;
}

std::string Padded(const std::string& s, size_t width) {
    return s + std::string(width > Width(s) ? width - Width(s) : 0, ' ');
}

}  // namespace

int Placeholders_Command(vexrt::Runtime& rt, const CommandArgs& args) {
    std::vector<std::string> sources, files;
    bool json = args.json;
    for (size_t i = 0; i < args.operands.size(); ++i) {
        const std::string& a = args.operands[i];
        if (a == "--pattern") {
            if (i + 1 >= args.operands.size()) return Usage("--pattern needs a value");
            sources.push_back(args.operands[++i]);
        } else if (a == "--json") {
            json = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage("unknown option " + a);
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 1) return Usage(files.empty() ? "" : "one template at a time");
    PlaceholderPatterns patterns;
    std::string error;
    if (!PlaceholderPatterns_Make(sources, patterns, error)) return Usage("--pattern " + error);

    // What the library refuses to open is refused here too, with its message.
    rt.callShared("Document", "Open", {rt.makeFolderItem(files[0])});
    PlaceholderScan scan;
    if (!PlaceholderScan_Package(files[0], patterns, scan, error)) {
        std::cerr << "vexword placeholders: " << files[0] << ": " << error << "\n";
        return kExitFailure;
    }

    if (json) {
        Json list = Json::array();
        for (const FoundPlaceholder& found : scan.found)
            list.push_back({{"text", found.text},
                            {"where", found.where},
                            {"part", found.part},
                            {"count", found.count},
                            {"split", found.split},
                            {"joinable", found.joinable},
                            {"fieldCode", found.fieldCode}});
        const Json out = {{"file", files[0]}, {"patterns", patterns.sources}, {"placeholders", list}};
        std::cout << out.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
        return kExitOk;
    }
    size_t textWidth = 0, whereWidth = 0;
    for (const FoundPlaceholder& found : scan.found) {
        textWidth = std::max(textWidth, Width(found.text));
        whereWidth = std::max(whereWidth, Width(found.where));
    }
    for (const FoundPlaceholder& found : scan.found) {
        const std::string note = FoundPlaceholder_Note(found);
        std::string line = Padded(found.text, textWidth) + "  ";
        line += note.empty() ? found.where : Padded(found.where, whereWidth) + "  " + note;
        std::cout << line << "\n";
    }
    if (scan.found.empty()) std::cerr << "vexword placeholders: " << files[0] << " holds no placeholders\n";
    return kExitOk;
}

}  // namespace cli
