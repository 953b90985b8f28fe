#include "placeholder_scan.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>
#include <unordered_map>
#include <utility>

#include <pugixml.hpp>

#include "format/number_labels.h"
#include "package_reading.h"
#include "story_parts.h"

namespace cli {

const char* const kDefaultPlaceholderPatterns[4] = {
    // Braces hold no braces: "{{name}}" reads as "{name}" inside braces
    // rather than as "{{name}".
    R"(\{[^{}\r\n]+\})",
    R"(\[\[[^\r\n]+?\]\])",
    R"(<<[^\r\n]+?>>)",
    "\xC2\xAB[^\\r\\n]+?\xC2\xBB",  // «...»
};

bool PlaceholderPatterns_Make(const std::vector<std::string>& sources, PlaceholderPatterns& patterns,
                              std::string& error) {
    patterns.sources = sources;
    patterns.defaults = patterns.sources.empty();
    if (patterns.sources.empty())
        patterns.sources.assign(std::begin(kDefaultPlaceholderPatterns), std::end(kDefaultPlaceholderPatterns));
    std::string joined;
    for (const std::string& source : patterns.sources) {
        try {
            std::regex one(source, std::regex::ECMAScript);
        } catch (const std::regex_error& e) {
            error = "\"" + source + "\" is not a regular expression (" + e.what() + ")";
            return false;
        }
        joined += (joined.empty() ? "(?:" : "|(?:") + source + ")";
    }
    try {
        patterns.regex = std::regex(joined, std::regex::ECMAScript);
    } catch (const std::regex_error& e) {
        error = "the patterns do not make one regular expression (" + std::string(e.what()) + ")";
        return false;
    }
    return true;
}

std::vector<std::pair<size_t, size_t>> PlaceholderPatterns_Matches(const PlaceholderPatterns& patterns,
                                                                    const std::string& text) {
    // The regular expressions recurse once a character they take: they see
    // a window of the text at a time, so that a long paragraph neither
    // exhausts the stack nor costs more than its length times the window.
    const size_t kWindow = 4096;
    std::vector<std::pair<size_t, size_t>> matches;
    if (patterns.defaults && text.find_first_of("{[<\xC2") == std::string::npos) return matches;
    const char* const data = text.data();
    for (size_t start = 0;;) {
        const size_t end = std::min(text.size(), start + kWindow);
        const bool last = end == text.size();
        // Matches starting past here are looked for in the next window,
        // where they may be whole.
        const size_t accept = last ? end : end - kPlaceholderLongest;
        auto flags = std::regex_constants::match_default;
        if (start > 0) flags |= std::regex_constants::match_prev_avail;
        if (!last) flags |= std::regex_constants::match_not_eol;
        size_t taken = start;
        for (std::cregex_iterator m(data + start, data + end, patterns.regex, flags), stop; m != stop; ++m) {
            const size_t b = start + size_t(m->position(0)), e = b + size_t(m->length(0));
            if (b >= accept) break;
            if (e == b) continue;
            matches.emplace_back(b, e);
            taken = e;
        }
        if (last) break;
        start = std::max(accept, taken);
    }
    return matches;
}

namespace {

struct ScanField {
    std::string code;
    bool result = false;  // past w:separate
    bool read = false;    // its code was searched
};

// One w:t's place in a paragraph's joined text, and the runs it may be
// joined with: texts of one group lie in consecutive runs that no link,
// field, content control or tracked change begins or ends between, and no
// break, drawing or note mark stands between.
struct TextPiece {
    size_t begin, end;
    int group;
};

// A paragraph's joined text, where each w:t lies in it, and the codes of
// the fields read in it.
struct JoinedParagraph {
    std::string text;
    std::vector<TextPiece> pieces;
    int group = 0;
    std::vector<std::string> codes;
};

// What follows cannot be joined with what came before.
void Break(JoinedParagraph& p) { ++p.group; }

struct Walk {
    const PackageReader& reader;
    const PlaceholderPatterns& patterns;
    PlaceholderScan& out;
    NoteMarks footnotes, endnotes;
    PackageRelationships rels;  // of the part being read
    std::string part;
    std::vector<ScanField> fields;
    size_t inCode = 0;  // open fields not yet past their separator
    std::vector<FoundPlaceholder>* sink = nullptr;  // occurrences, one each, in order
    std::vector<SectionParts> sections;
    bool body = false;
    int depth = 0;
};

bool Visible(const Walk& w) { return w.inCode == 0; }

void Add(JoinedParagraph& p, const char* text) { p.text += text; }

void Found(Walk& w, const std::string& text, const std::string& where, bool split, bool joinable, bool fieldCode) {
    FoundPlaceholder found;
    found.text = text;
    found.where = where;
    found.part = w.part;
    found.count = 1;
    found.split = split;
    found.joinable = joinable;
    found.fieldCode = fieldCode;
    w.sink->push_back(std::move(found));
}

// Every match of the patterns in `text`; with `pieces`, whether each lies
// whole in one of them, and if not, whether the pieces it spans may be
// joined (matches and pieces both come in order and matches do not
// overlap, so one walk over each).
void Search(Walk& w, const std::string& text, const std::vector<TextPiece>* pieces, const std::string& where,
            bool fieldCode) {
    size_t k = 0;
    for (const auto& [b, e] : PlaceholderPatterns_Matches(w.patterns, text)) {
        bool split = false, joinable = false;
        if (pieces) {
            const std::vector<TextPiece>& t = *pieces;
            while (k < t.size() && t[k].end <= b) ++k;
            split = !(k < t.size() && t[k].begin <= b && e <= t[k].end);
            if (split && k < t.size() && t[k].begin <= b) {
                size_t last = k;
                joinable = true;
                for (size_t j = k + 1; j < t.size() && t[j].begin < e; ++j) {
                    joinable = joinable && t[j].group == t[k].group;
                    last = j;
                }
                joinable = joinable && t[last].end >= e;
            }
        }
        Found(w, text.substr(b, e - b), where, split, joinable, fieldCode);
    }
}

void Blocks(Walk& w, pugi::xml_node container, const std::string& where, int& tables);

// A text box's paragraphs, read on their own: no field or paragraph around
// the anchor reaches into them.
void TextBox(Walk& w, pugi::xml_node content, const std::string& where) {
    std::vector<ScanField> fields;
    size_t inCode = 0;
    fields.swap(w.fields);
    std::swap(inCode, w.inCode);
    const bool body = w.body;
    w.body = false;
    int tables = 0;
    Blocks(w, content, where + " text box", tables);
    w.body = body;
    fields.swap(w.fields);
    std::swap(inCode, w.inCode);
}

// Drawings and VML pictures: the text boxes of their shapes, in groups
// too, the chosen content of alternate content only.
void Shapes(Walk& w, pugi::xml_node node, const std::string& where) {
    StoryDepth deeper(w.depth);
    if (!deeper.ok) return;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        if (Is(c, "w:txbxContent"))
            TextBox(w, c, where);
        else if (Is(c, "mc:AlternateContent"))
            Shapes(w, c.child("mc:Choice"), where);
        else if (!Is(c, "mc:Fallback"))
            Shapes(w, c, where);
    }
}

void FieldCodeRead(ScanField& field, JoinedParagraph& p) {
    if (field.read) return;
    field.read = true;
    if (!field.code.empty()) p.codes.push_back(field.code);
}

void RunChild(Walk& w, pugi::xml_node c, JoinedParagraph& p, const std::string& where) {
    const char* name = c.name();
    if (std::strcmp(name, "w:t") == 0) {
        if (!Visible(w)) return;
        const size_t begin = p.text.size();
        p.text += c.text().get();
        p.pieces.push_back({begin, p.text.size(), p.group});
    } else if (std::strcmp(name, "w:tab") == 0 || std::strcmp(name, "w:ptab") == 0) {
        if (Visible(w)) Add(p, "\t");
    } else if (std::strcmp(name, "w:br") == 0 || std::strcmp(name, "w:cr") == 0) {
        Break(p);
        if (Visible(w)) Add(p, "\n");
    } else if (std::strcmp(name, "w:noBreakHyphen") == 0) {
        if (Visible(w)) Add(p, "-");
    } else if (std::strcmp(name, "w:fldChar") == 0) {
        Break(p);
        const char* type = c.attribute("w:fldCharType").value();
        if (std::strcmp(type, "begin") == 0) {
            w.fields.emplace_back();
            ++w.inCode;
        } else if (std::strcmp(type, "separate") == 0) {
            if (w.fields.empty()) return;
            FieldCodeRead(w.fields.back(), p);
            if (!w.fields.back().result) --w.inCode;
            w.fields.back().result = true;
        } else if (std::strcmp(type, "end") == 0) {
            if (w.fields.empty()) return;
            FieldCodeRead(w.fields.back(), p);
            if (!w.fields.back().result) --w.inCode;
            w.fields.pop_back();
        }
    } else if (std::strcmp(name, "w:instrText") == 0) {
        if (!w.fields.empty() && !w.fields.back().result) w.fields.back().code += c.text().get();
    } else if (std::strcmp(name, "w:footnoteReference") == 0) {
        Break(p);
        w.footnotes.Reference(c.attribute("w:id").value());
    } else if (std::strcmp(name, "w:endnoteReference") == 0) {
        Break(p);
        w.endnotes.Reference(c.attribute("w:id").value());
    } else if (std::strcmp(name, "w:drawing") == 0 || std::strcmp(name, "w:pict") == 0 ||
               std::strcmp(name, "w:object") == 0) {
        Break(p);
        if (Visible(w)) Shapes(w, c, where);
    } else if (std::strcmp(name, "mc:AlternateContent") == 0) {
        for (pugi::xml_node choice : c.child("mc:Choice").children()) RunChild(w, choice, p, where);
    }
}

// The paragraph-level content: runs, and what holds runs; deleted text
// is left out.
void Inline(Walk& w, pugi::xml_node node, JoinedParagraph& p, const std::string& where) {
    StoryDepth deeper(w.depth);
    if (!deeper.ok) return;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        if (Is(c, "w:r")) {
            for (pugi::xml_node child = c.first_child(); child; child = child.next_sibling())
                if (child.type() == pugi::node_element) RunChild(w, child, p, where);
        } else if (Is(c, "w:fldSimple")) {
            if (Visible(w)) p.codes.push_back(c.attribute("w:instr").value());
            Break(p);
            Inline(w, c, p, where);
            Break(p);
        } else if (Is(c, "w:sdt")) {
            Break(p);
            Inline(w, c.child("w:sdtContent"), p, where);
            Break(p);
        } else if (Is(c, "w:hyperlink") || Is(c, "w:ins") || Is(c, "w:moveTo")) {
            Break(p);
            Inline(w, c, p, where);
            Break(p);
        } else if (Is(c, "w:smartTag") || Is(c, "w:customXml") || Is(c, "w:bdo") || Is(c, "w:dir")) {
            Inline(w, c, p, where);
        } else if (Is(c, "mc:AlternateContent")) {
            Inline(w, c.child("mc:Choice"), p, where);
        }
    }
}

