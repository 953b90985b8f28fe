#include "package_fill.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include <pugixml.hpp>
#include <zip.h>

#include "deflated_entry.h"
#include "package/deflated_source.h"
#include "package/package_paths.h"
#include "package_reading.h"
#include "story_parts.h"

namespace cli {

namespace {

// The names to look for, by first byte, longest first: at each place of a
// text the longest name that starts there is the one replaced.
struct NameIndex {
    struct Name {
        const std::pair<std::string, std::string>* pair;
        bool breaks;  // its value holds a line feed or a tab
    };
    std::unordered_map<unsigned char, std::vector<Name>> byFirst;
    bool starts[256] = {};
    int only = -1;  // the first byte of every name, when they share one

    explicit NameIndex(const FillPairs& pairs) {
        std::set<std::string> seen;
        for (const auto& pair : pairs) {
            if (pair.first.empty() || !seen.insert(pair.first).second) continue;  // the first pair of a name wins
            const bool breaks = pair.second.find_first_of("\n\t") != std::string::npos;
            byFirst[static_cast<unsigned char>(pair.first[0])].push_back({&pair, breaks});
            starts[static_cast<unsigned char>(pair.first[0])] = true;
        }
        for (auto& entry : byFirst)
            std::stable_sort(entry.second.begin(), entry.second.end(),
                             [](const Name& a, const Name& b) { return a.pair->first.size() > b.pair->first.size(); });
        if (byFirst.size() == 1) only = byFirst.begin()->first;
    }

    const Name* At(const std::string& text, size_t at) const {
        auto found = byFirst.find(static_cast<unsigned char>(text[at]));
        if (found == byFirst.end()) return nullptr;
        for (const Name& name : found->second)
            if (text.compare(at, name.pair->first.size(), name.pair->first) == 0) return &name;
        return nullptr;
    }
};

struct Match {
    size_t start, end;
    const std::pair<std::string, std::string>* pair;
    bool breaks;
};

// Every placeholder of `text` from left to right, none overlapping, into
// `matches` (cleared first).
void Matches(const NameIndex& names, const std::string& text, std::vector<Match>& matches) {
    matches.clear();
    const size_t size = text.size();
    const char* chars = text.data();
    if (names.only >= 0) {
        // Names sharing their first byte (as "{..." do): from one to the next.
        size_t from = 0;
        for (const void* found; (found = std::memchr(chars + from, names.only, size - from));) {
            const size_t at = static_cast<size_t>(static_cast<const char*>(found) - chars);
            const NameIndex::Name* name = names.At(text, at);
            if (name) matches.push_back({at, at + name->pair->first.size(), name->pair, name->breaks});
            from = name ? at + name->pair->first.size() : at + 1;
            if (from >= size) break;
        }
        return;
    }
    for (size_t at = 0; at < size;) {
        if (!names.starts[static_cast<unsigned char>(chars[at])]) {
            ++at;
            continue;
        }
        if (const NameIndex::Name* name = names.At(text, at)) {
            matches.push_back({at, at + name->pair->first.size(), name->pair, name->breaks});
            at += name->pair->first.size();
        } else {
            ++at;
        }
    }
}

std::vector<Match> Matches(const NameIndex& names, const std::string& text) {
    std::vector<Match> matches;
    Matches(names, text, matches);
    return matches;
}

// One w:t of a paragraph, and the run group it belongs to: text elements
// between which nothing stands but run boundaries, proofing marks and
// bookmarks, so that a placeholder across them can be joined.
struct Segment {
    pugi::xml_node t;
    size_t start;  // in the paragraph's text
    size_t size;
    int group;
};

struct ParagraphText {
    std::vector<Segment> segments;
    std::string text;
    std::vector<const char*> boundaries;  // why group i ends, for i + 1
    std::string code;                     // the text of its fields' codes
    int group = 0;
    bool open = false;  // the current group holds a segment

