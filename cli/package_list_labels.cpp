#include "package_list_labels.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>
#include <zip.h>

#include "format/numbering_labels.h"
#include "package/package_paths.h"

namespace cli {

namespace {

const char* const kMainPart = "word/document.xml";
// Parts are read whole: a larger one (a hostile package's, most likely)
// gets no labels rather than that much memory.
const zip_uint64_t kMaxPartSize = 256u << 20;

struct Package {
    zip_t* archive = nullptr;
    ~Package() {
        if (archive) zip_discard(archive);
    }
};

// Part names compare without regard to ASCII case, as package part names do.
bool ReadPart(zip_t* archive, const std::string& name, pugi::xml_document& xml) {
    if (name.empty()) return false;
    const zip_int64_t index = zip_name_locate(archive, name.c_str(), ZIP_FL_NOCASE);
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0) return false;
    if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > kMaxPartSize) return false;
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
    if (!file) return false;
    std::string bytes(static_cast<size_t>(stat.size), '\0');
    const zip_int64_t read = bytes.empty() ? 0 : zip_fread(file, &bytes[0], stat.size);
    zip_fclose(file);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) return false;
    return static_cast<bool>(xml.load_buffer(bytes.data(), bytes.size()));
}

// The part a relationship of the main document points at, chosen by the
// last segment of its type ("numbering", "styles") or by its id.
std::string RelatedPart(const pugi::xml_document& rels, const char* kind, const char* id) {
    for (pugi::xml_node rel : rels.document_element().children("Relationship")) {
        if (std::strcmp(rel.attribute("TargetMode").value(), "External") == 0) continue;
        if (id) {
            if (std::strcmp(rel.attribute("Id").value(), id) != 0) continue;
        } else {
            const char* type = rel.attribute("Type").value();
            const char* last = std::strrchr(type, '/');
            if (!last || std::strcmp(last + 1, kind) != 0) continue;
        }
        return PackagePath_Resolve(kMainPart, rel.attribute("Target").value());
    }
    return std::string();
}

// The paragraph styles a paragraph's list may come from, and the style of
// paragraphs that name none.
struct StyleLookup {
    pugi::xml_node styles;
    std::string defaultParagraphStyle;
};

StyleLookup StyleLookup_Make(pugi::xml_node styles) {
    StyleLookup lookup{styles, std::string()};
    for (pugi::xml_node style : styles.children("w:style"))
        if (std::strcmp(style.attribute("w:type").value(), "paragraph") == 0 &&
            style.attribute("w:default").as_bool()) {
            lookup.defaultParagraphStyle = style.attribute("w:styleId").value();
            break;
        }
    return lookup;
}

pugi::xml_node StyleLookup_Find(const StyleLookup& lookup, const std::string& id) {
    for (pugi::xml_node style : lookup.styles.children("w:style"))
        if (id == style.attribute("w:styleId").value() &&
            std::strcmp(style.attribute("w:type").value(), "paragraph") == 0)
            return style;
    return pugi::xml_node();
}

// A paragraph's list: w:numId and w:ilvl, each from the paragraph's own
// w:numPr where it has one, else from its style and the styles that one is
// based on, nearest first.
struct ListPlace {
    std::optional<int64_t> numId, level;
};

void ListPlace_Fill(ListPlace& place, pugi::xml_node numPr) {
    if (!place.numId)
        if (pugi::xml_node numId = numPr.child("w:numId")) place.numId = numId.attribute("w:val").as_llong();
    if (!place.level)
        if (pugi::xml_node ilvl = numPr.child("w:ilvl")) place.level = ilvl.attribute("w:val").as_llong();
}

ListPlace ListPlace_OfParagraph(const StyleLookup& lookup, pugi::xml_node paragraph) {
    ListPlace place;
    pugi::xml_node pPr = paragraph.child("w:pPr");
    ListPlace_Fill(place, pPr.child("w:numPr"));
    pugi::xml_node pStyle = pPr.child("w:pStyle");
    std::string styleId = pStyle ? pStyle.attribute("w:val").value() : lookup.defaultParagraphStyle;
    // Styles based on each other in a loop end after a fixed depth.
    for (int depth = 0; depth < 32 && !styleId.empty() && !(place.numId && place.level); ++depth) {
        pugi::xml_node style = StyleLookup_Find(lookup, styleId);
        if (!style) break;
        ListPlace_Fill(place, style.child("w:pPr").child("w:numPr"));
        styleId = style.child("w:basedOn").attribute("w:val").value();
    }
    return place;
}

// Alternate content holds a choice and a fallback for the same content;
// a reader shows one of them, so only the choice counts.
bool IsFallback(pugi::xml_node node) {
    return std::strcmp(node.name(), "mc:Fallback") == 0;
}

// Indexes of elements among their siblings of the same name, remembered so
// that a walk in document order finds each in constant time.
struct SiblingIndexes {
    std::unordered_map<const void*, int64_t> known;
    int64_t Of(pugi::xml_node node) {
        // Back to the nearest sibling whose index is known (or the first),
        // then forward, remembering each.
        std::vector<pugi::xml_node> unknown;
        int64_t index = -1;
        for (pugi::xml_node n = node; n; n = n.previous_sibling(node.name())) {
            auto found = known.find(n.internal_object());
            if (found != known.end()) {
                index = found->second;
                break;
            }
            unknown.push_back(n);
        }
        for (auto n = unknown.rbegin(); n != unknown.rend(); ++n) known.emplace(n->internal_object(), ++index);
        return index;
    }
};