// One paragraph: its text's placeholders, its fields' codes', then those of
// the text boxes it anchors.
void Paragraph(Walk& w, pugi::xml_node paragraph, const std::string& where) {
    JoinedParagraph p;
    std::vector<FoundPlaceholder> boxes;
    std::vector<FoundPlaceholder>* outer = w.sink;
    w.sink = &boxes;
    Inline(w, paragraph, p, where);
    w.sink = outer;
    Search(w, p.text, &p.pieces, where, false);
    for (const std::string& code : p.codes) Search(w, code, nullptr, where, true);
    w.out.texts.push_back(std::move(p.text));
    for (FoundPlaceholder& found : boxes) w.sink->push_back(std::move(found));
    if (w.body)
        if (pugi::xml_node sectPr = paragraph.child("w:pPr").child("w:sectPr"))
            w.sections.push_back(SectionParts_Of(sectPr, w.rels));
}

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

void Table(Walk& w, pugi::xml_node table, const std::string& where) {
    int r = 0;
    EachChild(w, table, "w:tr", [&](pugi::xml_node row) {
        if (row.child("w:trPr").child("w:del")) return;  // a deleted row
        ++r;
        int c = 0;
        EachChild(w, row, "w:tc", [&](pugi::xml_node cell) {
            ++c;
            int tables = 0;
            Blocks(w, cell, where + " cell " + std::to_string(r) + "," + std::to_string(c), tables);
        });
    });
}

