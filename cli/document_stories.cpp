#include "document_stories.h"

#include <cctype>
#include <cstring>
#include <functional>
#include <set>
#include <unordered_map>

#include <pugixml.hpp>

#include "format/number_labels.h"
#include "format/numbering_labels.h"
#include "list_places.h"
#include "story_parts.h"

namespace cli {

namespace {

// A complex field being read: its instruction until w:separate, then its
// result, which is what a reader sees.
struct OpenField {
    std::string instruction;
    bool result = false;
    long link = -1;  // the link its result names, for a hyperlink field
};

// What one paragraph gives: its text and the lines of the text boxes it
// anchors.
struct ParagraphOut {
    std::string text;
    std::vector<std::string> boxLines;
};

struct Walk {
    const PackageReader& reader;
    const StyleLookup& styles;
    pugi::xml_node numbering;
    NoteMarks& footnotes;
    NoteMarks& endnotes;
    DocumentStories& out;

    PackageRelationships rels;  // of the part being read
    ListLabels counting;        // counters start afresh in every story
    std::vector<OpenField> fields;
    size_t inCode = 0;             // open fields not yet past their separator
    std::vector<size_t> captures;  // links whose text is being gathered
    bool body = false;             // the main part: sections and table counts
    int depth = 0;
};

// Text shows unless some open field is still in its code.
bool Visible(const Walk& w) { return w.inCode == 0; }

void Emit(Walk& w, ParagraphOut& p, const std::string& text) {
    if (!Visible(w)) return;
    p.text += text;
    for (size_t link : w.captures) {
        std::string& target = w.out.links[link].text;
        for (char c : text) target += c == '\n' ? ' ' : c;
    }
}

std::string Utf8(uint32_t code) {
    std::string s;
    if (code < 0x80) {
        s += char(code);
    } else if (code < 0x800) {
        s += char(0xC0 | (code >> 6));
        s += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        s += char(0xE0 | (code >> 12));
        s += char(0x80 | ((code >> 6) & 0x3F));
        s += char(0x80 | (code & 0x3F));
    }
    return s;
}

// "HYPERLINK "https://example.org/guide.html" \l "install"" ->
// the address and the fragment.
bool HyperlinkInstruction(const std::string& instruction, std::string& address, std::string& fragment) {
    std::vector<std::string> tokens;
    for (size_t i = 0; i < instruction.size();) {
        if (std::isspace(static_cast<unsigned char>(instruction[i]))) {
            ++i;
        } else if (instruction[i] == '"') {
            const size_t end = instruction.find('"', i + 1);
            tokens.push_back(instruction.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1));
            i = end == std::string::npos ? instruction.size() : end + 1;
        } else {
            size_t end = i;
            while (end < instruction.size() && !std::isspace(static_cast<unsigned char>(instruction[end]))) ++end;
            tokens.push_back(instruction.substr(i, end - i));
            i = end;
        }
    }
    if (tokens.empty()) return false;
    std::string name = tokens[0];
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name != "HYPERLINK") return false;
    for (size_t i = 1; i < tokens.size(); ++i) {
        const std::string& t = tokens[i];
        if (t == "\\l" || t == "\\L") {
            if (i + 1 < tokens.size()) fragment = tokens[++i];
        } else if (t == "\\o" || t == "\\O" || t == "\\t" || t == "\\T") {
            ++i;  // a tip or a target frame
        } else if (!t.empty() && t[0] != '\\' && address.empty()) {
            address = t;
        }
    }
    return true;
}

size_t BeginLink(Walk& w, const std::string& where, const std::string& address, const std::string& fragment,
                 bool field) {
    StoryLink link;
    link.where = where;
    link.field = field;
    link.anchor = address.empty();
    link.target = address.empty() ? fragment : fragment.empty() ? address : address + "#" + fragment;
    w.out.links.push_back(std::move(link));
    w.captures.push_back(w.out.links.size() - 1);
    return w.out.links.size() - 1;
}

void EndLink(Walk& w, size_t link) {
    for (size_t i = w.captures.size(); i-- > 0;)
        if (w.captures[i] == link) {
            w.captures.erase(w.captures.begin() + static_cast<long>(i));
            break;
        }
}

