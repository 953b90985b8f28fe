// The module's enumerations, in registration order. Entry strings are
// registered as written here (the host parses name and value), blanks and
// all.
#include "host/module.h"

namespace {

const char* const UnderlineStyles[] = {
    "NONE= 0", "SINGLE_LINE = 1", "DOUBLE_LINE = 2", "DOTTED_LINE = 3", "DASHED_LINE = 4",
    "DOT_DASHED_LINE = 5", "DOT_DOT_DASHED_LINE = 6", "WAVE = 7", "WORDS = 8", "THICK_LINE = 9",
    "WAVE_DOUBLE = 10"};
const char* const Alignments[] = {"NOTSET= -1", "LEFT= 0", "CENTER = 1", "RIGHT = 2",
                                  "JUSTIFY = 3"};
const char* const HighlightColors[] = {
    "None= 0",         "Yellow= 1",     "Green = 2",      "Cyan = 3",
    "Magenta = 4",     "Blue = 5",      "Red = 6",        "DarkBlue = 7",
    "DarkCyan = 8",    "DarkGreen = 9", "DarkMagenta = 10", "DarkRed = 11",
    "DarkYellow = 12", "DarkGray = 13", "LightGray = 14", "Black = 15"};
const char* const VerticalAlignments[] = {"NONE= 0", "SUBSCRIPT = 1", "SUPERSCRIPT = 2"};
const char* const PictureTypes[] = {"NONE= 0", "png= 1", "jpeg = 2", "UNKNOWN = 10"};
const char* const HeaderFooterTypes[] = {"DEFAULT= 0", "FIRST= 1", "EVEN = 2"};
const char* const Units[] = {"TWIPS= 0", "INCHES= 1", "CM = 2"};
const char* const PrinterPaperCodes[] = {
    "Letter= 1",  "Letter_Small= 2", "Tabloid = 3",  "Ledger = 4",
    "Legal = 5",  "Statement = 6",   "Executive = 7", "A3 = 8",
    "A4 = 9",     "A4_Small = 10",   "A5 = 11",      "B4 = 12",
    "B5 = 13",    "Folio = 14",      "Standard_10_By_14 = 16", "Standard_11_By_17 = 17",
    "Note = 18"};
const char* const TableWidthModes[] = {"AUTO= 0", "ABSOLUTE= 1", "PERCENTAGE = 2"};
const char* const SectionBreakTypes[] = {"None = 0",    "Continuous = 1",  "EvenPage = 2",
                                         "OddPage = 3", "NextPage  = 4",   "NextColumn  = 5"};
const char* const NumberingType[] = {"TypeBullet = 0",      "TypeDecimal = 1",
                                     "TypeLowerLetter = 2", "TypeUpperLetter = 3",
                                     "TypeLowerRoman = 4",  "TypeUpperRoman = 5",
                                     "TypeUnknown = 20"};
const char* const EmuUnits[] = {"EMU= 0", "INCHES= 1", "CM = 2"};
const char* const ShapeVerticalAlignments[] = {"TOP = 0", "MIDDLE = 1", "BOTTOM = 2"};
const char* const ShapeTypes[] = {
    "Unknown = -1",       "Rectangle = 0",      "RoundedRectangle = 1", "Ellipse = 2",
    "Line = 3",           "Triangle = 4",       "Pentagon = 5",         "Hexagon = 6",
    "Heptagon = 7",       "Octagon = 8",        "Decagon = 9",          "Dodecagon = 10",
    "Diamond = 11",       "Trapezoid = 12",     "Parallelogram = 13",   "RightTriangle = 14",
    "Cloud = 15",         "EllipseCallout = 16", "Teardrop = 17"};
const char* const LineEndTypes[] = {"None = 0",     "Arrow = 1",   "Oval = 2",
                                    "Triangle = 3", "Diamond = 4", "Stealth = 5"};
const char* const FillTypes[] = {"NoFill = 0",      "SolidFill = 1",   "GradientFill = 2",
                                 "PictureFill = 3", "PatternFill = 4", "GroupFill = 5"};
const char* const ShapeTextWrap[] = {"None = 0", "Square = 1", "Through = 2", "Tight = 3",
                                     "TopAndBottom = 4"};
const char* const BorderStyle[] = {
    "NoLine = 0",
    "SingleLine = 1",
    "DashDotStrokedLine = 2",
    "DashedLine = 3",
    "DashSmallGapLine = 4",
    "DotDashLine = 5",
    "DotDotDashLine = 6",
    "DottedLine = 7",
    "DoubleLine = 8",
    "DoubleWaveLine = 9",
    "InsetLine = 10",
    "OutsetLine = 11",
    "ThickLine = 12",
    "ThickThinLargeGapLine = 13",
    "ThickThinMediumGapLine = 14",
    "ThickThinSmallGapLine = 15",
    "ThinThickLargeGapLine = 16",
    "ThinThickMediumGapLine = 17",
    "ThinThickSmallGapLine = 18",
    "ThinThickThinLargeGapLine = 19",
    "ThinThickThinMediumGapLine = 20",
    "ThinThickThinSmallGapLine = 21",
    "ThreeDEmbossLine = 22",
    "ThreeDEngraveLine = 23",
    "TrippleLine = 24",
    "WaveLine = 25"};
const char* const BorderParts[] = {
    "Left = 0",           "Top = 1",           "Right = 2",
    "Bottom = 3",         "InsideHorizontal = 4", "InsideVertical = 5",
    "TopLeftToBottomRight = 6", "TopRightToBottomLeft = 7"};
const char* const LineCompoundTypes[] = {"Simple = 0", "Doubled = 1", "ThickThin = 2",
                                         "ThinThick = 3", "Tripled = 4"};
const char* const FieldSeparators[] = {"None = -1", "BeginField = 0", "EndField = 1",
                                       "SeparateField = 2"};
const char* const ComplexRunFieldTypes[] = {
    "Unknown = -2",      "None = 0",          "DateField = 1",      "TimeField = 2",
    "HyperlinkField = 3", "PageNumberField = 4", "PageCountField = 5"};
const char* const StrikeThroughValues[] = {"NOTSET= -1", "NONE = 0", "SINGLELINE = 1",
                                           "DOUBLELINE = 2"};
const char* const TextCaps[] = {"None = 0", "Caps = 1", "SmallCaps = 2"};
const char* const StylePartType[] = {
    "EvenRows = 0",     "OddRows = 1",       "EvenColumns = 2",     "OddColumns = 3",
    "FirstRow = 4",     "LastRow = 5",       "FirstColumn = 6",     "LastColumn = 7",
    "NorthWestCell = 8", "NorthEastCell = 9", "SouthhWestCell = 10", "SouthEastCell = 11"};
const char* const BooleanAttribute[] = {"NOTSET = -1", "NO = 0", "YES = 1"};
const char* const TableCellVerticalAlignments[] = {"NOTSET= -1", "TOP = 0", "CENTER = 1",
                                                   "BOTTOM = 2"};

}  // namespace