void Blocks(Walk& w, pugi::xml_node container, const std::string& where, int& tables) {
    StoryDepth deeper(w.depth);
    if (!deeper.ok) return;
    for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        if (Is(c, "w:p"))
            Paragraph(w, c, where);
        else if (Is(c, "w:tbl"))
            Table(w, c, where + " table " + std::to_string(++tables));
        else if (Is(c, "w:sdt"))
            Blocks(w, c.child("w:sdtContent"), where, tables);
        else if (Is(c, "w:customXml") || Is(c, "w:ins") || Is(c, "w:moveTo"))
            Blocks(w, c, where, tables);
        else if (Is(c, "mc:AlternateContent"))
            Blocks(w, c.child("mc:Choice"), where, tables);
    }
}

void ReadStory(Walk& w, const std::string& part, pugi::xml_node root, const std::string& where) {
    w.rels = PackageReader_Relationships(w.reader, part);
    w.part = part;
    w.fields.clear();
    w.inCode = 0;
    int tables = 0;
    Blocks(w, root, where, tables);
}

// The headers and footers of every section, each part once, under the
// first section that names it.
void ReadHeadersAndFooters(Walk& w) {
    std::set<std::string> read;
    for (size_t s = 0; s < w.sections.size(); ++s)
        for (int header = 1; header >= 0; --header)
            for (int type = 0; type < 3; ++type) {
                const std::string part = header ? w.sections[s].headers[type] : w.sections[s].footers[type];
                if (part.empty() || !read.insert(part).second) continue;
                pugi::xml_document xml;
                if (!PackageReader_Xml(w.reader, part, xml)) continue;
                ReadStory(w, part, xml.document_element(), SectionParts_Where(s + 1, header, type));
            }
}