void Blocks(Walk& w, pugi::xml_node container, const std::string& where, std::vector<std::string>& lines,
            int& tables);

// A text box's paragraphs and tables, after the paragraph that anchors it.
// Its content is read on its own: not part of a field or a link around
// the anchor.
void TextBox(Walk& w, pugi::xml_node content, ParagraphOut& p, const std::string& where) {
    ++w.out.textBoxes;
    std::vector<OpenField> fields;
    std::vector<size_t> captures;
    size_t inCode = 0;
    fields.swap(w.fields);
    captures.swap(w.captures);
    std::swap(inCode, w.inCode);
    std::vector<std::string> lines;
    int tables = 0;
    const bool body = w.body;
    w.body = false;
    Blocks(w, content, where + " text box", lines, tables);
    w.body = body;
    fields.swap(w.fields);
    captures.swap(w.captures);
    std::swap(inCode, w.inCode);
    for (std::string& line : lines) p.boxLines.push_back("  [text box] " + line);
}

void Picture(Walk& w, pugi::xml_node blip, const std::string& alt, bool floating, const std::string& where) {
    StoryPicture picture;
    picture.where = where;
    picture.alt = alt;
    picture.floating = floating;
    const char* embed = blip.attribute("r:embed").value();
    const char* link = blip.attribute("r:link").value();
    auto rel = w.rels.find(*embed ? embed : link);
    if (rel == w.rels.end()) return;
    if (rel->second.external)
        picture.address = rel->second.target;
    else
        picture.entry = rel->second.target;
    w.out.pictures.push_back(std::move(picture));
}

std::string AltText(pugi::xml_node properties) {
    const char* descr = properties.attribute("descr").value();
    return *descr ? descr : properties.attribute("title").value();
}

// One object of a drawing: a picture, a shape (with its text box), or a
// group of them.
void GraphicObject(Walk& w, pugi::xml_node object, const std::string& alt, bool floating, ParagraphOut& p,
                   const std::string& where) {
    StoryDepth deeper(w.depth);
    if (!deeper.ok) return;
    if (Is(object, "pic:pic")) {
        pugi::xml_node own = object.child("pic:nvPicPr").child("pic:cNvPr");
        const std::string text = AltText(own);
        Picture(w, object.child("pic:blipFill").child("a:blip"), text.empty() ? alt : text, floating, where);
    } else if (Is(object, "wps:wsp")) {
        ++w.out.shapes;
        if (pugi::xml_node content = object.child("wps:txbx").child("w:txbxContent")) TextBox(w, content, p, where);
    } else if (Is(object, "wpg:wgp") || Is(object, "wpg:grpSp") || Is(object, "wpc:wpc")) {
        ++w.out.groups;
        for (pugi::xml_node member : object.children()) GraphicObject(w, member, alt, floating, p, where);
    } else if (Is(object, "mc:AlternateContent")) {
        for (pugi::xml_node member : object.child("mc:Choice").children())
            GraphicObject(w, member, alt, floating, p, where);
    }
}

void Drawing(Walk& w, pugi::xml_node drawing, ParagraphOut& p, const std::string& where) {
    for (pugi::xml_node frame : drawing.children()) {
        const bool floating = Is(frame, "wp:anchor");
        if (!floating && !Is(frame, "wp:inline")) continue;
        const std::string alt = AltText(frame.child("wp:docPr"));
        for (pugi::xml_node object : frame.child("a:graphic").child("a:graphicData").children())
            GraphicObject(w, object, alt, floating, p, where);
    }
}

bool IsVmlShape(pugi::xml_node node) {
    static const char* const kShapes[] = {"v:shape", "v:rect", "v:roundrect", "v:oval", "v:line",
                                          "v:polyline", "v:arc", "v:curve", "v:image"};
    for (const char* name : kShapes)
        if (Is(node, name)) return true;
    return false;
}