#define MODULE_ENUM(entries) \
    { #entries, "Integer", REALenumFlagPublic, entries, sizeof(entries) / sizeof(entries[0]) }

REALenum ModuleEnumerations[] = {
    MODULE_ENUM(UnderlineStyles),
    MODULE_ENUM(Alignments),
    MODULE_ENUM(HighlightColors),
    MODULE_ENUM(VerticalAlignments),
    MODULE_ENUM(PictureTypes),
    MODULE_ENUM(HeaderFooterTypes),
    MODULE_ENUM(Units),
    MODULE_ENUM(PrinterPaperCodes),
    MODULE_ENUM(TableWidthModes),
    MODULE_ENUM(SectionBreakTypes),
    MODULE_ENUM(NumberingType),
    MODULE_ENUM(EmuUnits),
    MODULE_ENUM(ShapeVerticalAlignments),
    MODULE_ENUM(ShapeTypes),
    MODULE_ENUM(LineEndTypes),
    MODULE_ENUM(FillTypes),
    MODULE_ENUM(ShapeTextWrap),
    MODULE_ENUM(BorderStyle),
    MODULE_ENUM(BorderParts),
    MODULE_ENUM(LineCompoundTypes),
    MODULE_ENUM(FieldSeparators),
    MODULE_ENUM(ComplexRunFieldTypes),
    MODULE_ENUM(StrikeThroughValues),
    MODULE_ENUM(TextCaps),
    MODULE_ENUM(StylePartType),
    MODULE_ENUM(BooleanAttribute),
    MODULE_ENUM(TableCellVerticalAlignments),
};

#undef MODULE_ENUM