// The notes of one part in the order readers number them.
void ReadNotes(Walk& w, const std::string& part, const char* element, const char* kind, NoteMarks& marks) {
    pugi::xml_document xml;
    if (part.empty() || !PackageReader_Xml(w.reader, part, xml)) return;
    for (pugi::xml_node note : NoteMarks_InOrder(marks, xml.document_element(), element))
        ReadStory(w, part, note, std::string(kind) + " " + marks.marks[note.attribute("w:id").value()]);
}

// "lastModifiedBy" -> "last modified by".
std::string PropertyLabel(const char* qualified) {
    const char* colon = std::strchr(qualified, ':');
    std::string label;
    for (const char* c = colon ? colon + 1 : qualified; *c; ++c) {
        if (*c >= 'A' && *c <= 'Z') {
            label += ' ';
            label += char(*c - 'A' + 'a');
        } else {
            label += *c;
        }
    }
    return label;
}

void ReadCoreProperties(Walk& w) {
    std::string part;
    for (const auto& rel : PackageReader_Relationships(w.reader, ""))
        if (rel.second.type == "core-properties" && !rel.second.external) part = rel.second.target;
    if (part.empty()) part = "docProps/core.xml";
    pugi::xml_document xml;
    if (!PackageReader_Xml(w.reader, part, xml)) return;
    w.part = part;
    for (pugi::xml_node property : xml.document_element().children()) {
        if (property.type() != pugi::node_element) continue;
        const std::string value = property.text().get();
        if (value.empty()) continue;
        Search(w, value, nullptr, "core properties (" + PropertyLabel(property.name()) + ")", false);
        w.out.texts.push_back(value);
    }
}

