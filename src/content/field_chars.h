// Which field each run of an element belongs to, found in one pass over the
// element's w:r children with a stack of the begin runs still open. The
// first end run after a begin closes it and every begin opened since, so
// that nested, unended and stray field characters all cost the same single
// pass. Each document keeps the pairings of a few elements
// (document_caches.h), extended as runs are appended, so that asking for
// the field of every run in turn costs linear time.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

struct FieldChars {
    pugi::xml_node parent;
    pugi::xml_node lastChild;  // the parent's last child when the pass stopped
    // The w:r children in order. Run views share it and read only the
    // stretch they were given, which appending never changes.
    std::shared_ptr<std::vector<pugi::xml_node>> runs;
    std::vector<int64_t> owner;  // per run: index of its field's begin run; -1 for none
    std::vector<int64_t> end;    // per begin run: index of the end run closing it; -1 while open
    std::vector<int64_t> open;   // begin runs no end run has closed yet
    int64_t current = -1;        // the begin run a next run would belong to; -1 for none
    // Run -> index, made on the first lookup out of order.
    std::unordered_map<const void*, int64_t> indexOf;
    int64_t lastFound = -1;      // index of the run looked up last
};

// Pairs the runs appended since the pass stopped; starts over when the
// parent was never seen or its remembered last child has left it.
void FieldChars_Update(FieldChars& chars, pugi::xml_node parent);
// The index of `run` among the runs; -1 when it is not one of them.
int64_t FieldChars_IndexOf(FieldChars& chars, pugi::xml_node run);

// The pairings of a few parents, so that walks over the runs of one
// paragraph nested in a walk over another keep theirs.
struct FieldCharsCache {
    static constexpr int kEntries = 4;
    std::unique_ptr<FieldChars> entries[kEntries];
    int next = 0;
};
// The pairing of the runs of `parent`, brought up to date.
FieldChars& FieldCharsCache_For(FieldCharsCache& cache, pugi::xml_node parent);
// Forgets every pairing: needed whenever runs are inserted, removed or moved
// anywhere but at the end of their parent.
void FieldCharsCache_Clear(FieldCharsCache& cache);