    void Clear() {
        segments.clear();
        text.clear();
        boundaries.clear();
        code.clear();
        group = 0;
        open = false;
    }

    void Boundary(const char* why) {
        if (!open) return;
        boundaries.resize(static_cast<size_t>(group) + 1, "");
        boundaries[static_cast<size_t>(group)] = why;
        ++group;
        open = false;
    }
};

struct FieldState {
    std::vector<bool> result;  // per open field: past its separator
    size_t inCode = 0;         // open fields not yet past it
    bool InCode() const { return inCode != 0; }
};

void Collect(pugi::xml_node node, ParagraphText& p, FieldState& fields, int depth);

void CollectRun(pugi::xml_node run, ParagraphText& p, FieldState& fields) {
    for (pugi::xml_node c = run.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        if (Is(c, "w:t")) {
            const char* text = c.text().get();
            if (fields.InCode()) {
                p.code += text;
                continue;
            }
            const size_t size = std::strlen(text);
            p.segments.push_back({c, p.text.size(), size, p.group});
            p.text.append(text, size);
            p.open = true;
        } else if (Is(c, "w:rPr")) {
            // Formatting: no text between the run's neighbours.
        } else if (Is(c, "w:instrText")) {
            p.code += c.text().get();
        } else if (Is(c, "w:fldChar")) {
            const char* type = c.attribute("w:fldCharType").value();
            p.Boundary("crosses a field's edge");
            if (std::strcmp(type, "begin") == 0) {
                fields.result.push_back(false);
                ++fields.inCode;
            } else if (std::strcmp(type, "separate") == 0) {
                if (!fields.result.empty() && !fields.result.back()) {
                    fields.result.back() = true;
                    --fields.inCode;
                }
            } else if (std::strcmp(type, "end") == 0) {
                if (!fields.result.empty()) {
                    if (!fields.result.back()) --fields.inCode;
                    fields.result.pop_back();
                }
            }
        } else if (Is(c, "w:lastRenderedPageBreak") || Is(c, "w:proofErr")) {
            // Marks: no text between the run's neighbours.
        } else if (Is(c, "w:br") || Is(c, "w:cr") || Is(c, "w:tab") || Is(c, "w:ptab")) {
            p.Boundary("has a line break or a tab inside");
        } else {
            p.Boundary("has a drawing, a symbol or a note mark inside");
        }
    }
}

void Collect(pugi::xml_node node, ParagraphText& p, FieldState& fields, int depth) {
    if (depth > kStoryMaxDepth) return;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        const char* name = c.name();
        if (std::strcmp(name, "w:r") == 0) {
            CollectRun(c, p, fields);
        } else if (std::strcmp(name, "w:pPr") == 0) {
        } else if (std::strcmp(name, "w:hyperlink") == 0) {
            p.Boundary("crosses a link's edge");
            Collect(c, p, fields, depth + 1);
            p.Boundary("crosses a link's edge");
        } else if (std::strcmp(name, "w:sdt") == 0) {
            p.Boundary("crosses a content control's edge");
            Collect(c.child("w:sdtContent"), p, fields, depth + 1);
            p.Boundary("crosses a content control's edge");
        } else if (std::strcmp(name, "w:ins") == 0 || std::strcmp(name, "w:moveTo") == 0) {
            p.Boundary("crosses a tracked change's edge");
            Collect(c, p, fields, depth + 1);
            p.Boundary("crosses a tracked change's edge");
        } else if (std::strcmp(name, "w:fldSimple") == 0) {
            p.Boundary("crosses a field's edge");
            p.code += c.attribute("w:instr").value();
            Collect(c, p, fields, depth + 1);
            p.Boundary("crosses a field's edge");
        } else if (std::strcmp(name, "w:smartTag") == 0 || std::strcmp(name, "w:customXml") == 0) {
            Collect(c, p, fields, depth + 1);
        } else if (std::strcmp(name, "w:del") == 0 || std::strcmp(name, "w:moveFrom") == 0) {
            p.Boundary("crosses a tracked change's edge");  // deleted text is no text to fill
        } else if (std::strcmp(name, "w:proofErr") == 0 ||
                   std::strcmp(name, "w:bookmarkStart") == 0 || std::strcmp(name, "w:bookmarkEnd") == 0 ||
                   std::strcmp(name, "w:commentRangeStart") == 0 || std::strcmp(name, "w:commentRangeEnd") == 0 ||
                   std::strcmp(name, "w:permStart") == 0 || std::strcmp(name, "w:permEnd") == 0) {
        } else {
            p.Boundary("has a drawing, a symbol or a note mark inside");
        }
    }
}

// Sets the text of a w:t, marking it to keep its spaces where a reader
// would otherwise drop them.
void SetText(pugi::xml_node t, const char* text, size_t size) {
    pugi::xml_node child = t.first_child();
    if (size && child && child.type() == pugi::node_pcdata && !child.next_sibling()) {
        child.set_value(text, size);  // the common case: the one text node kept
    } else {
        while (t.first_child()) t.remove_child(t.first_child());
        if (size) t.append_child(pugi::node_pcdata).set_value(text, size);
    }
    const bool spaced = size && (text[0] == ' ' || text[size - 1] == ' ' || text[0] == '\t');
    if (spaced && !t.attribute("xml:space")) t.append_attribute("xml:space") = "preserve";
}

// A text element's new text. Where a value brought a line feed or a tab
// (`breaks`), a line feed becomes a w:br, a tab a w:tab, each text piece a
// w:t of its own in the same run.
void WriteText(pugi::xml_node t, const std::string& text, bool breaks) {
    pugi::xml_node run = breaks ? t.parent() : pugi::xml_node();
    if (!breaks || !Is(run, "w:r") || text.find_first_of("\n\t") == std::string::npos) {
        SetText(t, text.data(), text.size());
        return;
    }
    // The pieces go before the element, which takes the last one.
    size_t from = 0;
    for (size_t at; (at = text.find_first_of("\n\t", from)) != std::string::npos; from = at + 1) {
        if (at > from) SetText(run.insert_child_before("w:t", t), text.data() + from, at - from);
        run.insert_child_before(text[at] == '\n' ? "w:br" : "w:tab", t);
    }
    SetText(t, text.data() + from, text.size() - from);
}

// Elements no paragraph stands in, which the search for paragraphs skips:
// a text, properties of a run, paragraph, cell, row, table or section.
bool HoldsNoParagraph(const char* name) {
    if (name[0] != 'w' || name[1] != ':') return false;
    name += 2;
    // By the first letter: this is asked of every element of a part.
    switch (name[0]) {
    case 't':
        return name[1] == '\0' || !std::strcmp(name, "tcPr") || !std::strcmp(name, "trPr") || !std::strcmp(name, "tblPr");
    case 'r':
        return !std::strcmp(name, "rPr");
    case 'p':
        return !std::strcmp(name, "pPr");
    case 'i':
        return !std::strcmp(name, "instrText");
    case 'd':
        return !std::strcmp(name, "delText");
    case 's':
        return !std::strcmp(name, "sectPr");
    default:
        return false;
    }
}

// The where-label of a part, for reports.
struct PartFill {
    std::string name;
    std::string where;
};

struct Filler {
    Filler(const FillRequest& request, FillReport& report) : request(request), report(report) {}

