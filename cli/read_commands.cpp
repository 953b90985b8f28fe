#include "read_commands.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "document_stories.h"
#include "file_problems.h"
#include "picture_types.h"

using vexrt::Object;
using vexrt::Value;
using Json = nlohmann::ordered_json;

namespace cli {

namespace {

// Opens the document through the plug-in (a failure names the file and
// what is wrong with it).
Object OpenDocument(vexrt::Runtime& rt, const std::string& path) {
    Object doc;
    FileProblem_Guard(path, FileUse::Read,
                      [&] { doc = rt.callShared("Document", "Open", {rt.makeFolderItem(path)}).object(); });
    return doc;
}

// Opens the document through the plug-in, then reads its package.
DocumentStories Read(vexrt::Runtime& rt, const std::string& path) {
    OpenDocument(rt, path);
    DocumentStories stories;
    std::string error;
    if (!DocumentStories_Read(path, stories, error)) throw std::runtime_error(path + ": " + error);
    return stories;
}

void PrintJson(const Json& json) { std::cout << json.dump(2, ' ', false, Json::error_handler_t::replace) << "\n"; }

std::string Heading(const Story& story) {
    if (story.kind == "header" || story.kind == "footer")
        return "--- Section " + std::to_string(story.section) + " " + story.kind + " (" + story.type + ") ---";
    return std::string();
}

// "[1] " before a note's first line, as many spaces before the others.
std::string NoteLead(const Story& story, size_t line) {
    const std::string lead = "[" + story.mark + "] ";
    return line == 0 ? lead : std::string(lead.size(), ' ');
}

const char* NotesHeading(const std::string& kind) {
    if (kind == "footnote") return "--- Footnotes ---";
    if (kind == "endnote") return "--- Endnotes ---";
    return "--- Comments ---";
}

}  // namespace

int Text_Command(vexrt::Runtime& rt, const CommandArgs& args) {
    const DocumentStories doc = Read(rt, args.operands[0]);
    if (args.json) {
        Json stories = Json::array();
        for (const Story& story : doc.stories) {
            Json s = {{"where", story.where}, {"kind", story.kind}, {"part", story.part}};
            if (story.section) {
                s["section"] = story.section;
                s["type"] = story.type;
            }
            if (story.kind == "comment") s["author"] = story.mark;
            else if (!story.mark.empty()) s["mark"] = story.mark;
            s["lines"] = story.lines;
            stories.push_back(std::move(s));
        }
        PrintJson({{"file", args.operands[0]}, {"stories", stories}});
        return kExitOk;
    }
    std::string notesKind;
    for (const Story& story : doc.stories) {
        if (story.kind == "body") {
            // Empty paragraphs before the first text print nothing: a new
            // document starts with the blank package's empty paragraph.
            bool leading = true;
            for (const std::string& line : story.lines) {
                leading = leading && line.empty();
                if (!leading) std::cout << line << "\n";
            }
            continue;
        }
        const std::string heading = Heading(story);
        if (!heading.empty()) {
            std::cout << heading << "\n";
            for (const std::string& line : story.lines) std::cout << line << "\n";
            continue;
        }
        if (story.kind != notesKind) std::cout << NotesHeading(story.kind) << "\n";
        notesKind = story.kind;
        if (story.kind == "comment") {
            std::cout << "[" << story.mark << "]";
            for (const std::string& line : story.lines) std::cout << " " << line;
            std::cout << "\n";
            continue;
        }
        for (size_t i = 0; i < story.lines.size(); ++i) std::cout << NoteLead(story, i) << story.lines[i] << "\n";
    }
    return kExitOk;
}

int Links_Command(vexrt::Runtime& rt, const CommandArgs& args) {
    const DocumentStories doc = Read(rt, args.operands[0]);
    if (args.json) {
        Json links = Json::array(), bookmarks = Json::array();
        for (const StoryLink& link : doc.links)
            links.push_back({{"where", link.where}, {"text", link.text}, {"target", link.target},
                             {"anchor", link.anchor}, {"field", link.field}});
        for (const StoryBookmark& b : doc.bookmarks) bookmarks.push_back({{"where", b.where}, {"name", b.name}});
        PrintJson({{"file", args.operands[0]}, {"links", links}, {"bookmarks", bookmarks}});
        return kExitOk;
    }
    for (const StoryLink& link : doc.links)
        std::cout << link.where << ": " << link.text << " -> " << (link.field ? "(field) " : "")
                  << (link.anchor ? "#" : "") << link.target << "\n";
    for (const StoryBookmark& b : doc.bookmarks)
        std::cout << "bookmark: " << b.name << (b.where == "body" ? "" : " (" + b.where + ")") << "\n";
    return kExitOk;
}

namespace {

std::string FileName(const std::string& entry) {
    const size_t slash = entry.rfind('/');
    return slash == std::string::npos ? entry : entry.substr(slash + 1);
}

struct PictureFacts {
    const StoryPicture* picture;
    std::string name;
    std::string bytes;
    PictureKind kind;
    bool read = false;
};

std::vector<PictureFacts> Pictures(const DocumentStories& doc) {
    std::vector<PictureFacts> facts;
    for (const StoryPicture& p : doc.pictures) {
        PictureFacts f{&p, FileName(p.entry), std::string(), PictureKind(), false};
        if (!p.entry.empty()) {
            f.read = PackageReader_Bytes(doc.package, p.entry, f.bytes);
            f.kind = PictureKind_Of(f.bytes, f.name);
        }
        facts.push_back(std::move(f));
    }
    return facts;
}

}  // namespace

// "body: png image1.png 96 x 48 px "Company logo"", a floating one marked.
int Pictures_Command(vexrt::Runtime& rt, const CommandArgs& args) {
    const DocumentStories doc = Read(rt, args.operands[0]);
    const std::vector<PictureFacts> pictures = Pictures(doc);
    if (args.json) {
        Json list = Json::array();
        for (const PictureFacts& f : pictures) {
            Json p = {{"where", f.picture->where}, {"floating", f.picture->floating}, {"alt", f.picture->alt}};
            if (!f.picture->address.empty()) {
                p["linked"] = f.picture->address;
            } else {
                p["entry"] = f.picture->entry;
                p["type"] = f.read ? f.kind.type : "missing";
                p["bytes"] = f.bytes.size();
                if (f.kind.sized) p["pixels"] = {{"width", f.kind.width}, {"height", f.kind.height}};
            }
            list.push_back(std::move(p));
        }
        PrintJson({{"file", args.operands[0]}, {"pictures", list}});
        return kExitOk;
    }
    for (const PictureFacts& f : pictures) {
        std::cout << f.picture->where << ": ";
        if (!f.picture->address.empty()) {
            std::cout << "linked " << f.picture->address;
        } else if (!f.read) {
            std::cout << "missing " << f.picture->entry;
        } else {
            std::cout << f.kind.type << " " << f.name;
            if (f.kind.sized)
                std::cout << " " << f.kind.width << " x " << f.kind.height << " px";
            else if (!f.kind.problem.empty())
                std::cout << " size unknown (" << f.kind.problem << ")";
        }
        std::cout << " \"" << f.picture->alt << "\"" << (f.picture->floating ? " (floating)" : "") << "\n";
    }
    return kExitOk;
}

// A picture shown twice is written once; two different pictures of one
// name (from different folders) get "-2", "-3"... before the extension.
int Extract_Command(vexrt::Runtime& rt, const CommandArgs& args) {
    const DocumentStories doc = Read(rt, args.operands[0]);
    const std::string& dir = args.operands[1];
    std::filesystem::create_directories(dir);
    std::map<std::string, std::string> written;  // file name -> bytes
    Json list = Json::array();
    for (const PictureFacts& f : Pictures(doc)) {
        if (!f.read) continue;  // linked, or named but missing
        std::string name = f.name;
        if (name.empty() || name == "." || name == "..") name = "picture";
        const size_t dot = name.rfind('.');
        const std::string stem = name.substr(0, dot), extension = dot == std::string::npos ? "" : name.substr(dot);
        for (int n = 2; written.count(name) && written[name] != f.bytes; ++n)
            name = stem + "-" + std::to_string(n) + extension;
        if (written.count(name)) continue;
        written[name] = f.bytes;
        const bool fresh = OutputFile_Write((std::filesystem::path(dir) / name).string(), args.force,
                                            [&](const std::string& file) {
                                                std::ofstream out(file, std::ios::binary);
                                                out << f.bytes;
                                                if (!out.flush())
                                                    throw std::runtime_error("cannot write " + name + " into " + dir);
                                            });
        if (!fresh) return kExitFailure;
        if (args.json)
            list.push_back({{"where", f.picture->where}, {"file", name}, {"bytes", f.bytes.size()}});
        else
            std::cout << f.picture->where << ": " << name << " (" << f.bytes.size() << " bytes)\n";
    }
    if (args.json) PrintJson({{"file", args.operands[0]}, {"directory", dir}, {"written", list}});
    return kExitOk;
}

namespace {

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

std::string Inches(int64_t twips) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(twips) / 1440.0);
    return text;
}

