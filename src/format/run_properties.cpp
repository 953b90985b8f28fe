#include "format/run_properties.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "format/colors.h"
#include "format/schema_order.h"
#include "format/xml_helpers.h"

namespace {

constexpr const char* kVal = "w:val";

// One value of an enumeration and its "w:val" text.
struct ValueText {
    int32_t value;
    const char* text;
};

const ValueText kUnderlines[] = {
    {1, "single"}, {2, "double"}, {3, "dotted"}, {4, "dash"}, {5, "dotDash"},
    {6, "dotDotDash"}, {7, "wave"}, {8, "words"}, {9, "thick"}, {10, "wavyDouble"},
};

const ValueText kHighlights[] = {
    {1, "yellow"}, {2, "green"}, {3, "cyan"}, {4, "magenta"}, {5, "blue"},
    {6, "red"}, {7, "darkBlue"}, {8, "darkCyan"}, {9, "darkGreen"}, {10, "darkMagenta"},
    {11, "darkRed"}, {12, "darkYellow"}, {13, "darkGray"}, {14, "lightGray"}, {15, "black"},
};

template <size_t N>
const char* TextOf(const ValueText (&table)[N], int32_t value, const char* otherwise) {
    for (const ValueText& entry : table)
        if (entry.value == value) return entry.text;
    return otherwise;
}

template <size_t N>
int32_t ValueOf(const ValueText (&table)[N], const char* text, int32_t otherwise) {
    for (const ValueText& entry : table)
        if (std::strcmp(entry.text, text) == 0) return entry.value;
    return otherwise;
}

pugi::xml_node RPROf(pugi::xml_node parent) { return parent.child("w:rPr"); }

// The property element of a getter: empty when "w:rPr" or it is missing.
pugi::xml_node PropertyOf(pugi::xml_node parent, const char* name) { return RPROf(parent).child(name); }

void RemoveChild(pugi::xml_node rPr, const char* name) {
    if (pugi::xml_node child = rPr.child(name)) rPr.remove_child(child);
}

// The property element, added in its place among the run properties when
// missing.
pugi::xml_node PropertyIfNeeded(pugi::xml_node rPr, const char* name) {
    return ChildInOrder(rPr, name, ChildOrder::RunProperties);
}

// The common setter: "w:val" of the element, which is added when missing;
// an existing element that lacks "w:val" gets it.
void SetPropertyValue(pugi::xml_node rPr, const char* name, std::string_view text) {
    if (!rPr) return;
    WriteAttribute(PropertyIfNeeded(rPr, name), kVal, text);
}

int32_t IntegerOf(pugi::xml_attribute attribute) {
    const long long value = std::strtoll(attribute.value(), nullptr, 10);
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return int32_t(value);
}

// Where a new "w:rPr" goes in a table style: after the first "w:pPr", else
// after the first "w:rsid", else after the first "w:uiPriority"; a style
// with none of them gets none. Among what may follow those, it keeps the
// style's child order.
pugi::xml_node TableStyleRPR(pugi::xml_node style) {
    if (!style.child("w:pPr") && !style.child("w:rsid") && !style.child("w:uiPriority")) return {};
    return InsertChildInOrder(style, "w:rPr", ChildOrder::Style);
}

}  // namespace

pugi::xml_node RPRParentEnsureRPR(pugi::xml_node parent, RPROwner owner) {
    if (!parent) return {};
    if (pugi::xml_node rPr = RPROf(parent)) return rPr;
    switch (owner) {
        case RPROwner::Run: return parent.prepend_child("w:rPr");
        case RPROwner::Paragraph: return {};
        case RPROwner::CharacterStyle:
        case RPROwner::ParagraphStyle: return InsertChildInOrder(parent, "w:rPr", ChildOrder::Style);
        case RPROwner::TableStyle: return TableStyleRPR(parent);
        case RPROwner::TableStylePart:
            return InsertChildInOrder(parent, "w:rPr", ChildOrder::TableStyleProperties);
    }
    return {};
}

BooleanAttribute RPRParentGetSimpleTag(pugi::xml_node parent, const char* elementName) {
    pugi::xml_node element = PropertyOf(parent, elementName);
    if (!element) return BooleanAttribute::NOTSET;
    return ResolveST_OnOff(element.attribute(kVal)) ? BooleanAttribute::YES : BooleanAttribute::NO;
}

void RPRParentSetSimpleTag(pugi::xml_node parent, int32_t value, RPROwner owner, const char* elementName) {
    pugi::xml_node rPr = RPRParentEnsureRPR(parent, owner);
    if (!rPr) return;
    switch (BooleanAttribute(value)) {
        case BooleanAttribute::NOTSET: RemoveChild(rPr, elementName); break;
        case BooleanAttribute::YES: PropertyIfNeeded(rPr, elementName).remove_attribute(kVal); break;
        case BooleanAttribute::NO: WriteAttribute(PropertyIfNeeded(rPr, elementName), kVal, "0"); break;
        default: break;  // no other value is defined
    }
}

