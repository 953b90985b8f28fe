// vexword: a command-line host program that drives the plug-in through the
// runtime exactly as a host program would. `vexword --help` lists the
// commands (the table at the end of this file), `vexword help COMMAND`
// shows one with an example.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <vexrt/runtime.h>

#include "api_reference.h"
#include "cell_walk.h"
#include "check/check_command.h"
#include "command_line.h"
#include "file_problems.h"
#include "drawing/image_size.h"
#include "fill_command.h"
#include "paragraph_text.h"
#include "list_labels.h"
#include "table_text.h"

using vexrt::Object;
using vexrt::Value;

namespace {

// A host exception out of opening names the file and what is wrong with it.
Object Open(vexrt::Runtime& rt, const std::string& path) {
    Object doc;
    cli::FileProblem_Guard(path, cli::FileUse::Read,
                           [&] { doc = rt.callShared("Document", "Open", {rt.makeFolderItem(path)}).object(); });
    return doc;
}

std::string Show(const Value& v) {
    if (v.isInteger()) return std::to_string(v.integer());
    if (v.isString() || v.isNil()) return v.text();
    return "?";
}

std::string ShowDate(vexrt::Runtime& rt, const Value& v) {
    if (v.isNil()) return "";
    const Object& d = v.object();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld",
                  (long long)rt.hostProperty(d, "Year").integer(), (long long)rt.hostProperty(d, "Month").integer(),
                  (long long)rt.hostProperty(d, "Day").integer(), (long long)rt.hostProperty(d, "Hour").integer(),
                  (long long)rt.hostProperty(d, "Minute").integer(), (long long)rt.hostProperty(d, "Second").integer());
    return buf;
}

bool Has(vexrt::Runtime& rt, const char* className, const char* member) {
    const vexrt::ModuleInfo* m = rt.module();
    const vexrt::ClassInfo* c = m ? m->findClass(className) : nullptr;
    if (!c) return false;
    for (const auto& p : c->properties) if (p.name == member) return true;
    for (const auto& p : c->methods) if (p.name == member) return true;
    return false;
}

const char* const kHeaderFooterTypes[] = {"default", "first", "even"};

// One anchored drawing as a shape, or the members of a group.
void AddAnchored(vexrt::Runtime& rt, const Object& shape, const Object& group, std::vector<Object>& shapes,
                 int64_t* groups) {
    if (shape) shapes.push_back(shape);
    if (!group) return;
    if (groups) ++*groups;
    const int64_t last = rt.get(group, "LastShapeIndex").integer();
    for (int64_t i = 0; i <= last; ++i) shapes.push_back(rt.call(group, "Shape", {i}).object());
}

// The shapes a paragraph anchors: each shape of its runs, and each member
// of their groups. A run may hold several (one writer puts every drawing of
// a paragraph into one run); a library without ShapeCount gives the first.
std::vector<Object> AnchoredShapes(vexrt::Runtime& rt, const Object& paragraph, int64_t* groups = nullptr) {
    std::vector<Object> shapes;
    if (!Has(rt, "Run", "Shape")) return shapes;
    const bool every = Has(rt, "Run", "ShapeCount");
    const int64_t runs = rt.get(paragraph, "RunCount").integer();
    for (int64_t r = 0; r < runs; ++r) {
        Object run = rt.call(paragraph, "Run", {r}).object();
        if (!run) continue;
        if (!every) {
            if (!rt.get(run, "IsShape").boolean()) continue;
            AddAnchored(rt, rt.get(run, "Shape").object(), rt.get(run, "ShapeGroup").object(), shapes, groups);
            continue;
        }
        const int64_t count = rt.get(run, "ShapeCount").integer();
        for (int64_t i = 0; i < count; ++i)
            AddAnchored(rt, rt.call(run, "ShapeAt", {i}).object(), rt.call(run, "ShapeGroupAt", {i}).object(),
                        shapes, groups);
    }
    return shapes;
}