bool Named(pugi::xml_node node, const char* name) { return std::strcmp(node.name(), name) == 0; }

// Where a paragraph in a table cell is (CellLabels); "" for a paragraph not
// reached from the story through tables, rows and cells alone.
std::string CellPlace(pugi::xml_node paragraph, pugi::xml_node root, SiblingIndexes& indexes) {
    std::string place = "p" + std::to_string(indexes.Of(paragraph));
    pugi::xml_node cell = paragraph.parent();
    while (cell != root) {
        pugi::xml_node row = cell.parent(), table = row.parent();
        if (!Named(cell, "w:tc") || !Named(row, "w:tr") || !Named(table, "w:tbl")) return std::string();
        place = "t" + std::to_string(indexes.Of(table)) + "/r" + std::to_string(indexes.Of(row)) + "/c" +
                std::to_string(indexes.Of(cell)) + "/" + place;
        cell = table.parent();
    }
    return place;
}

// Walks the story in document order without recursion, so that deeply
// nested content cannot exhaust the stack.
void CountStory(pugi::xml_node root, const StyleLookup& lookup, ListLabels& counting, StoryLabels& labels,
                CellLabels& cells) {
    SiblingIndexes indexes;
    pugi::xml_node node = root.first_child();
    while (node) {
        const bool element = node.type() == pugi::node_element && !IsFallback(node);
        if (element && std::strcmp(node.name(), "w:p") == 0) {
            ParagraphLabel label;
            const ListPlace place = ListPlace_OfParagraph(lookup, node);
            if (place.numId && *place.numId != 0) {
                const int64_t level = place.level.value_or(0);
                label.label = ListLabels_Next(counting, *place.numId, level);
                label.level = static_cast<int>(level);
            }
            if (node.parent() == root) {
                labels.push_back(label);
            } else if (!label.label.empty()) {
                const std::string place = CellPlace(node, root, indexes);
                if (!place.empty()) cells[place] = label;
            }
        }
        if (element && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != root && !node.next_sibling()) node = node.parent();
        node = node == root ? pugi::xml_node() : node.next_sibling();
    }
}

// Counters start afresh in every story: a header's list does not go on
// from the body's.
StoryLabels StoryLabels_Count(pugi::xml_node root, pugi::xml_node numbering, const StyleLookup& lookup,
                              CellLabels& cells) {
    StoryLabels labels;
    if (!root || !numbering) return labels;
    ListLabels counting;
    counting.numbering = numbering;
    CountStory(root, lookup, counting, labels, cells);
    return labels;
}

// The body's final w:sectPr, the last one among its children.
pugi::xml_node FinalSectPr(pugi::xml_node body) {
    pugi::xml_node found;
    for (pugi::xml_node child : body.children("w:sectPr")) found = child;
    return found;
}

// The header (footer) part the final section's first reference of `type`
// names; empty when there is none.
std::string ReferencedPart(const pugi::xml_document& rels, pugi::xml_node sectPr, const char* referenceName,
                           const char* type) {
    for (pugi::xml_node reference : sectPr.children(referenceName))
        if (std::strcmp(reference.attribute("w:type").value(), type) == 0)
            return RelatedPart(rels, nullptr, reference.attribute("r:id").value());
    return std::string();
}

}  // namespace

PackageLabels PackageLabels_Read(const std::string& path) {
    PackageLabels result;
    Package package;
    int error = 0;
    package.archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!package.archive) return result;
    pugi::xml_document rels, numberingXml, stylesXml, document;
    if (!ReadPart(package.archive, PackagePath_RelationshipsOf(kMainPart), rels)) return result;
    if (!ReadPart(package.archive, RelatedPart(rels, "numbering", nullptr), numberingXml)) return result;
    ReadPart(package.archive, RelatedPart(rels, "styles", nullptr), stylesXml);
    const pugi::xml_node numbering = numberingXml.child("w:numbering");
    const StyleLookup lookup = StyleLookup_Make(stylesXml.child("w:styles"));

    if (!ReadPart(package.archive, kMainPart, document)) return result;
    const pugi::xml_node body = document.child("w:document").child("w:body");
    result.body = StoryLabels_Count(body, numbering, lookup, result.bodyCells);
    const pugi::xml_node sectPr = FinalSectPr(body);
    const char* const types[] = {"default", "first", "even"};
    for (int type = 0; type < 3; ++type) {
        pugi::xml_document header, footer;
        if (ReadPart(package.archive, ReferencedPart(rels, sectPr, "w:headerReference", types[type]), header))
            result.headers[type] = StoryLabels_Count(header.child("w:hdr"), numbering, lookup, result.headerCells[type]);
        if (ReadPart(package.archive, ReferencedPart(rels, sectPr, "w:footerReference", types[type]), footer))
            result.footers[type] = StoryLabels_Count(footer.child("w:ftr"), numbering, lookup, result.footerCells[type]);
    }
    return result;
}

}  // namespace cli