// "8.50 x 11.00 in, portrait, margins 1.00 1.00 1.00 1.00 in (top right
// bottom left), starts: next page".
std::string DescribeSection(const SectionFacts& s) {
    std::string text = s.hasPageSize ? Inches(s.width) + " x " + Inches(s.height) + " in, " +
                                           (s.landscape ? "landscape" : "portrait")
                                     : std::string("no page size (the reader's default)");
    text += s.hasMargins ? ", margins " + Inches(s.top) + " " + Inches(s.right) + " " + Inches(s.bottom) + " " +
                               Inches(s.left) + " in (top right bottom left)"
                         : std::string(", no margins (the reader's default)");
    return text + ", starts: " + s.start + (s.titlePage ? ", title page" : "");
}

// The parts a section shows of one kind: its own, or the nearest earlier
// section's ("default (as section 1)").
struct ShownPart {
    std::string part;
    size_t from = 0;  // the section (from 1) that names it
};

ShownPart Shown(const std::vector<SectionFacts>& sections, size_t s, bool header, int type) {
    for (size_t i = s + 1; i-- > 0;) {
        const std::string& part = header ? sections[i].headers[type] : sections[i].footers[type];
        if (!part.empty()) return {part, i + 1};
    }
    return {};
}

std::string ShownKinds(const std::vector<SectionFacts>& sections, size_t s, bool header) {
    std::string kinds;
    for (int type = 0; type < 3; ++type) {
        const ShownPart shown = Shown(sections, s, header, type);
        if (shown.part.empty()) continue;
        kinds += std::string(kinds.empty() ? "" : ", ") + kStoryPartTypes[type];
        if (shown.from != s + 1) kinds += " (as section " + std::to_string(shown.from) + ")";
    }
    return kinds.empty() ? "none" : kinds;
}

}  // namespace

