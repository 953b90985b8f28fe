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

// Wraps the direct children `first` to `last` of `paragraph` (first before
// or equal to last) in a start named `name` and an end of `id`. Anything
// else changes nothing and gives false.
bool Bookmark_AddAround(pugi::xml_node paragraph, pugi::xml_node first, pugi::xml_node last,
                        std::string_view name, int64_t id, BookmarkNodes& out);

// The first w:bookmarkEnd of the start's w:id after the start, in document
// order within its part; empty when there is none.
pugi::xml_node Bookmark_FindEnd(pugi::xml_node start);

// The bookmarks of the body in document order: those of its paragraphs, of
// the hyperlinks in them and of the paragraphs of table cells (nested tables
// too), each with its end wherever that lies in the part.
std::vector<BookmarkNodes> Bookmarks_OfBody(pugi::xml_node body);