    const FillRequest& request;
    FillReport& report;
    bool reporting = true;  // repeated rows are filled once a row: counted once
    std::unordered_set<const void*> done;  // paragraphs already filled (repeated rows)
    size_t edits = 0;                      // changes made, so that an unchanged part is copied

    // One paragraph's, their buffers kept for the next.
    ParagraphText p;
    std::vector<Match> matches;
    std::vector<const Match*> applied;
    std::string out;

    void Paragraph(pugi::xml_node paragraph, const NameIndex& names, const std::string& where) {
        p.Clear();
        FieldState fields;
        Collect(paragraph, p, fields, 0);
        Matches(names, p.text, matches);
        if (matches.empty() && p.code.empty()) return;
        std::set<std::string> counted;
        // Where each match starts and ends among the segments.
        auto segmentAt = [&](size_t offset) {
            size_t lo = 0, hi = p.segments.size();
            while (hi - lo > 1) {
                const size_t mid = (lo + hi) / 2;
                (p.segments[mid].start <= offset ? lo : hi) = mid;
            }
            return lo;
        };
        applied.clear();
        for (const Match& m : matches) {
            const size_t first = segmentAt(m.start), last = segmentAt(m.end - 1);
            const std::string& name = m.pair->first;
            if (first == last) {
                applied.push_back(&m);
                continue;
            }
            if (p.segments[first].group != p.segments[last].group) {
                const std::string why = p.boundaries[static_cast<size_t>(p.segments[first].group)];
                if (reporting && counted.insert(name + "\n" + why).second) ++report.unfillable[{name, why}];
                continue;
            }
            if (request.acrossRuns) {
                applied.push_back(&m);
                continue;
            }
            if (reporting && counted.insert(name).second) {
                ++report.split[name];
                auto& places = report.splitWhere[name];
                if (std::find(places.begin(), places.end(), where) == places.end()) places.push_back(where);
            }
        }
        if (reporting && !p.code.empty())
            for (const Match& m : Matches(names, p.code))
                if (counted.insert(m.pair->first + "\ncode").second)
                    ++report.unfillable[{m.pair->first, "stands in a field's code"}];
        if (applied.empty()) return;
        // Each segment's new text: its own characters outside the applied
        // matches, and the value of every match that starts in it.
        size_t next = 0;
        for (size_t s = 0; s < p.segments.size(); ++s) {
            Segment& seg = p.segments[s];
            const size_t begin = seg.start, end = seg.start + seg.size;
            out.clear();
            bool changed = false, breaks = false;
            size_t at = begin;
            // A match that began in an earlier segment covers the start.
            if (next > 0 && applied[next - 1]->end > begin) {
                at = std::min(end, applied[next - 1]->end);
                changed = true;
            }
            while (at < end) {
                if (next < applied.size() && applied[next]->start == at) {
                    out += applied[next]->pair->second;
                    breaks = breaks || applied[next]->breaks;
                    if (reporting) ++report.filled[applied[next]->pair->first];
                    at = std::min(end, applied[next]->end);
                    ++next;
                    changed = true;
                } else {
                    const size_t stop = next < applied.size() ? std::min(end, applied[next]->start) : end;
                    out.append(p.text, at, stop - at);
                    at = stop;
                }
            }
            if (changed) {
                WriteText(seg.t, out, breaks);
                ++edits;
            }
        }
    }