// Occurrences of one text at one place in one state become one entry,
// where the first of them was.
std::vector<FoundPlaceholder> Grouped(std::vector<FoundPlaceholder>& each) {
    std::vector<FoundPlaceholder> groups;
    std::unordered_map<std::string, size_t> index;
    for (FoundPlaceholder& found : each) {
        const std::string key = found.text + '\x1f' + found.where + '\x1f' + (found.split ? "s" : "-") +
                                (found.joinable ? "j" : "-") + (found.fieldCode ? "f" : "-");
        auto known = index.find(key);
        if (known != index.end()) {
            ++groups[known->second].count;
        } else {
            index.emplace(key, groups.size());
            groups.push_back(std::move(found));
        }
    }
    return groups;
}

}  // namespace

bool PlaceholderScan_Package(const std::string& path, const PlaceholderPatterns& patterns, PlaceholderScan& scan,
                             std::string& error) {
    scan = PlaceholderScan();
    PackageReader reader;
    if (!PackageReader_Open(reader, path)) {
        error = "cannot read the package";
        return false;
    }
    const std::string main = reader.mainPart;
    const PackageRelationships mainRels = PackageReader_Relationships(reader, main);
    pugi::xml_document document, settingsXml;
    if (!PackageReader_Xml(reader, main, document)) {
        error = "cannot read the main part " + main;
        return false;
    }
    PackageReader_Xml(reader, PackageRelationships_FirstOfType(mainRels, "settings"), settingsXml);
    const pugi::xml_node body = document.document_element().child("w:body");
    pugi::xml_node finalSectPr;
    for (pugi::xml_node sectPr : body.children("w:sectPr")) finalSectPr = sectPr;
    const pugi::xml_node settings = settingsXml.child("w:settings");

    std::vector<FoundPlaceholder> each;
    Walk w{reader, patterns, scan, {}, {}, {}, {}, {}, 0, &each, {}, false, 0};
    w.footnotes.format = NoteMarks_Format(settings, finalSectPr, "w:footnotePr", "decimal");
    w.endnotes.format = NoteMarks_Format(settings, finalSectPr, "w:endnotePr", "lowerRoman");

    w.body = true;
    ReadStory(w, main, body, "body");
    w.sections.push_back(SectionParts_Of(finalSectPr, w.rels));
    w.body = false;
    ReadHeadersAndFooters(w);
    ReadNotes(w, PackageRelationships_FirstOfType(mainRels, "footnotes"), "w:footnote", "footnote", w.footnotes);
    ReadNotes(w, PackageRelationships_FirstOfType(mainRels, "endnotes"), "w:endnote", "endnote", w.endnotes);
    ReadCoreProperties(w);
    scan.found = Grouped(each);
    return true;
}

std::vector<std::string> PlaceholderScan_Unmatched(const PlaceholderScan& scan, const std::vector<std::string>& names) {
    std::vector<std::string> unmatched;
    for (const std::string& name : names) {
        if (name.empty()) continue;
        bool found = false;
        for (const std::string& text : scan.texts)
            if (text.find(name) != std::string::npos) {
                found = true;
                break;
            }
        if (!found) unmatched.push_back(name);
    }
    return unmatched;
}

std::string FoundPlaceholder_Note(const FoundPlaceholder& found) {
    std::string note;
    if (found.fieldCode) note = "in a field code: cannot be filled";
    if (found.split) note = found.joinable ? "split across runs" : "split across runs that cannot be joined";
    if (found.count > 1) note += (note.empty() ? "" : ", ") + std::to_string(found.count) + " times";
    return note;
}

}  // namespace cli
