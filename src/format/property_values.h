// The kinds of property parent and the values of the formatting
// properties, as the host enumerations number them.
#pragma once

#include <cstdint>

// The kind of property parent; it decides where a new "w:rPr" or "w:pPr"
// goes.
enum class RPROwner : int32_t {
    Run = 0,             // "w:r", and "w:rPrDefault" of the document defaults
    Paragraph = 1,       // "w:p": never gets a "w:rPr"
    CharacterStyle = 2,  // "w:style"
    ParagraphStyle = 3,  // "w:style"
    TableStyle = 4,      // "w:style" of a table style
    TableStylePart = 5,  // "w:tblStylePr"
};

// Values of the host enumerations these properties use. Setters take any
// value; what an unlisted one writes is stated per setter.
enum class Alignments : int32_t { NOTSET = -1, LEFT = 0, CENTER = 1, RIGHT = 2, JUSTIFY = 3 };
enum class BooleanAttribute : int32_t { NOTSET = -1, NO = 0, YES = 1 };
enum class UnderlineStyles : int32_t {
    NONE = 0, SINGLE_LINE, DOUBLE_LINE, DOTTED_LINE, DASHED_LINE, DOT_DASHED_LINE,
    DOT_DOT_DASHED_LINE, WAVE, WORDS, THICK_LINE, WAVE_DOUBLE,
};
enum class StrikeThroughValues : int32_t { NOTSET = -1, NONE = 0, SINGLELINE = 1, DOUBLELINE = 2 };
enum class TextCaps : int32_t { None = 0, Caps = 1, SmallCaps = 2 };
enum class VerticalAlignments : int32_t { NONE = 0, SUBSCRIPT = 1, SUPERSCRIPT = 2 };
enum class HighlightColors : int32_t {
    None = 0, Yellow, Green, Cyan, Magenta, Blue, Red, DarkBlue, DarkCyan, DarkGreen,
    DarkMagenta, DarkRed, DarkYellow, DarkGray, LightGray, Black,
};
enum class TableCellVerticalAlignments : int32_t { NOTSET = -1, TOP = 0, CENTER = 1, BOTTOM = 2 };

// Unset values of the numeric properties.
constexpr int32_t kFontSizeNotSet = -1;
constexpr int32_t kSpacingNotSet = -10000;