    // Every paragraph below `root`, text boxes' (and their fallbacks') too,
    // in document order, without recursion.
    void Paragraphs(pugi::xml_node root, const NameIndex& names, const std::string& where) {
        std::vector<pugi::xml_node> paragraphs;
        for (pugi::xml_node node = root.first_child(); node;) {
            bool descend = false;
            if (node.type() == pugi::node_element) {
                const char* name = node.name();
                if (std::strcmp(name, "w:p") == 0) {
                    paragraphs.push_back(node);
                    descend = true;
                } else {
                    descend = !HoldsNoParagraph(name);
                }
            }
            if (pugi::xml_node child = descend ? node.first_child() : pugi::xml_node()) {
                node = child;
                continue;
            }
            for (;;) {
                if (node == root) {
                    node = pugi::xml_node();
                    break;
                }
                if (pugi::xml_node next = node.next_sibling()) {
                    node = next;
                    break;
                }
                node = node.parent();
            }
        }
        for (pugi::xml_node paragraph : paragraphs)
            if (done.empty() || !done.count(paragraph.internal_object())) Paragraph(paragraph, names, where);
    }

    // The text of a row, for finding the rows a repeated item fills.
    static std::string RowText(pugi::xml_node row) {
        std::string text;
        for (pugi::xpath_node t : row.select_nodes(".//w:t")) text += t.node().text().get();
        return text;
    }

