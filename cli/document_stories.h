// Everything a reader sees in a document, read from its package in one pass
// per part: the body, the headers and footers of every section, footnotes,
// endnotes and comments, as lines of text (list labels in front, table rows
// with their cells, text boxes after the paragraph that holds them), and
// the links, bookmarks, pictures and shapes found on the way, each with
// where it is. Content controls, inserted text and field results read as a
// reader shows them; deleted text and field codes are left out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "package_reading.h"
#include "story_parts.h"

namespace cli {

// One story: the body, a header or footer part, a note or a comment.
struct Story {
    std::string kind;     // "body", "header", "footer", "footnote", "endnote", "comment"
    std::string where;    // "body", "section 2 header (first)", "footnote 1", "comment 1"
    std::string part;     // the entry it was read from
    int section = 0;      // headers and footers: the first section (from 1) that names the part
    std::string type;     // headers and footers: "default", "first" or "even"
    std::string mark;     // notes: the number readers show; comments: the author
    std::vector<std::string> lines;
};

// A hyperlink, a hyperlink field or an anchor link.
struct StoryLink {
    std::string where;
    std::string text;    // on one line: line breaks read as spaces
    std::string target;  // an address, "url#fragment", or a bookmark name for anchors
    bool anchor = false;
    bool field = false;
};

struct StoryBookmark {
    std::string where;
    std::string name;
};

// A picture: a drawing's blip or a VML image.
struct StoryPicture {
    std::string where;
    std::string entry;    // the media entry; empty for a linked picture
    std::string address;  // a linked picture's address
    std::string alt;      // its description (or title)
    bool floating = false;
};

// One section's page setup as its w:sectPr states it, and the header and
// footer parts it names itself (empty: inherited from the section before).
struct SectionFacts {
    bool hasPageSize = false;
    int64_t width = 0, height = 0;  // twips
    bool landscape = false;
    bool hasMargins = false;
    int64_t top = 0, right = 0, bottom = 0, left = 0;
    std::string start = "next page";
    bool titlePage = false;
    std::string headers[3], footers[3];  // default, first, even
};

struct DocumentStories {
    std::vector<Story> stories;  // body, headers and footers by section, footnotes, endnotes, comments
    std::vector<StoryLink> links;
    std::vector<StoryBookmark> bookmarks;
    std::vector<StoryPicture> pictures;
    std::vector<SectionFacts> sections;
    int64_t shapes = 0, groups = 0, textBoxes = 0;
    int64_t tables = 0, rows = 0, cells = 0;  // of the body, nested ones included
    int64_t footnotes = 0, endnotes = 0, comments = 0;
    PackageReader package;  // kept open for the pictures' bytes
};

// Reads the package at `path`; false, with a message, when its archive or
// main part cannot be read.
bool DocumentStories_Read(const std::string& path, DocumentStories& stories, std::string& error);


}  // namespace cli