// The shapes of a VML picture (w:pict, w:object): an image data is a
// picture, a text box's content is read as the body's.
void Vml(Walk& w, pugi::xml_node node, bool floating, ParagraphOut& p, const std::string& where) {
    StoryDepth deeper(w.depth);
    if (!deeper.ok) return;
    for (pugi::xml_node child : node.children()) {
        if (Is(child, "v:group")) {
            ++w.out.groups;
            Vml(w, child, floating || std::strstr(child.attribute("style").value(), "position:absolute"), p, where);
        } else if (IsVmlShape(child)) {
            const bool absolute = floating || std::strstr(child.attribute("style").value(), "position:absolute");
            if (pugi::xml_node image = child.child("v:imagedata")) {
                StoryPicture picture;
                const char* id = image.attribute("r:id").value();
                if (!*id) id = image.attribute("o:relid").value();
                auto rel = w.rels.find(id);
                if (rel == w.rels.end()) continue;
                picture.where = where;
                picture.alt = child.attribute("alt").value();
                picture.floating = absolute;
                (rel->second.external ? picture.address : picture.entry) = rel->second.target;
                w.out.pictures.push_back(std::move(picture));
                continue;
            }
            ++w.out.shapes;
            if (pugi::xml_node content = child.child("v:textbox").child("w:txbxContent")) TextBox(w, content, p, where);
        }
    }
}

bool Hidden(pugi::xml_node run) {
    pugi::xml_node vanish = run.child("w:rPr").child("w:vanish");
    if (!vanish) return false;
    pugi::xml_attribute val = vanish.attribute("w:val");
    return !val || (std::strcmp(val.value(), "0") != 0 && std::strcmp(val.value(), "false") != 0 &&
                    std::strcmp(val.value(), "off") != 0);
}

void Math(Walk& w, pugi::xml_node node, ParagraphOut& p) {
    StoryDepth deeper(w.depth);
    if (!deeper.ok) return;
    for (pugi::xml_node child : node.children()) {
        if (Is(child, "m:t"))
            Emit(w, p, child.text().get());
        else if (child.type() == pugi::node_element)
            Math(w, child, p);
    }
}

void Inline(Walk& w, pugi::xml_node node, ParagraphOut& p, const std::string& where);

void NoteReference(Walk& w, pugi::xml_node reference, NoteMarks& notes, ParagraphOut& p) {
    const std::string mark = notes.Reference(reference.attribute("w:id").value());
    if (!reference.attribute("w:customMarkFollows").as_bool()) Emit(w, p, "[" + mark + "]");
}

void FieldChar(Walk& w, pugi::xml_node fldChar, const std::string& where) {
    const char* type = fldChar.attribute("w:fldCharType").value();
    if (std::strcmp(type, "begin") == 0) {
        w.fields.emplace_back();
        ++w.inCode;
    } else if (std::strcmp(type, "separate") == 0) {
        if (w.fields.empty() || w.fields.back().result) return;
        OpenField& field = w.fields.back();
        field.result = true;
        --w.inCode;
        std::string address, fragment;
        if (HyperlinkInstruction(field.instruction, address, fragment) && Visible(w))
            field.link = static_cast<long>(BeginLink(w, where, address, fragment, true));
    } else if (std::strcmp(type, "end") == 0) {
        if (w.fields.empty()) return;
        if (w.fields.back().link >= 0) EndLink(w, static_cast<size_t>(w.fields.back().link));
        if (!w.fields.back().result) --w.inCode;
        w.fields.pop_back();
    }
}

void RunChild(Walk& w, pugi::xml_node c, bool hidden, ParagraphOut& p, const std::string& where) {
    const char* name = c.name();
    if (std::strcmp(name, "w:t") == 0) {
        if (!hidden) Emit(w, p, c.text().get());
    } else if (std::strcmp(name, "w:tab") == 0 || std::strcmp(name, "w:ptab") == 0) {
        if (!hidden) Emit(w, p, "\t");
    } else if (std::strcmp(name, "w:br") == 0) {
        const char* type = c.attribute("w:type").value();
        if (!hidden && (!*type || std::strcmp(type, "textWrapping") == 0)) Emit(w, p, "\n");
    } else if (std::strcmp(name, "w:cr") == 0) {
        if (!hidden) Emit(w, p, "\n");
    } else if (std::strcmp(name, "w:noBreakHyphen") == 0) {
        if (!hidden) Emit(w, p, "-");
    } else if (std::strcmp(name, "w:sym") == 0) {
        const uint32_t code = static_cast<uint32_t>(std::strtoul(c.attribute("w:char").value(), nullptr, 16));
        if (!hidden && code) Emit(w, p, NumberLabel_Bullet(Utf8(code)));
    } else if (std::strcmp(name, "w:fldChar") == 0) {
        FieldChar(w, c, where);
    } else if (std::strcmp(name, "w:instrText") == 0) {
        if (!w.fields.empty() && !w.fields.back().result) w.fields.back().instruction += c.text().get();
    } else if (std::strcmp(name, "w:footnoteReference") == 0) {
        NoteReference(w, c, w.footnotes, p);
    } else if (std::strcmp(name, "w:endnoteReference") == 0) {
        NoteReference(w, c, w.endnotes, p);
    } else if (std::strcmp(name, "w:drawing") == 0) {
        if (Visible(w)) Drawing(w, c, p, where);
    } else if (std::strcmp(name, "w:pict") == 0 || std::strcmp(name, "w:object") == 0) {
        if (Visible(w)) Vml(w, c, false, p, where);
    } else if (std::strcmp(name, "mc:AlternateContent") == 0) {
        for (pugi::xml_node choice : c.child("mc:Choice").children()) RunChild(w, choice, hidden, p, where);
    }
}

