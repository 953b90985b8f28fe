// Bookmarks: a w:bookmarkStart (carrying w:name) and the w:bookmarkEnd of
// the same w:id, usually around paragraph items.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "package/document.h"

struct BookmarkNodes {
    pugi::xml_node parent;  // holds the start: a w:p, or a w:hyperlink
    pugi::xml_node start;
    pugi::xml_node end;     // empty when the start has no end
};

// A name is valid unless it holds one of ! " # $ % & / ( ) \ = - space < > , . ? *
// or a zero byte; the empty name is valid.
bool Bookmark_CheckValidName(std::string_view name);

// The largest w:id of any bookmark start or end in the main document, its
// headers and its footers; 0 when there is none.
int64_t Bookmarks_HighestId(const Word::Document& document);

// The largest id a new bookmark takes (what word processors keep).
constexpr int64_t kLargestBookmarkId = 134217726;
// The id of a new bookmark: one above `highest`, the largest in use, or,
// once that reaches kLargestBookmarkId, the lowest id no bookmark of the
// document has. 0 when every id is taken.
int64_t Bookmarks_NextId(const Word::Document& document, int64_t highest);

// Wraps the direct children `first` to `last` of `paragraph` (first before
// or equal to last) in a start named `name` and an end of `id`. Anything
// else changes nothing and gives false.
bool Bookmark_AddAround(pugi::xml_node paragraph, pugi::xml_node first, pugi::xml_node last,
                        std::string_view name, int64_t id, BookmarkNodes& out);

// The first w:bookmarkEnd of the start's w:id after the start, in document
// order within its part; empty when there is none.
pugi::xml_node Bookmark_FindEnd(pugi::xml_node start);

// The bookmarks of the body in document order, wherever they are: in its
// paragraphs and their links, directly in the body (around a table), in
// rows, cells, content controls and text boxes (the fallback of alternate
// content, which repeats its choice, left out), each with its end wherever
// that lies in the part.
std::vector<BookmarkNodes> Bookmarks_OfBody(pugi::xml_node body);