UnderlineStyles RPRParentGetUnderline(pugi::xml_node parent) {
    pugi::xml_node underline = PropertyOf(parent, "w:u");
    if (!underline) return UnderlineStyles::NONE;
    return UnderlineStyles(ValueOf(kUnderlines, underline.attribute(kVal).value(), 0));
}

void RPRParentSetUnderline(pugi::xml_node parent, int32_t value, RPROwner owner) {
    pugi::xml_node rPr = RPRParentEnsureRPR(parent, owner);
    if (value == 0) {
        RemoveChild(rPr, "w:u");
        return;
    }
    SetPropertyValue(rPr, "w:u", TextOf(kUnderlines, value, "single"));
}

void RPRParentSetUnderlineWithColor(pugi::xml_node parent, int32_t value, RBColor color, RPROwner owner) {
    pugi::xml_node rPr = RPRParentEnsureRPR(parent, owner);
    if (!rPr) return;
    if (value == 0) {
        RemoveChild(rPr, "w:u");
        return;
    }
    pugi::xml_node underline = PropertyIfNeeded(rPr, "w:u");
    WriteAttribute(underline, kVal, TextOf(kUnderlines, value, "single"));
    WriteAttribute(underline, "w:color", ColorToHex(color));
}

bool RPRParentHasUnderlineColor(pugi::xml_node parent) {
    return bool(PropertyOf(parent, "w:u").attribute("w:color"));
}

RBColor RPRParentGetUnderlineColor(pugi::xml_node parent) {
    pugi::xml_attribute color = PropertyOf(parent, "w:u").attribute("w:color");
    return color ? HexColorToRBColor(color.value()) : 0;
}

void RPRParentClearUnderlineColor(pugi::xml_node parent) { PropertyOf(parent, "w:u").remove_attribute("w:color"); }

StrikeThroughValues RPRParentGetStrikethrough(pugi::xml_node parent) {
    if (pugi::xml_node strike = PropertyOf(parent, "w:strike"))
        return ResolveST_OnOff(strike.attribute(kVal)) ? StrikeThroughValues::SINGLELINE : StrikeThroughValues::NONE;
    if (pugi::xml_node dstrike = PropertyOf(parent, "w:dstrike"))
        return ResolveST_OnOff(dstrike.attribute(kVal)) ? StrikeThroughValues::DOUBLELINE : StrikeThroughValues::NONE;
    return StrikeThroughValues::NOTSET;
}

void RPRParentSetStrikethrough(pugi::xml_node parent, int32_t value, RPROwner owner) {
    pugi::xml_node rPr = RPRParentEnsureRPR(parent, owner);
    if (!rPr) return;
    switch (StrikeThroughValues(value)) {
        case StrikeThroughValues::NOTSET:
            RemoveChild(rPr, "w:strike");
            RemoveChild(rPr, "w:dstrike");
            break;
        case StrikeThroughValues::SINGLELINE:
            RemoveChild(rPr, "w:dstrike");
            SetPropertyValue(rPr, "w:strike", "true");
            break;
        case StrikeThroughValues::DOUBLELINE:
            RemoveChild(rPr, "w:strike");
            SetPropertyValue(rPr, "w:dstrike", "true");
            break;
        default:  // NONE and anything else: explicitly off
            RemoveChild(rPr, "w:dstrike");
            SetPropertyValue(rPr, "w:strike", "false");
            break;
    }
}

TextCaps RPRParentGetCaps(pugi::xml_node parent) {
    pugi::xml_node rPr = RPROf(parent);
    if (rPr.child("w:caps")) return TextCaps::Caps;
    if (rPr.child("w:smallCaps")) return TextCaps::SmallCaps;
    return TextCaps::None;
}

void RPRParentSetCaps(pugi::xml_node parent, int32_t value, RPROwner owner) {
    pugi::xml_node rPr = RPRParentEnsureRPR(parent, owner);
    if (!rPr) return;
    switch (TextCaps(value)) {
        case TextCaps::None:
            RemoveChild(rPr, "w:caps");
            RemoveChild(rPr, "w:smallCaps");
            break;
        case TextCaps::Caps:
            RemoveChild(rPr, "w:smallCaps");
            PropertyIfNeeded(rPr, "w:caps");
            break;
        case TextCaps::SmallCaps:
            RemoveChild(rPr, "w:caps");
            PropertyIfNeeded(rPr, "w:smallCaps");
            break;
        default: break;
    }
}

int32_t RPRParentGetSpacing(pugi::xml_node parent) {
    pugi::xml_node spacing = PropertyOf(parent, "w:spacing");
    return spacing ? IntegerOf(spacing.attribute(kVal)) : kSpacingNotSet;
}

void RPRParentSetSpacing(pugi::xml_node parent, int32_t value, RPROwner owner) {
    pugi::xml_node rPr = RPRParentEnsureRPR(parent, owner);
    if (value == kSpacingNotSet) {
        RemoveChild(rPr, "w:spacing");
        return;
    }
    SetPropertyValue(rPr, "w:spacing", std::to_string(value));
}