    void RepeatRows(pugi::xml_node root, const std::string& where) {
        for (const FillRows& rows : request.rows) {
            // The rows that hold an item's name, or the list's own name
            // (which marks the rows of a list that may be empty).
            std::set<std::string> keys = {rows.key};
            for (const FillPairs& item : rows.items)
                for (const auto& pair : item) keys.insert(pair.first);
            std::vector<pugi::xml_node> found;
            for (pugi::xpath_node row : root.select_nodes(".//w:tr")) {
                const std::string text = RowText(row.node());
                for (const std::string& key : keys)
                    if (!key.empty() && text.find(key) != std::string::npos) {
                        found.push_back(row.node());
                        break;
                    }
            }
            for (pugi::xml_node row : found) {
                pugi::xml_node table = row.parent();
                bool first = true;
                for (const FillPairs& item : rows.items) {
                    pugi::xml_node copy = table.insert_copy_before(row, row);
                    FillPairs pairs = item;
                    pairs.emplace_back(rows.key, "");
                    pairs.insert(pairs.end(), request.pairs.begin(), request.pairs.end());
                    const NameIndex names(pairs);
                    // The first copy reports for the row; the others say the same again.
                    reporting = first;
                    Paragraphs(copy, names, where);
                    reporting = true;
                    first = false;
                    for (pugi::xpath_node p : copy.select_nodes(".//w:p")) done.insert(p.node().internal_object());
                }
                table.remove_child(row);
                ++edits;
                report.filled[rows.key] += static_cast<int>(rows.items.size());
            }
        }
    }
};

// The core properties' texts (title, subject...), filled in one pass each;
// whether one changed.
bool FillCore(pugi::xml_node root, const NameIndex& names, FillReport& report) {
    bool changed = false;
    for (pugi::xml_node property : root.children()) {
        if (property.type() != pugi::node_element) continue;
        const std::string text = property.text().get();
        const std::vector<Match> matches = Matches(names, text);
        if (matches.empty()) continue;
        std::string out;
        size_t at = 0;
        for (const Match& m : matches) {
            out.append(text, at, m.start - at);
            out += m.pair->second;
            ++report.filled[m.pair->first];
            at = m.end;
        }
        out.append(text, at, std::string::npos);
        property.text().set(out.c_str());
        changed = true;
    }
    return changed;
}

bool HoldsMarker(const std::string& bytes, const std::vector<std::string>& markers) {
    for (const std::string& marker : markers)
        if (bytes.find(marker) != std::string::npos) return true;
    return false;
}

class StringWriter : public pugi::xml_writer {
public:
    std::string bytes;
    void write(const void* data, size_t size) override { bytes.append(static_cast<const char*>(data), size); }
};

// `expected`: about the size of the text, so that it is not copied as it grows.
std::string Print(const pugi::xml_document& xml, size_t expected = 0) {
    StringWriter writer;
    writer.bytes.reserve(expected);
    xml.save(writer, "", pugi::format_raw | pugi::format_skip_control_chars, pugi::encoding_utf8);
    return std::move(writer.bytes);
}

// The parts filled, with their labels: the main part, the headers and
// footers of every section, the notes.
std::vector<PartFill> StoryParts(const PackageReader& reader, const pugi::xml_document& document,
                                 const PackageRelationships& rels) {
    std::vector<PartFill> parts;
    std::set<std::string> listed;
    auto add = [&](const std::string& name, const std::string& where) {
        if (!name.empty() && listed.insert(PackagePath_Key(name)).second) parts.push_back({name, where});
    };
    add(reader.mainPart, "body");
    // The sections in order: each paragraph's w:sectPr, then the body's.
    std::vector<pugi::xml_node> sections;
    const pugi::xml_node body = document.document_element().child("w:body");
    for (pugi::xml_node node = body.first_child(); node;) {
        if (Is(node, "w:sectPr") && (node.parent() == body || Is(node.parent(), "w:pPr"))) sections.push_back(node);
        // Sections end in paragraphs, which stand in the body or in content
        // controls: no need to look into runs or tables.
        const bool descend = Is(node, "w:p") || Is(node, "w:pPr") || Is(node, "w:sdt") || Is(node, "w:sdtContent") ||
                             Is(node, "w:customXml");
        if (descend && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != body && !node.next_sibling()) node = node.parent();
        node = node == body ? pugi::xml_node() : node.next_sibling();
    }
    for (size_t s = 0; s < sections.size(); ++s) {
        const SectionParts named = SectionParts_Of(sections[s], rels);
        for (int header = 1; header >= 0; --header)
            for (int type = 0; type < 3; ++type)
                add(header ? named.headers[type] : named.footers[type], SectionParts_Where(s + 1, header, type));
    }
    // Parts no section names are filled too: a reader may still show them.
    for (const auto& rel : rels)
        if (!rel.second.external && (rel.second.type == "header" || rel.second.type == "footer"))
            add(rel.second.target, rel.second.type);
    add(PackageRelationships_FirstOfType(rels, "footnotes"), "footnotes");
    add(PackageRelationships_FirstOfType(rels, "endnotes"), "endnotes");
    return parts;
}

struct ZipHandle {
    zip_t* zip = nullptr;
    ~ZipHandle() {
        if (zip) zip_discard(zip);
    }
};

void WritePackage(const std::string& templatePath, const std::map<std::string, std::string>& changed,
                  const std::string& outPath, bool oneThread) {
    int error = 0;
    ZipHandle from, to;
    from.zip = zip_open(templatePath.c_str(), ZIP_RDONLY, &error);
    if (!from.zip) throw std::runtime_error(templatePath + ": cannot be read as a package");
    to.zip = zip_open(outPath.c_str(), ZIP_CREATE | ZIP_EXCL, &error);
    if (!to.zip) throw std::runtime_error(outPath + ": cannot be created");
    const zip_int64_t count = zip_get_num_entries(from.zip, 0);
    // Changed entries deflated first, each on every core unless told
    // otherwise, at the level the library saves with.
    std::map<std::string, DeflatedEntry> deflated;
    for (const auto& entry : changed)
        if (!DeflatedEntry_Make(entry.second, 6, oneThread ? 1 : DeflatedEntry_Pieces(entry.second.size()),
                                deflated[entry.first]))
            throw std::runtime_error(outPath + ": cannot be written");
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(from.zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (!name) throw std::runtime_error(templatePath + ": an entry cannot be read");
        auto own = deflated.find(name);
        const bool filled = own != deflated.end();
        zip_source_t* source;
        if (filled) {
            // The source takes the bytes over; the entry is given once.
            DeflatedEntry& entry = own->second;
            source = Zip::DeflatedSource_Make(to.zip, std::move(entry.compressed), entry.crc, entry.size);
            deflated.erase(own);
        } else {
            // Its compressed bytes as they are stored.
            source = zip_source_zip(to.zip, from.zip, static_cast<zip_uint64_t>(i), 0, 0, -1);
        }
        if (!source) throw std::runtime_error(outPath + ": cannot be written");
        const zip_int64_t at = zip_file_add(to.zip, name, source, ZIP_FL_ENC_RAW);
        if (at < 0) {
            zip_source_free(source);
            throw std::runtime_error(outPath + ": cannot be written");
        }
        zip_stat_t stat;
        if (!filled && zip_stat_index(from.zip, static_cast<zip_uint64_t>(i), 0, &stat) == 0 &&
            (stat.valid & ZIP_STAT_COMP_METHOD) && stat.comp_method == ZIP_CM_STORE)
            zip_set_file_compression(to.zip, static_cast<zip_uint64_t>(at), ZIP_CM_STORE, 0);
    }
    if (zip_close(to.zip) != 0) {
        std::string why = zip_strerror(to.zip);
        throw std::runtime_error(outPath + ": cannot be written (" + why + ")");
    }
    to.zip = nullptr;
    // On the disk before it is renamed over a document.
    const int fd = ::open(outPath.c_str(), O_RDONLY);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    if (!synced) throw std::runtime_error(outPath + ": cannot be written to the disk");
}

}  // namespace