void Run(Walk& w, pugi::xml_node run, ParagraphOut& p, const std::string& where) {
    const bool hidden = Hidden(run);
    for (pugi::xml_node c = run.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) RunChild(w, c, hidden, p, where);
}

void Bookmark(Walk& w, pugi::xml_node start, const std::string& where) {
    w.out.bookmarks.push_back({where, start.attribute("w:name").value()});
}

// The paragraph-level content: runs, and what holds runs.
void Inline(Walk& w, pugi::xml_node node, ParagraphOut& p, const std::string& where) {
    StoryDepth deeper(w.depth);
    if (!deeper.ok) return;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        const char* name = c.name();
        if (std::strcmp(name, "w:r") == 0) {
            Run(w, c, p, where);
        } else if (std::strcmp(name, "w:hyperlink") == 0) {
            std::string address;
            auto rel = w.rels.find(c.attribute("r:id").value());
            if (rel != w.rels.end()) address = rel->second.target;
            const std::string fragment = c.attribute("w:anchor").value();
            const bool link = (!address.empty() || !fragment.empty()) && Visible(w);
            const size_t index = link ? BeginLink(w, where, address, fragment, false) : 0;
            Inline(w, c, p, where);
            if (link) EndLink(w, index);
        } else if (std::strcmp(name, "w:fldSimple") == 0) {
            std::string address, fragment;
            const bool link = HyperlinkInstruction(c.attribute("w:instr").value(), address, fragment) && Visible(w);
            const size_t index = link ? BeginLink(w, where, address, fragment, true) : 0;
            Inline(w, c, p, where);
            if (link) EndLink(w, index);
        } else if (std::strcmp(name, "w:sdt") == 0) {
            Inline(w, c.child("w:sdtContent"), p, where);
        } else if (std::strcmp(name, "w:ins") == 0 || std::strcmp(name, "w:moveTo") == 0 ||
                   std::strcmp(name, "w:smartTag") == 0 || std::strcmp(name, "w:customXml") == 0 ||
                   std::strcmp(name, "w:bdo") == 0 || std::strcmp(name, "w:dir") == 0) {
            Inline(w, c, p, where);
        } else if (std::strcmp(name, "mc:AlternateContent") == 0) {
            Inline(w, c.child("mc:Choice"), p, where);
        } else if (std::strcmp(name, "w:bookmarkStart") == 0) {
            Bookmark(w, c, where);
        } else if (std::strcmp(name, "m:oMathPara") == 0 || std::strcmp(name, "m:oMath") == 0) {
            Math(w, c, p);
        }
    }
}

