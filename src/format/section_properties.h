// Section properties ("w:sectPr"): how a section starts, its page size and
// orientation, and its margins, all stored in twips.
//
// The final section's properties are the body's "w:sectPr"; every earlier
// section ends with a paragraph whose "w:pPr" holds one. Children the
// library adds take their place in the schema's sequence.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

// Host enumeration `SectionBreakTypes`: how a section starts after the one
// before it.
enum SectionBreakType : int32_t {
    SectionBreakNone = 0,
    SectionBreakContinuous = 1,
    SectionBreakEvenPage = 2,
    SectionBreakOddPage = 3,
    SectionBreakNextPage = 4,
    SectionBreakNextColumn = 5,
};

// The body's final "w:sectPr": its last element child, where it belongs;
// when that is something else, the last "w:sectPr" child found from the
// end. Empty when the body has none. Every append to the body asks for it:
// looked for from the start, n appends would cost n^2 / 2 steps.
pugi::xml_node Body_FinalSectPr(pugi::xml_node body);

// "w:type" "w:val" read as a SectionBreakType; missing or unknown is None.
int32_t Section_GetType(pugi::xml_node sectPr);
// None removes "w:type"; 2 to 5 write their names and anything else
// "continuous". A new "w:type" takes its schema place.
void Section_SetType(pugi::xml_node sectPr, int64_t type);

// Page size in twips ("w:pgSz" "w:w" and "w:h"); 0 when missing.
int32_t Section_GetPageWidth(pugi::xml_node sectPr);
int32_t Section_GetPageHeight(pugi::xml_node sectPr);
// "w:pgSz" "w:orient" is "landscape".
bool Section_IsLandscape(pugi::xml_node sectPr);
// Turns the page: sets or removes "w:orient" and swaps width and height.
// Nothing when the orientation is already `landscape` or "w:pgSz" is missing.
void Section_SetLandscape(pugi::xml_node sectPr, bool landscape);

// The largest side of a page the format holds: 22 inches, in twips.
constexpr int32_t kLargestPageSide = 31680;

// A page of these portrait sizes (twips) and printer paper code. A
// landscape section stays landscape: the two are written the other way
// round. False, and nothing changed, when a size is not positive, is
// beyond kLargestPageSide, or leaves the section's margins no room for
// text.
bool Section_SetPageSize(pugi::xml_node sectPr, int32_t width, int32_t height, int64_t paperCode);

struct PaperSize {
    int32_t width, height;  // twips, portrait
};
// The size of a `PrinterPaperCodes` value; A4 for a code outside the table.
PaperSize PaperSize_Of(int64_t paperCode);

// The attributes of "w:pgMar".
enum class PageMargin { Top, Right, Bottom, Left, Header, Footer, Gutter };

// A margin in twips; 0 when "w:pgMar" or the attribute is missing.
int32_t Section_GetMargin(pugi::xml_node sectPr, PageMargin margin);
// Whether a margin can take the value: only the top and bottom ones may be
// negative (text overlapping a header or footer); the others are distances.
bool PageMargin_IsValid(PageMargin margin, int32_t twips);
// Sets a margin; a missing "w:pgMar" is first made with the default
// margins. False, and nothing changed, when the value is not valid, beyond
// a page side, or leaves the page no room for text between its margins.
bool Section_SetMargin(pugi::xml_node sectPr, PageMargin margin, int32_t twips);