// The text-box lines of the shapes a paragraph anchors, marked as such:
// paragraphs, and the rows of tables, as in the body.
std::vector<std::string> TextBoxLines(vexrt::Runtime& rt, const Object& paragraph) {
    std::vector<std::string> lines;
    for (const Object& shape : AnchoredShapes(rt, paragraph)) {
        Object box = rt.call(shape, "Container", {false}).object();
        if (!box) continue;
        for (const auto& t : cli::ContainerLines(rt, box, {}, {})) lines.push_back("  [text box] " + t);
    }
    return lines;
}

// A container's paragraph texts, each followed by the text-box paragraphs
// of its shapes.
// The header (footer) of the final section of each reference type; nil
// where there is none.
std::vector<Object> HeadersOrFooters(vexrt::Runtime& rt, const Object& doc, const char* kind) {
    std::vector<Object> parts;
    for (int type = 0; type < 3; ++type)
        parts.push_back(Has(rt, "Document", kind) ? rt.call(doc, kind, {type, false}).object() : Object());
    return parts;
}

const char* const kSectionStarts[] = {"none", "continuous", "even page", "odd page", "next page", "next column"};

// "8.50 x 11.00 in, portrait, margins 1.00 1.00 1.00 1.00 in (top right
// bottom left), starts: next page".
std::string DescribeSection(vexrt::Runtime& rt, const Object& section) {
    const int kInches = 1;
    auto measure = [&](const char* method) { return rt.call(section, method, {kInches}).number(); };
    char text[256];
    const int64_t start = rt.get(section, "SectionType").integer();
    std::snprintf(text, sizeof text, "%.2f x %.2f in, %s, margins %.2f %.2f %.2f %.2f in (top right bottom left), starts: %s",
                  measure("PageWidth"), measure("PageHeight"),
                  rt.get(section, "PageIsLandscape").boolean() ? "landscape" : "portrait", measure("PageMarginTop"),
                  measure("PageMarginRight"), measure("PageMarginBottom"), measure("PageMarginLeft"),
                  start >= 0 && start <= 5 ? kSectionStarts[start] : "?");
    return text;
}

// Every section in document order: those that end with a paragraph of the
// body, then the final one.
std::vector<Object> Sections(vexrt::Runtime& rt, const Object& doc) {
    std::vector<Object> sections;
    if (!Has(rt, "Document", "DefaultSection")) return sections;
    const int64_t paragraphs = rt.get(doc, "ParagraphCount").integer();
    for (int64_t i = 0; i < paragraphs; ++i) {
        Value section = rt.get(rt.call(doc, "Paragraph", {i}).object(), "Section");
        if (!section.isNil()) sections.push_back(section.object());
    }
    sections.push_back(rt.get(doc, "DefaultSection").object());
    return sections;
}

int Info(vexrt::Runtime& rt, const std::string& path) {
    Object doc = Open(rt, path);
    for (const char* p : {"Title", "Subject", "Creator", "KeyWords", "Description", "LastModifiedBy", "Revision"})
        std::cout << p << ": " << Show(rt.get(doc, p)) << "\n";
    for (const char* p : {"CreatedDate", "ModifiedDate"})
        std::cout << p << ": " << ShowDate(rt, rt.get(doc, p)) << "\n";
    for (const char* p : {"ItemCount", "ParagraphCount", "TableCount"})
        if (Has(rt, "Container", p)) std::cout << p << ": " << rt.get(doc, p).integer() << "\n";
    if (Has(rt, "Run", "Shape")) {
        // Shapes counted one by one, group members included.
        int64_t shapes = 0, groups = 0;
        const int64_t paragraphs = rt.get(doc, "ParagraphCount").integer();
        for (int64_t i = 0; i < paragraphs; ++i)
            shapes += int64_t(AnchoredShapes(rt, rt.call(doc, "Paragraph", {i}).object(), &groups).size());
        std::cout << "Shapes: " << shapes << ", groups: " << groups << "\n";
    }
    if (Has(rt, "Table", "RowCount")) {
        const cli::TableCounts tables = cli::CountTables(rt, doc);
        std::cout << "Tables: " << tables.tables << " (nested included), rows: " << tables.rows
                  << ", cells: " << tables.cells << "\n";
    }
    const std::vector<Object> sections = Sections(rt, doc);
    for (size_t i = 0; i < sections.size(); ++i)
        std::cout << "Section " << i + 1 << ": " << DescribeSection(rt, sections[i]) << "\n";
    for (const char* kind : {"Header", "Footer"}) {
        const std::vector<Object> parts = HeadersOrFooters(rt, doc, kind);
        std::string kinds;
        for (int type = 0; type < 3; ++type)
            if (parts[type]) kinds += std::string(kinds.empty() ? "" : ", ") + kHeaderFooterTypes[type];
        std::cout << kind << "s: " << (kinds.empty() ? "none" : kinds) << "\n";
    }
    return 0;
}