SectionFacts Section(const Walk& w, pugi::xml_node sectPr) {
    SectionFacts s;
    if (pugi::xml_node size = sectPr.child("w:pgSz")) {
        s.hasPageSize = size.attribute("w:w") && size.attribute("w:h");
        s.width = size.attribute("w:w").as_llong();
        s.height = size.attribute("w:h").as_llong();
        s.landscape = std::strcmp(size.attribute("w:orient").value(), "landscape") == 0;
    }
    if (pugi::xml_node margins = sectPr.child("w:pgMar")) {
        s.hasMargins = true;
        s.top = margins.attribute("w:top").as_llong();
        s.right = margins.attribute("w:right").as_llong();
        s.bottom = margins.attribute("w:bottom").as_llong();
        s.left = margins.attribute("w:left").as_llong();
    }
    static const char* const kStarts[][2] = {{"continuous", "continuous"}, {"evenPage", "even page"},
                                             {"oddPage", "odd page"},      {"nextColumn", "next column"},
                                             {"nextPage", "next page"}};
    const char* type = sectPr.child("w:type").attribute("w:val").value();
    for (const auto& start : kStarts)
        if (std::strcmp(type, start[0]) == 0) s.start = start[1];
    if (pugi::xml_node title = sectPr.child("w:titlePg")) s.titlePage = title.attribute("w:val").as_bool(true);
    const SectionParts parts = SectionParts_Of(sectPr, w.rels);
    for (int type = 0; type < 3; ++type) {
        s.headers[type] = parts.headers[type];
        s.footers[type] = parts.footers[type];
    }
    return s;
}

ParagraphOut Paragraph(Walk& w, pugi::xml_node paragraph, const std::string& where, std::string& label,
                       int& level, bool& markDeleted) {
    pugi::xml_node pPr = paragraph.child("w:pPr");
    markDeleted = bool(pPr.child("w:rPr").child("w:del"));
    if (!markDeleted) {
        const ListPlace place = ListPlace_OfParagraph(w.styles, paragraph);
        if (w.numbering && place.numId && *place.numId != 0) {
            level = static_cast<int>(place.level.value_or(0));
            label = ListLabels_Next(w.counting, *place.numId, place.level.value_or(0));
        }
    }
    ParagraphOut p;
    Inline(w, paragraph, p, where);
    if (w.body)
        if (pugi::xml_node sectPr = pPr.child("w:sectPr")) w.out.sections.push_back(Section(w, sectPr));
    return p;
}

// The blocks of a container as readers see them: through content controls,
// custom XML and inserted blocks, the choice of alternate content; deleted
// blocks left out.
void EachBlock(Walk& w, pugi::xml_node container, const std::function<void(pugi::xml_node)>& visit) {
    StoryDepth deeper(w.depth);
    if (!deeper.ok) return;
    for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        if (Is(c, "w:p") || Is(c, "w:tbl") || Is(c, "w:bookmarkStart"))
            visit(c);
        else if (Is(c, "w:sdt"))
            EachBlock(w, c.child("w:sdtContent"), visit);
        else if (Is(c, "w:customXml") || Is(c, "w:ins") || Is(c, "w:moveTo"))
            EachBlock(w, c, visit);
        else if (Is(c, "mc:AlternateContent"))
            EachBlock(w, c.child("mc:Choice"), visit);
    }
}

// The rows of a table, and the cells of a row, through content controls.
void EachChild(Walk& w, pugi::xml_node container, const char* name,
               const std::function<void(pugi::xml_node)>& visit) {
    StoryDepth deeper(w.depth);
    if (!deeper.ok) return;
    for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
        if (Is(c, name))
            visit(c);
        else if (Is(c, "w:sdt"))
            EachChild(w, c.child("w:sdtContent"), name, visit);
        else if (Is(c, "w:customXml"))
            EachChild(w, c, name, visit);
    }
}

std::string Join(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) out += (i ? separator : "") + parts[i];
    return out;
}

std::string CellText(Walk& w, pugi::xml_node cell, const std::string& where, std::vector<std::string>& boxLines);

// Each row's cell texts.
std::vector<std::vector<std::string>> TableRows(Walk& w, pugi::xml_node table, const std::string& where,
                                                std::vector<std::vector<std::string>>& rowBoxes) {
    std::vector<std::vector<std::string>> rows;
    if (w.body) ++w.out.tables;
    int r = 0;
    EachChild(w, table, "w:tr", [&](pugi::xml_node row) {
        if (row.child("w:trPr").child("w:del")) return;  // a deleted row
        ++r;
        if (w.body) ++w.out.rows;
        std::vector<std::string> cells;
        std::vector<std::string> boxes;
        int c = 0;
        EachChild(w, row, "w:tc", [&](pugi::xml_node cell) {
            ++c;
            if (w.body) ++w.out.cells;
            cells.push_back(CellText(w, cell, where + " cell " + std::to_string(r) + "," + std::to_string(c), boxes));
        });
        rows.push_back(std::move(cells));
        rowBoxes.push_back(std::move(boxes));
    });
    return rows;
}