int Info_Command(vexrt::Runtime& rt, const CommandArgs& args) {
    const std::string& path = args.operands[0];
    Object document = OpenDocument(rt, path);
    DocumentStories doc;
    std::string error;
    if (!DocumentStories_Read(path, doc, error)) throw std::runtime_error(path + ": " + error);

    Json properties = Json::object(), counts = Json::object();
    for (const char* p : {"Title", "Subject", "Creator", "KeyWords", "Description", "LastModifiedBy", "Revision"}) {
        const Value v = rt.get(document, p);
        properties[p] = v.isInteger() ? Json(v.integer()) : Json(Show(v));
    }
    for (const char* p : {"CreatedDate", "ModifiedDate"}) properties[p] = ShowDate(rt, rt.get(document, p));
    for (const char* p : {"ItemCount", "ParagraphCount", "TableCount"}) counts[p] = rt.get(document, p).integer();
    int64_t floating = 0;
    for (const StoryPicture& p : doc.pictures) floating += p.floating;

    if (args.json) {
        Json sections = Json::array();
        for (size_t s = 0; s < doc.sections.size(); ++s) {
            const SectionFacts& f = doc.sections[s];
            Json section = {{"start", f.start}, {"titlePage", f.titlePage}};
            section["pageSize"] = f.hasPageSize ? Json{{"width", f.width}, {"height", f.height},
                                                      {"landscape", f.landscape}, {"unit", "twips"}}
                                                : Json();
            section["margins"] = f.hasMargins ? Json{{"top", f.top}, {"right", f.right}, {"bottom", f.bottom},
                                                     {"left", f.left}, {"unit", "twips"}}
                                              : Json();
            for (int header = 1; header >= 0; --header) {
                Json parts = Json::object();
                for (int type = 0; type < 3; ++type) {
                    const ShownPart shown = Shown(doc.sections, s, header, type);
                    if (!shown.part.empty())
                        parts[kStoryPartTypes[type]] = {{"part", shown.part}, {"fromSection", shown.from}};
                }
                section[header ? "headers" : "footers"] = parts;
            }
            sections.push_back(std::move(section));
        }
        PrintJson({{"file", path},
                   {"properties", properties},
                   {"counts", counts},
                   {"shapes", doc.shapes},
                   {"groups", doc.groups},
                   {"textBoxes", doc.textBoxes},
                   {"pictures", doc.pictures.size()},
                   {"floatingPictures", floating},
                   {"tables", {{"tables", doc.tables}, {"rows", doc.rows}, {"cells", doc.cells}}},
                   {"footnotes", doc.footnotes},
                   {"endnotes", doc.endnotes},
                   {"comments", doc.comments},
                   {"sections", sections}});
        return kExitOk;
    }
    for (const auto& p : properties.items())
        std::cout << p.key() << ": " << (p.value().is_string() ? p.value().get<std::string>() : p.value().dump())
                  << "\n";
    for (const auto& c : counts.items()) std::cout << c.key() << ": " << c.value().get<int64_t>() << "\n";
    std::cout << "Shapes: " << doc.shapes << ", groups: " << doc.groups << ", text boxes: " << doc.textBoxes << "\n"
              << "Pictures: " << doc.pictures.size() << " (" << floating << " floating)\n"
              << "Tables: " << doc.tables << " (nested included), rows: " << doc.rows << ", cells: " << doc.cells
              << "\n"
              << "Footnotes: " << doc.footnotes << ", endnotes: " << doc.endnotes << ", comments: " << doc.comments
              << "\n";
    for (size_t s = 0; s < doc.sections.size(); ++s)
        std::cout << "Section " << s + 1 << ": " << DescribeSection(doc.sections[s]) << "\n"
                  << "  Headers: " << ShownKinds(doc.sections, s, true) << "\n"
                  << "  Footers: " << ShownKinds(doc.sections, s, false) << "\n";
    return kExitOk;
}

}  // namespace cli