int Text(vexrt::Runtime& rt, const std::string& path) {
    Object doc = Open(rt, path);
    // The runtime opened the package, so it can be read for its lists too.
    const cli::PackageLabels labels = cli::PackageLabels_Read(path);
    // The text boxes of a paragraph's shapes follow it.
    auto textBoxes = [&](const Object& paragraph, std::vector<std::string>& lines) {
        for (std::string& line : TextBoxLines(rt, paragraph)) lines.push_back(std::move(line));
    };
    // Empty paragraphs before the first text print nothing: a new document
    // starts with the blank package's empty paragraph.
    bool leading = true;
    for (const auto& t : cli::ContainerLines(rt, doc, labels.body, labels.bodyCells, textBoxes)) {
        leading = leading && t.empty();
        if (!leading) std::cout << t << "\n";
    }
    for (const char* kind : {"Header", "Footer"}) {
        const std::vector<Object> parts = HeadersOrFooters(rt, doc, kind);
        const bool headers = std::strcmp(kind, "Header") == 0;
        const cli::StoryLabels* stories = headers ? labels.headers : labels.footers;
        const cli::CellLabels* cells = headers ? labels.headerCells : labels.footerCells;
        for (int type = 0; type < 3; ++type) {
            if (!parts[type]) continue;
            std::cout << "--- " << kind << " (" << kHeaderFooterTypes[type] << ") ---\n";
            for (const auto& t : cli::ContainerLines(rt, parts[type], stories[type], cells[type], textBoxes))
                std::cout << t << "\n";
        }
    }
    return 0;
}

// "body: the guide -> https://example.com/guide.html", anchor links as
// "-> #name"; a hyperlink field shows its instruction's data after
// "(field)". Links in cells are placed as pictures are: "body table 1 cell
// 2,1: ...".
void ListLinks(vexrt::Runtime& rt, const Object& container, const std::string& where) {
    const int kHyperlinkField = 3;
    cli::Container_EachParagraph(rt, container, where, [&](const Object& p, const std::string& at) {
        const int64_t items = rt.get(p, "LogicalParagraphItemCount").integer();
        for (int64_t j = 0; j < items; ++j) {
            Object item = rt.call(p, "LogicalParagraphItem", {j}).object();
            if (!item) continue;
            if (cli::IsHyperlink(rt, item)) {
                const bool anchor = rt.get(item, "LinkToAnchor").boolean();
                std::cout << at << ": " << cli::HyperlinkText(rt, item) << " -> " << (anchor ? "#" : "")
                          << rt.get(item, "Address").text() << "\n";
            } else if (rt.get(item, "IsPartOfComplexRun").boolean() &&
                       rt.get(item, "ComplexRunFieldType").integer() == kHyperlinkField) {
                std::cout << at << ": " << rt.get(item, "Text").text() << " -> (field) "
                          << rt.get(item, "ComplexRunFieldData").text() << "\n";
            }
        }
    });
}