std::string LabelledText(const std::string& label, const std::string& text) {
    return label.empty() ? text : label + " " + text;
}

// A cell's paragraphs on one line; a nested table as "[a | b]" a row.
std::string CellText(Walk& w, pugi::xml_node cell, const std::string& where, std::vector<std::string>& boxLines) {
    std::vector<std::string> parts;
    int tables = 0;
    EachBlock(w, cell, [&](pugi::xml_node block) {
        if (Is(block, "w:bookmarkStart")) return Bookmark(w, block, where);
        if (Is(block, "w:tbl")) {
            std::vector<std::vector<std::string>> boxes;
            const auto rows = TableRows(w, block, where + " table " + std::to_string(++tables), boxes);
            std::vector<std::string> texts;
            for (size_t r = 0; r < rows.size(); ++r) {
                texts.push_back("[" + Join(rows[r], " | ") + "]");
                for (const std::string& line : boxes[r]) boxLines.push_back(line);
            }
            if (!texts.empty()) parts.push_back(Join(texts, " "));
            return;
        }
        std::string label;
        int level = 0;
        bool deleted = false;
        ParagraphOut p = Paragraph(w, block, where, label, level, deleted);
        const std::string text = LabelledText(label, p.text);
        if (!text.empty()) parts.push_back(text);
        for (std::string& line : p.boxLines) boxLines.push_back(std::move(line));
    });
    return Join(parts, " ");
}

void Blocks(Walk& w, pugi::xml_node container, const std::string& where, std::vector<std::string>& lines,
            int& tables) {
    // A paragraph whose mark was deleted runs on into the next one.
    std::string pending;
    bool hasPending = false;
    auto flush = [&] {
        if (hasPending) lines.push_back(pending);
        pending.clear();
        hasPending = false;
    };
    EachBlock(w, container, [&](pugi::xml_node block) {
        if (Is(block, "w:bookmarkStart")) return Bookmark(w, block, where);
        if (Is(block, "w:tbl")) {
            flush();
            std::vector<std::vector<std::string>> boxes;
            const auto rows = TableRows(w, block, where + " table " + std::to_string(++tables), boxes);
            for (size_t r = 0; r < rows.size(); ++r) {
                lines.push_back(Join(rows[r], "\t"));
                for (const std::string& line : boxes[r]) lines.push_back(line);
            }
            return;
        }
        std::string label;
        int level = 0;
        bool deleted = false;
        ParagraphOut p = Paragraph(w, block, where, label, level, deleted);
        if (deleted) {
            pending += p.text;
            hasPending = true;
        } else {
            const std::string text = pending + p.text;
            pending.clear();
            hasPending = false;
            lines.push_back(label.empty() ? text
                                          : std::string(static_cast<size_t>(std::max(level, 0)) * 2, ' ') +
                                                LabelledText(label, text));
        }
        for (std::string& line : p.boxLines) lines.push_back(std::move(line));
    });
    flush();
}

// Reads one story of `part` into `story`.
void ReadStory(Walk& w, const std::string& part, pugi::xml_node root, Story& story) {
    w.rels = PackageReader_Relationships(w.reader, part);
    w.counting = ListLabels();
    w.counting.numbering = w.numbering;
    w.fields.clear();
    w.inCode = 0;
    w.captures.clear();
    int tables = 0;
    story.part = part;
    Blocks(w, root, story.where, story.lines, tables);
}

// The notes of one part in the order readers number them.
void ReadNotes(Walk& w, const std::string& part, const char* element, const char* kind, NoteMarks& marks,
               int64_t& count) {
    pugi::xml_document xml;
    if (part.empty() || !PackageReader_Xml(w.reader, part, xml)) return;
    for (pugi::xml_node note : NoteMarks_InOrder(marks, xml.document_element(), element)) {
        ++count;
        Story story;
        story.kind = kind;
        story.mark = marks.marks[note.attribute("w:id").value()];
        story.where = std::string(kind) + " " + story.mark;
        ReadStory(w, part, note, story);
        // The space after the note's own mark is no text of the note.
        if (!story.lines.empty()) story.lines[0].erase(0, story.lines[0].find_first_not_of(' '));
        w.out.stories.push_back(std::move(story));
    }
}