void PackageFill_Run(const std::string& templatePath, const FillRequest& request, const std::string& outPath,
                     FillReport& report) {
    PackageReader reader;
    if (!PackageReader_Open(reader, templatePath)) throw std::runtime_error(templatePath + ": cannot be read as a package");
    // The plug-in opens the template too (before a batch, beside a single
    // fill, whose output goes when it refuses): its reading checks the
    // entries' checksums.
    reader.checksums = false;
    const PackageRelationships rels = PackageReader_Relationships(reader, reader.mainPart);
    const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata;
    std::map<std::string, std::string> changed;
    Filler filler(request, report);
    const NameIndex names(request.pairs);

    // Parsed in place: the bytes live as long as their tree.
    pugi::xml_document main;
    std::string mainBytes, bytes;
    if (!PackageReader_Bytes(reader, reader.mainPart, mainBytes) ||
        !main.load_buffer_inplace(&mainBytes[0], mainBytes.size(), options))
        throw std::runtime_error(templatePath + ": the main part cannot be read");
    for (const PartFill& part : StoryParts(reader, main, rels)) {
        pugi::xml_document own;
        pugi::xml_document* xml = &main;
        if (part.name != reader.mainPart) {
            if (!PackageReader_Bytes(reader, part.name, bytes) || !own.load_buffer(bytes.data(), bytes.size(), options))
                continue;
            xml = &own;
        }
        const size_t edits = filler.edits;
        filler.RepeatRows(xml->document_element(), part.where);
        filler.Paragraphs(xml->document_element(), names, part.where);
        if (filler.edits != edits) {
            const size_t read = xml == &main ? mainBytes.size() : bytes.size();
            std::string printed = Print(*xml, read + read / 8);
            report.markerSeen = report.markerSeen || HoldsMarker(printed, request.markers);
            if (!outPath.empty()) changed[part.name] = std::move(printed);
        } else if (!report.markerSeen && !request.markers.empty()) {
            // The main part's bytes were parsed in place: printed again.
            report.markerSeen = HoldsMarker(xml == &main ? Print(main) : bytes, request.markers);
        }
    }
    const PackageRelationships packageRels = PackageReader_Relationships(reader, "");
    const std::string core = PackageRelationships_FirstOfType(packageRels, "core-properties");
    pugi::xml_document coreXml;
    if (!core.empty() && PackageReader_Bytes(reader, core, bytes) && coreXml.load_buffer(bytes.data(), bytes.size(), options)) {
        const bool filled = FillCore(coreXml.document_element(), names, report);
        if (filled) bytes = Print(coreXml);
        report.markerSeen = report.markerSeen || HoldsMarker(bytes, request.markers);
        if (filled && !outPath.empty()) changed[core] = bytes;
    }
    if (outPath.empty()) return;
    // Entries are named in the archive as stored; the map's keys came from
    // the same names, found without regard to case.
    std::map<std::string, std::string> byStoredName;
    for (auto& entry : changed) {
        const std::string stored = PackageReader_StoredName(reader, entry.first);
        if (!stored.empty()) byStoredName[stored] = std::move(entry.second);
    }
    WritePackage(templatePath, byStoredName, outPath, request.oneThread);
}

}  // namespace cli
