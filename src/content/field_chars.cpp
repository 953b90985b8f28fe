#include "content/field_chars.h"

#include <cstring>

#include "content/sibling_walk.h"

namespace {

bool IsRun(pugi::xml_node n) { return n.type() == pugi::node_element && std::strcmp(n.name(), "w:r") == 0; }

void Pair(FieldChars& chars, pugi::xml_node run) {
    const int64_t k = int64_t(chars.runs->size());
    const int sep = Run_GetFieldSeparator(run);
    if (sep == FieldSeparatorBegin) {
        chars.current = k;
        chars.open.push_back(k);
    }
    chars.runs->push_back(run);
    chars.owner.push_back(chars.current);
    chars.end.push_back(-1);
    if (!chars.indexOf.empty()) chars.indexOf.emplace(run.internal_object(), k);
    if (sep == FieldSeparatorEnd) {
        // Each begin is pushed once and closed once: linear however deep.
        for (int64_t begin : chars.open) chars.end[size_t(begin)] = k;
        chars.open.clear();
        chars.current = -1;
    }
}

void Restart(FieldChars& chars, pugi::xml_node parent) {
    chars.parent = parent;
    chars.lastChild = pugi::xml_node();
    // Views may still hold the old runs: those stay as they were.
    if (chars.runs && chars.runs.use_count() == 1)
        chars.runs->clear();
    else
        chars.runs = std::make_shared<std::vector<pugi::xml_node>>();
    chars.owner.clear();
    chars.end.clear();
    chars.open.clear();
    chars.current = -1;
    chars.indexOf.clear();
    chars.lastFound = -1;
}

}  // namespace

void FieldChars_Update(FieldChars& chars, pugi::xml_node parent) {
    const bool known = chars.runs && chars.parent == parent;
    if (known && chars.lastChild == parent.last_child()) return;
    pugi::xml_node from;
    if (known && chars.lastChild && chars.lastChild.parent() == parent) {
        from = chars.lastChild.next_sibling();
    } else {
        Restart(chars, parent);
        from = parent.first_child();
    }
    for (pugi::xml_node n = from; n; n = n.next_sibling())
        if (IsRun(n)) Pair(chars, n);
    chars.lastChild = parent.last_child();
}

int64_t FieldChars_IndexOf(FieldChars& chars, pugi::xml_node run) {
    const std::vector<pugi::xml_node>& runs = *chars.runs;
    const int64_t size = int64_t(runs.size());
    // Lookups in order, and repeated ones, need no index.
    for (int64_t k : {chars.lastFound + 1, chars.lastFound}) {
        if (k >= 0 && k < size && runs[size_t(k)] == run) return chars.lastFound = k;
    }
    if (chars.indexOf.empty()) {
        chars.indexOf.reserve(runs.size());
        for (int64_t k = 0; k < size; ++k) chars.indexOf.emplace(runs[size_t(k)].internal_object(), k);
    }
    auto found = chars.indexOf.find(run.internal_object());
    if (found == chars.indexOf.end()) return -1;
    return chars.lastFound = found->second;
}

FieldChars& FieldCharsCache_For(FieldCharsCache& cache, pugi::xml_node parent) {
    for (std::unique_ptr<FieldChars>& entry : cache.entries) {
        if (entry && entry->runs && entry->parent == parent) {
            FieldChars_Update(*entry, parent);
            return *entry;
        }
    }
    std::unique_ptr<FieldChars>& entry = cache.entries[cache.next];
    cache.next = (cache.next + 1) % FieldCharsCache::kEntries;
    if (!entry) entry = std::make_unique<FieldChars>();
    // A pairing taken over for another parent starts over, keeping its buffers.
    entry->parent = pugi::xml_node();
    FieldChars_Update(*entry, parent);
    return *entry;
}

void FieldCharsCache_Clear(FieldCharsCache& cache) {
    for (std::unique_ptr<FieldChars>& entry : cache.entries)
        if (entry) entry->parent = pugi::xml_node();
}