void ReadComments(Walk& w, const std::string& part) {
    pugi::xml_document xml;
    if (part.empty() || !PackageReader_Xml(w.reader, part, xml)) return;
    for (pugi::xml_node comment : xml.document_element().children("w:comment")) {
        Story story;
        story.kind = "comment";
        story.mark = comment.attribute("w:author").value();
        story.where = "comment " + std::to_string(++w.out.comments);
        ReadStory(w, part, comment, story);
        w.out.stories.push_back(std::move(story));
    }
}

// The headers and footers of every section, each part once, under the
// first section that names it.
void ReadHeadersAndFooters(Walk& w) {
    std::set<std::string> read;
    for (size_t s = 0; s < w.out.sections.size(); ++s) {
        for (int header = 1; header >= 0; --header) {
            for (int type = 0; type < 3; ++type) {
                const std::string part =
                    header ? w.out.sections[s].headers[type] : w.out.sections[s].footers[type];
                if (part.empty() || !read.insert(part).second) continue;
                pugi::xml_document xml;
                if (!PackageReader_Xml(w.reader, part, xml)) continue;
                Story story;
                story.kind = header ? "header" : "footer";
                story.section = static_cast<int>(s + 1);
                story.type = kStoryPartTypes[type];
                story.where = SectionParts_Where(s + 1, header, type);
                ReadStory(w, part, xml.document_element(), story);
                w.out.stories.push_back(std::move(story));
            }
        }
    }
}

}  // namespace

bool DocumentStories_Read(const std::string& path, DocumentStories& out, std::string& error) {
    out = DocumentStories();
    if (!PackageReader_Open(out.package, path)) {
        error = "cannot read the package";
        return false;
    }
    const PackageReader& reader = out.package;
    const std::string main = reader.mainPart;
    const PackageRelationships mainRels = PackageReader_Relationships(reader, main);
    pugi::xml_document document, numberingXml, stylesXml, settingsXml;
    if (!PackageReader_Xml(reader, main, document)) {
        error = "cannot read the main part " + main;
        return false;
    }
    PackageReader_Xml(reader, PackageRelationships_FirstOfType(mainRels, "numbering"), numberingXml);
    PackageReader_Xml(reader, PackageRelationships_FirstOfType(mainRels, "styles"), stylesXml);
    PackageReader_Xml(reader, PackageRelationships_FirstOfType(mainRels, "settings"), settingsXml);
    const StyleLookup styles = StyleLookup_Make(stylesXml.child("w:styles"));
    const pugi::xml_node body = document.document_element().child("w:body");
    pugi::xml_node finalSectPr;
    for (pugi::xml_node sectPr : body.children("w:sectPr")) finalSectPr = sectPr;
    const pugi::xml_node settings = settingsXml.child("w:settings");

    NoteMarks footnotes, endnotes;
    footnotes.format = NoteMarks_Format(settings, finalSectPr, "w:footnotePr", "decimal");
    endnotes.format = NoteMarks_Format(settings, finalSectPr, "w:endnotePr", "lowerRoman");
    Walk w{reader, styles, numberingXml.child("w:numbering"), footnotes, endnotes, out, {}, {}, {}, 0, {}, false, 0};

    Story bodyStory;
    bodyStory.kind = bodyStory.where = "body";
    w.body = true;
    ReadStory(w, main, body, bodyStory);
    w.rels = mainRels;
    out.sections.push_back(Section(w, finalSectPr));
    w.body = false;
    out.stories.push_back(std::move(bodyStory));

    ReadHeadersAndFooters(w);
    ReadNotes(w, PackageRelationships_FirstOfType(mainRels, "footnotes"), "w:footnote", "footnote", footnotes,
              out.footnotes);
    ReadNotes(w, PackageRelationships_FirstOfType(mainRels, "endnotes"), "w:endnote", "endnote", endnotes,
              out.endnotes);
    ReadComments(w, PackageRelationships_FirstOfType(mainRels, "comments"));
    return true;
}

}  // namespace cli