VerticalAlignments RPRParentGetVerticalAlignment(pugi::xml_node parent) {
    const char* text = PropertyOf(parent, "w:vertAlign").attribute(kVal).value();
    if (std::strcmp(text, "subscript") == 0) return VerticalAlignments::SUBSCRIPT;
    if (std::strcmp(text, "superscript") == 0) return VerticalAlignments::SUPERSCRIPT;
    return VerticalAlignments::NONE;
}

void RPRParentSetVerticalAlignment(pugi::xml_node parent, int32_t value, RPROwner owner) {
    pugi::xml_node rPr = RPRParentEnsureRPR(parent, owner);
    if (value == 0) {
        RemoveChild(rPr, "w:vertAlign");
        return;
    }
    SetPropertyValue(rPr, "w:vertAlign", value == 2 ? "superscript" : "subscript");
}

HighlightColors RPRParentGetHighlightColor(pugi::xml_node parent) {
    pugi::xml_node highlight = PropertyOf(parent, "w:highlight");
    if (!highlight) return HighlightColors::None;
    return HighlightColors(ValueOf(kHighlights, highlight.attribute(kVal).value(), 0));
}

void RPRParentSetHighlightColor(pugi::xml_node parent, int32_t value, RPROwner owner) {
    pugi::xml_node rPr = RPRParentEnsureRPR(parent, owner);
    if (value == 0) {
        RemoveChild(rPr, "w:highlight");
        return;
    }
    SetPropertyValue(rPr, "w:highlight", TextOf(kHighlights, value, "yellow"));
}

int32_t RPRParentGetFontSize(pugi::xml_node parent) {
    pugi::xml_node size = PropertyOf(parent, "w:sz");
    return size ? IntegerOf(size.attribute(kVal)) / 2 : kFontSizeNotSet;
}

void RPRParentSetFontSize(pugi::xml_node parent, int32_t points, RPROwner owner) {
    pugi::xml_node rPr = RPRParentEnsureRPR(parent, owner);
    if (!rPr) return;
    if (points == kFontSizeNotSet) {
        // A lone complex-script size is someone else's setting.
        if (rPr.child("w:sz")) {
            RemoveChild(rPr, "w:sz");
            RemoveChild(rPr, "w:szCs");
        }
        return;
    }
    // Half-points; sizes beyond the 32-bit range are held at its ends.
    long long halfPoints = 2LL * points;
    if (halfPoints > std::numeric_limits<int32_t>::max()) halfPoints = std::numeric_limits<int32_t>::max();
    if (halfPoints < std::numeric_limits<int32_t>::min()) halfPoints = std::numeric_limits<int32_t>::min();
    const std::string text = std::to_string(halfPoints);
    SetPropertyValue(rPr, "w:sz", text);
    SetPropertyValue(rPr, "w:szCs", text);
}

std::string RPRParentGetFontName(pugi::xml_node parent) {
    return PropertyOf(parent, "w:rFonts").attribute("w:hAnsi").value();
}

void RPRParentSetFontName(pugi::xml_node parent, std::string_view name, RPROwner owner) {
    pugi::xml_node rPr = RPRParentEnsureRPR(parent, owner);
    if (!rPr) return;
    if (name.empty()) {
        RemoveChild(rPr, "w:rFonts");
        return;
    }
    // A theme font would win over the name written here, so the two it
    // replaces go; complex-script and East Asian fonts stay.
    pugi::xml_node fonts = PropertyIfNeeded(rPr, "w:rFonts");
    WriteAttribute(fonts, "w:ascii", name);
    WriteAttribute(fonts, "w:hAnsi", name);
    fonts.remove_attribute("w:asciiTheme");
    fonts.remove_attribute("w:hAnsiTheme");
}

bool RPRParentHasTextColor(pugi::xml_node parent) { return bool(PropertyOf(parent, "w:color")); }

RBColor RPRParentGetTextColor(pugi::xml_node parent, TextColorResolver resolver, REALobject resolverOwner) {
    if (pugi::xml_node color = PropertyOf(parent, "w:color")) return HexColorToRBColor(color.attribute(kVal).value());
    if (resolver && resolverOwner) return resolver(resolverOwner);
    return 0;
}

void RPRParentSetTextColor(pugi::xml_node parent, std::string_view hex, RPROwner owner) {
    pugi::xml_node rPr = RPRParentEnsureRPR(parent, owner);
    if (!rPr) return;
    // A theme colour would win over the value written here.
    pugi::xml_node color = PropertyIfNeeded(rPr, "w:color");
    WriteAttribute(color, kVal, hex);
    for (const char* theme : {"w:themeColor", "w:themeTint", "w:themeShade"}) color.remove_attribute(theme);
}

void RPRParentClearTextColor(pugi::xml_node parent) { RemoveChild(RPROf(parent), "w:color"); }
