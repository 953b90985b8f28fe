#include "content/bookmarks.h"

#include <cstring>
#include <deque>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "format/xml_helpers.h"

namespace {

bool Named(pugi::xml_node node, const char* name) { return std::strcmp(node.name(), name) == 0; }

// The node after `node` in document order, not leaving `root`.
pugi::xml_node NextInOrder(pugi::xml_node node, pugi::xml_node root) {
    if (pugi::xml_node child = node.first_child()) return child;
    for (; node && node != root; node = node.parent())
        if (pugi::xml_node sibling = node.next_sibling()) return sibling;
    return pugi::xml_node();
}

// Calls `visit` with the w:id of every bookmark start and end of the main
// document, its headers and its footers.
template <typename Visit>
void EachBookmarkId(const Word::Document& document, Visit visit) {
    auto walk = [&](pugi::xml_node root) {
        for (pugi::xml_node n = root.first_child(); n; n = NextInOrder(n, root))
            if (n.type() == pugi::node_element && (Named(n, "w:bookmarkStart") || Named(n, "w:bookmarkEnd")))
                visit(n.attribute("w:id").as_llong());
    };
    walk(document.documentXml);
    for (const Word::HeaderFooterList* list : {&document.headers, &document.footers})
        for (const Word::HeaderFooterPart* part = list->head; part; part = part->next) walk(part->xml);
}

typedef std::unordered_map<const void*, pugi::xml_node> EndOfStart;

// Pairs every start of `root` with the first later end of its id.
EndOfStart PairEnds(pugi::xml_node root) {
    EndOfStart ends;
    std::unordered_map<std::string, std::deque<pugi::xml_node>> open;
    for (pugi::xml_node n = root.first_child(); n; n = NextInOrder(n, root)) {
        if (n.type() != pugi::node_element) continue;
        if (Named(n, "w:bookmarkStart")) {
            open[n.attribute("w:id").value()].push_back(n);
        } else if (Named(n, "w:bookmarkEnd")) {
            auto waiting = open.find(n.attribute("w:id").value());
            if (waiting == open.end() || waiting->second.empty()) continue;
            ends[waiting->second.front().internal_object()] = n;
            waiting->second.pop_front();
        }
    }
    return ends;
}

// The node after `node` in document order, not leaving `root`, stepping
// over what lies inside `node`.
pugi::xml_node NextAfter(pugi::xml_node node, pugi::xml_node root) {
    for (; node && node != root; node = node.parent())
        if (pugi::xml_node sibling = node.next_sibling()) return sibling;
    return pugi::xml_node();
}

}  // namespace

bool Bookmark_CheckValidName(std::string_view name) {
    static const char kForbidden[] = "!\"#$%&/()\\=- <>,.?*";
    for (char c : name)
        if (c == '\0' || std::strchr(kForbidden, c)) return false;
    return true;
}

int64_t Bookmarks_HighestId(const Word::Document& document) {
    int64_t highest = 0;
    EachBookmarkId(document, [&](int64_t id) {
        if (id > highest) highest = id;
    });
    return highest;
}

bool Bookmark_AddAround(pugi::xml_node paragraph, pugi::xml_node first, pugi::xml_node last,
                        std::string_view name, int64_t id, BookmarkNodes& out) {
    if (!paragraph || !first || !last || first.parent() != paragraph || last.parent() != paragraph) return false;
    pugi::xml_node n = first;
    while (n && n != last) n = n.next_sibling();
    if (!n) return false;
    const std::string idText = std::to_string(id);
    pugi::xml_node start = paragraph.insert_child_before("w:bookmarkStart", first);
    WriteAttribute(start, "w:name", name);
    start.append_attribute("w:id") = idText.c_str();
    pugi::xml_node end = paragraph.insert_child_after("w:bookmarkEnd", last);
    end.append_attribute("w:id") = idText.c_str();
    out = {paragraph, start, end};
    return true;
}

pugi::xml_node Bookmark_FindEnd(pugi::xml_node start) {
    if (!start) return pugi::xml_node();
    const pugi::xml_node root = start.root();
    const char* id = start.attribute("w:id").value();
    for (pugi::xml_node n = NextInOrder(start, root); n; n = NextInOrder(n, root))
        if (Named(n, "w:bookmarkEnd") && std::strcmp(n.attribute("w:id").value(), id) == 0) return n;
    return pugi::xml_node();
}

std::vector<BookmarkNodes> Bookmarks_OfBody(pugi::xml_node body) {
    std::vector<BookmarkNodes> found;
    const EndOfStart ends = PairEnds(body);
    for (pugi::xml_node n = body.first_child(); n;) {
        // The fallback of alternate content repeats its choice.
        if (Named(n, "mc:Fallback")) {
            n = NextAfter(n, body);
            continue;
        }
        if (Named(n, "w:bookmarkStart")) {
            auto end = ends.find(n.internal_object());
            found.push_back({n.parent(), n, end == ends.end() ? pugi::xml_node() : end->second});
        }
        n = NextInOrder(n, body);
    }
    return found;
}

int64_t Bookmarks_NextId(const Word::Document& document, int64_t highest) {
    if (highest < kLargestBookmarkId) return highest + 1;
    // The top is taken: the lowest id no bookmark has.
    std::unordered_set<int64_t> used;
    EachBookmarkId(document, [&](int64_t id) { used.insert(id); });
    for (int64_t id = 1; id <= kLargestBookmarkId; ++id)
        if (!used.count(id)) return id;
    return 0;
}