int Links(vexrt::Runtime& rt, const std::string& path) {
    if (!Has(rt, "Hyperlink", "Address")) return 0;
    Object doc = Open(rt, path);
    ListLinks(rt, doc, "body");
    for (const char* kind : {"Header", "Footer"}) {
        const std::vector<Object> parts = HeadersOrFooters(rt, doc, kind);
        for (int type = 0; type < 3; ++type)
            if (parts[type])
                ListLinks(rt, parts[type], std::string(kind[0] == 'H' ? "header" : "footer") + " (" +
                                               kHeaderFooterTypes[type] + ")");
    }
    Object bookmarks = rt.call(doc, "GetBookmarks").object();
    for (size_t i = 0; i < rt.arrayCount(bookmarks); ++i)
        std::cout << "bookmark: " << rt.get(rt.arrayItem(bookmarks, i), "Name").text() << "\n";
    return 0;
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

// One inline picture and where it was found.
struct FoundPicture {
    std::string where;  // "body", "header (first)", "body table 1 cell 2,1"
    Object drawing;
};

// The inline pictures of a container's paragraphs, its cells' included.
void FindPictures(vexrt::Runtime& rt, const Object& container, const std::string& where,
                  std::vector<FoundPicture>& found) {
    cli::Container_EachParagraph(rt, container, where, [&](const Object& paragraph, const std::string& at) {
        const int64_t runs = rt.get(paragraph, "RunCount").integer();
        const bool every = Has(rt, "Run", "DrawingCount");
        for (int64_t r = 0; r < runs; ++r) {
            Object run = rt.call(paragraph, "Run", {r}).object();
            // Every drawing of the run; the first only, from a library
            // without DrawingCount.
            std::vector<Value> drawings;
            if (every) {
                const int64_t count = rt.get(run, "DrawingCount").integer();
                for (int64_t i = 0; i < count; ++i) drawings.push_back(rt.call(run, "DrawingAt", {i}));
            } else {
                drawings.push_back(rt.get(run, "Drawing"));
            }
            for (const Value& drawing : drawings)
                if (!drawing.isNil() && rt.get(drawing.object(), "IsPicture").boolean())
                    found.push_back({at, drawing.object()});
        }
    });
}

// Body, then headers and footers of the final section.
std::vector<FoundPicture> AllPictures(vexrt::Runtime& rt, const Object& doc) {
    std::vector<FoundPicture> found;
    FindPictures(rt, doc, "body", found);
    for (const char* kind : {"Header", "Footer"}) {
        const std::vector<Object> parts = HeadersOrFooters(rt, doc, kind);
        for (int type = 0; type < 3; ++type)
            if (parts[type])
                FindPictures(rt, parts[type],
                             std::string(kind[0] == 'H' ? "header" : "footer") + " (" + kHeaderFooterTypes[type] + ")",
                             found);
    }
    return found;
}

const char* const kPictureTypes[] = {"none", "png", "jpeg"};

// "body: png image1.png 96 x 48 px "Company logo"".
int Pictures(vexrt::Runtime& rt, const std::string& path) {
    if (!Has(rt, "Run", "Drawing")) return 0;
    Object doc = Open(rt, path);
    for (const FoundPicture& p : AllPictures(rt, doc)) {
        const int64_t type = rt.get(p.drawing, "PictureType").integer();
        const std::string bytes = rt.get(p.drawing, "PictureData").text();
        ImageSize size;
        std::string error;
        const std::string pixels = ImageSize_Read(bytes, ImageFormat_Sniff(bytes), size, error)
                                       ? std::to_string(size.width) + " x " + std::to_string(size.height) + " px"
                                       : "size unknown (" + error + ")";
        std::cout << p.where << ": " << (type >= 0 && type <= 2 ? kPictureTypes[type] : "unknown") << " "
                  << rt.get(p.drawing, "PictureFileName").text() << " " << pixels << " \""
                  << rt.get(p.drawing, "AltTextDescription").text() << "\"\n";
    }
    return 0;
}

// A picture shown twice is written once; two different pictures of one
// name (from different folders) get "-2", "-3"... before the extension.
int Extract(vexrt::Runtime& rt, const std::string& path, const std::string& dir, bool force) {
    if (!Has(rt, "Run", "Drawing")) return 0;
    Object doc = Open(rt, path);
    std::filesystem::create_directories(dir);
    std::map<std::string, std::string> written;  // file name -> bytes
    for (const FoundPicture& p : AllPictures(rt, doc)) {
        const std::string bytes = rt.get(p.drawing, "PictureData").text();
        std::string name = rt.get(p.drawing, "PictureFileName").text();
        if (name.empty() || name == "." || name == "..") name = "picture";
        const size_t dot = name.rfind('.');
        const std::string stem = name.substr(0, dot), extension = dot == std::string::npos ? "" : name.substr(dot);
        for (int n = 2; written.count(name) && written[name] != bytes; ++n)
            name = stem + "-" + std::to_string(n) + extension;
        if (written.count(name)) continue;
        written[name] = bytes;
        const bool fresh = cli::OutputFile_Write((std::filesystem::path(dir) / name).string(), force,
                                                     [&](const std::string& file) {
                                                         std::ofstream out(file, std::ios::binary);
                                                         out << bytes;
                                                         if (!out.flush())
                                                             throw std::runtime_error("cannot write " + name +
                                                                                      " into " + dir);
                                                     });
        if (!fresh) return cli::kExitFailure;
        std::cout << p.where << ": " << name << " (" << bytes.size() << " bytes)\n";
    }
    return 0;
}

int RunPictures(vexrt::Runtime& rt, const cli::CommandArgs& args) { return Pictures(rt, args.operands[0]); }
int RunExtract(vexrt::Runtime& rt, const cli::CommandArgs& args) {
    return Extract(rt, args.operands[0], args.operands[1], args.force);
}
int RunInfo(vexrt::Runtime& rt, const cli::CommandArgs& args) { return Info(rt, args.operands[0]); }
int RunText(vexrt::Runtime& rt, const cli::CommandArgs& args) { return Text(rt, args.operands[0]); }
int RunLinks(vexrt::Runtime& rt, const cli::CommandArgs& args) { return Links(rt, args.operands[0]); }
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
    {"info", "FILE.docx", 1, "core properties, body counts, shapes and groups, sections, kinds of headers and footers",
     "vexword info letter.docx", false, RunInfo},
    {"text", "FILE.docx", 1, "paragraph texts of the body (with list labels and text boxes), then of each header and footer",
     "vexword text letter.docx", false, RunText},
    {"links", "FILE.docx", 1, "every hyperlink (where, text, address or #anchor) and every bookmark",
     "vexword links letter.docx", false, RunLinks},
    {"resave", "IN.docx OUT.docx", 2, "open IN and write it to OUT with SaveAs",
     "vexword resave letter.docx copy.docx", true, Resave},
    {"fill", "TEMPLATE.docx (OUT.docx NAME=VALUE... | OUT.docx --json PAIRS.json | --csv DATA.csv --out DIR [--name COLUMN] [--jobs N]) [--across-runs]",
     0, "fill the placeholders of a template: pairs, a JSON object, or one document per CSV row",
     "vexword fill letter.docx out.docx Name=Ada", true, Fill, true, cli::kFillHelp},
    {"pictures", "FILE.docx", 1, "every inline picture: where, type, media name, pixel size, alternative text",
     "vexword pictures letter.docx", false, RunPictures},
    {"extract", "FILE.docx DIR", 2, "write the bytes of every inline picture into DIR under its media name",
     "vexword extract letter.docx pictures", true, RunExtract},
    {"check", "[--strict] [--json] FILE.docx...", 0,
     "judge packages as the strictest word processors read them: archive, XML, types, relationships, schema order",
     "vexword check --strict letter.docx", false, RunCheck, true, cli::kCheckHelp, true},
    {"api", "", 0, "the API reference (Markdown) of what the plug-in registers",
     "vexword api > docs/api.md", false, Api},
};

}  // namespace

int main(int argc, char** argv) { return cli::CommandLine_Main("vexword", kCommands, argc, argv); }
