// The host class Run: the view of one w:r, and of the field it belongs to.
#include <memory>
#include <string>
#include <utility>

#include "content/complex_runs.h"
#include "content/document_caches.h"
#include "content/field_merge_members.h"
#include "content/paragraph_item.h"
#include "content/paragraph_text.h"
#include "content/run_content.h"
#include "content/run_language.h"
#include "content/sibling_walk.h"
#include "content/tab_segments.h"
#include "drawing/paragraph_shapes.h"
#include "drawing/drawing_members.h"
#include "drawing/run_drawings.h"
#include "format/colors.h"
#include "format/run_properties.h"
#include "format/style_part.h"
#include "format/units.h"
#include "format/xml_helpers.h"
#include "host/class_tables.h"
#include "host/exceptions.h"
#include "host/strings.h"

REALobject CreateRun(REALobject document, pugi::xml_node node, pugi::xml_node parentNode,
                     TextColorResolver resolver, REALobject resolverOwner, bool detectComplex) {
    // The parts are found before the view is made: nothing can fail once
    // the view holds its counts.
    std::unique_ptr<ComplexParts> parts;
    if (detectComplex) {
        ComplexParts found = Run_FindComplexParts(node, DocumentCaches_Of(document).fieldChars);
        if (found.count) parts = std::make_unique<ComplexParts>(std::move(found));
    }
    REALobject run =
        NewParagraphItem(&RunClass, document, node, parentNode, ParagraphItemKindRun, resolver, resolverOwner);
    if (run) ParagraphItemData_Of(run)->complexParts = parts.release();
    return run;
}

void Run_SetComplexParts(REALobject run, std::vector<pugi::xml_node> parts) {
    ParagraphItemData* data = ParagraphItemData_Of(run);
    delete data->complexParts;
    data->complexParts = parts.empty() ? nullptr : new ComplexParts(ComplexParts_Of(std::move(parts)));
}

pugi::xml_node Run_TextNode(const ParagraphItemData* run) {
    return run->complexParts ? ComplexParts_TextRun(*run->complexParts) : run->node;
}

std::vector<pugi::xml_node> Run_EveryPart(const ParagraphItemData* run) {
    if (run->complexParts) return ComplexParts_Nodes(*run->complexParts);
    return {run->node};
}

namespace {

ParagraphItemData* DataOf(REALobject instance) { return ParagraphItemData_Of(instance); }
pugi::xml_node NodeOf(REALobject instance) { return DataOf(instance)->node; }

const ComplexParts& PartsOf(REALobject instance) {
    static const ComplexParts kNone;
    const ParagraphItemData* data = DataOf(instance);
    return data->complexParts ? *data->complexParts : kNone;
}

RBBoolean GetIsPartOfComplexRun(REALobject instance, intptr_t) { return DataOf(instance)->complexParts != nullptr; }

REALstring GetText(REALobject instance, intptr_t) {
    std::string text;
    Run_AppendText(Run_TextNode(DataOf(instance)), text);
    return UTF8ToString(text);
}

void SetText(REALobject instance, intptr_t, REALstring value) {
    std::string text;
    if (!StringToUTF8(value, text)) return;
    switch (Run_SetText(Run_TextNode(DataOf(instance)), text)) {
        case RunTextResult::Written: break;
        case RunTextResult::DrawingRun: ThrowWordException("Text cannot be set on drawing Run", -25); break;
        case RunTextResult::ShapeRun: ThrowWordException("Text cannot be set on shape Run", -26); break;
    }
}

RBBoolean GetIsPageBreak(REALobject instance, intptr_t) { return Run_IsPageBreak(NodeOf(instance)); }
RBBoolean GetIsDrawing(REALobject instance, intptr_t) { return Run_IsDrawing(NodeOf(instance)); }
RBBoolean GetIsShape(REALobject instance, intptr_t) { return Run_IsShape(NodeOf(instance)); }
RBInteger GetTabSegmentCount(REALobject instance, intptr_t) { return Run_TabSegmentCount(NodeOf(instance)); }

REALstring GetLanguageCode(REALobject instance, intptr_t) { return UTF8ToString(Run_GetLanguageCode(NodeOf(instance))); }

void SetLanguageCode(REALobject instance, intptr_t, REALstring value) {
    std::string code;
    if (!StringToUTF8(value, code)) return;
    for (pugi::xml_node part : Run_EveryPart(DataOf(instance))) Run_SetLanguageCode(part, code);
}

REALstring GetInstrText(REALobject instance, intptr_t) {
    const ParagraphItemData* data = DataOf(instance);
    pugi::xml_node run = data->complexParts ? ComplexParts_InstructionRun(*data->complexParts) : data->node;
    return UTF8ToString(Run_GetInstrText(run));
}

RBInteger GetFieldSeparator(REALobject instance, intptr_t) { return Run_GetFieldSeparator(NodeOf(instance)); }

RBBoolean GetFieldSeparatorLock(REALobject instance, intptr_t) {
    pugi::xml_attribute lock = NodeOf(instance).child("w:fldChar").attribute("w:fldLock");
    return lock && ResolveST_OnOff(lock);
}

RBInteger GetComplexRunPartCount(REALobject instance, intptr_t) { return RBInteger(PartsOf(instance).count); }
RBInteger GetComplexRunFieldType(REALobject instance, intptr_t) { return ComplexParts_FieldType(PartsOf(instance)); }
REALstring GetComplexRunFieldData(REALobject instance, intptr_t) {
    return UTF8ToString(ComplexParts_FieldData(PartsOf(instance)));
}

REALstring TabSegmentText(REALobject instance, RBInteger index) {
    pugi::xml_node segment = Run_TabSegment(NodeOf(instance), index);
    if (!segment) {
        ThrowOutOfBoundsException("Index is out of bounds", 1);
        return nullptr;
    }
    return UTF8ToString(segment.text().get());
}

// Writes the segment the index was checked against: the run's own.
void SetTabSegmentText(REALobject instance, RBInteger index, REALstring value) {
    pugi::xml_node segment = Run_TabSegment(NodeOf(instance), index);
    if (!segment) {
        ThrowOutOfBoundsException("Index is out of bounds", 1);
        return;
    }
    // A nil value converts to the empty text and so empties the segment.
    std::string text;
    if (!StringToUTF8(value, text)) return;
    TabSegment_SetText(segment, text);
}

REALobject ComplexRunPart(REALobject instance, RBInteger index) {
    const ParagraphItemData* data = DataOf(instance);
    const ComplexParts& parts = PartsOf(instance);
    if (index < 0 || uint64_t(index) >= parts.count) {
        ThrowOutOfBoundsException("index is out of bounds", 1);
        return nullptr;
    }
    return CreateRun(data->document, ComplexParts_At(parts, size_t(index)), data->parentNode,
                     data->textColorResolver, data->resolverOwner, false);
}

// ---------------------------------------------------------------- formatting
// Getters read the run's own element; most setters write every part of the
// field the run belongs to, so the field keeps one look.

template <class Set>
void ForEveryPart(REALobject instance, Set set) {
    for (pugi::xml_node part : Run_EveryPart(DataOf(instance))) set(part);
}

REALstring GetFontName(REALobject instance, intptr_t) { return UTF8ToString(RPRParentGetFontName(NodeOf(instance))); }
void SetFontName(REALobject instance, intptr_t, REALstring value) {
    std::string name;
    if (!StringToUTF8(value, name)) return;
    ForEveryPart(instance, [&](pugi::xml_node part) { RPRParentSetFontName(part, name, RPROwner::Run); });
}

RBInteger GetFontSize(REALobject instance, intptr_t) { return RPRParentGetFontSize(NodeOf(instance)); }
void SetFontSize(REALobject instance, intptr_t, RBInteger value) {
    ForEveryPart(instance,
                 [&](pugi::xml_node part) { RPRParentSetFontSize(part, ClampToInt32(value), RPROwner::Run); });
}

RBInteger GetBold(REALobject instance, intptr_t) { return RBInteger(RPRParentGetSimpleTag(NodeOf(instance), "w:b")); }
void SetBold(REALobject instance, intptr_t, RBInteger value) {
    ForEveryPart(instance,
                 [&](pugi::xml_node part) { RPRParentSetSimpleTag(part, ClampToInt32(value), RPROwner::Run, "w:b"); });
}

RBInteger GetItalic(REALobject instance, intptr_t) { return RBInteger(RPRParentGetSimpleTag(NodeOf(instance), "w:i")); }
void SetItalic(REALobject instance, intptr_t, RBInteger value) {
    ForEveryPart(instance,
                 [&](pugi::xml_node part) { RPRParentSetSimpleTag(part, ClampToInt32(value), RPROwner::Run, "w:i"); });
}

RBColor GetTextColor(REALobject instance, intptr_t) {
    const ParagraphItemData* data = DataOf(instance);
    return RPRParentGetTextColor(data->node, data->textColorResolver, data->resolverOwner);
}
void SetTextColor(REALobject instance, intptr_t, RBColor value) {
    const std::string hex = ColorToHex(value);
    ForEveryPart(instance, [&](pugi::xml_node part) { RPRParentSetTextColor(part, hex, RPROwner::Run); });
}
RBBoolean GetHasTextColor(REALobject instance, intptr_t) { return RPRParentHasTextColor(NodeOf(instance)); }

RBColor GetUnderlineColor(REALobject instance, intptr_t) { return RPRParentGetUnderlineColor(NodeOf(instance)); }
RBBoolean GetHasUnderlineColor(REALobject instance, intptr_t) {
    return RPRParentHasUnderlineColor(NodeOf(instance));
}

RBInteger GetUnderline(REALobject instance, intptr_t) { return RBInteger(RPRParentGetUnderline(NodeOf(instance))); }
void SetUnderline(REALobject instance, intptr_t, RBInteger value) {
    ForEveryPart(instance,
                 [&](pugi::xml_node part) { RPRParentSetUnderline(part, ClampToInt32(value), RPROwner::Run); });
}

RBInteger GetStrikethrough(REALobject instance, intptr_t) {
    return RBInteger(RPRParentGetStrikethrough(NodeOf(instance)));
}
void SetStrikethrough(REALobject instance, intptr_t, RBInteger value) {
    ForEveryPart(instance,
                 [&](pugi::xml_node part) { RPRParentSetStrikethrough(part, ClampToInt32(value), RPROwner::Run); });
}

RBInteger GetHighlightColor(REALobject instance, intptr_t) {
    return RBInteger(RPRParentGetHighlightColor(NodeOf(instance)));
}
void SetHighlightColor(REALobject instance, intptr_t, RBInteger value) {
    ForEveryPart(instance,
                 [&](pugi::xml_node part) { RPRParentSetHighlightColor(part, ClampToInt32(value), RPROwner::Run); });
}

RBInteger GetVerticalAlignment(REALobject instance, intptr_t) {
    return RBInteger(RPRParentGetVerticalAlignment(NodeOf(instance)));
}
void SetVerticalAlignment(REALobject instance, intptr_t, RBInteger value) {
    ForEveryPart(instance, [&](pugi::xml_node part) {
        RPRParentSetVerticalAlignment(part, ClampToInt32(value), RPROwner::Run);
    });
}

// Capitals and spacing belong to the run the object wraps only.
RBInteger GetCaps(REALobject instance, intptr_t) { return RBInteger(RPRParentGetCaps(NodeOf(instance))); }
void SetCaps(REALobject instance, intptr_t, RBInteger value) {
    RPRParentSetCaps(NodeOf(instance), ClampToInt32(value), RPROwner::Run);
}

RBInteger GetSpacing(REALobject instance, intptr_t) { return RPRParentGetSpacing(NodeOf(instance)); }
void SetSpacing(REALobject instance, intptr_t, RBInteger value) {
    RPRParentSetSpacing(NodeOf(instance), ClampToInt32(value), RPROwner::Run);
}

void ClearTextColor(REALobject instance) {
    ForEveryPart(instance, [](pugi::xml_node part) { RPRParentClearTextColor(part); });
}

void SetUnderlineWithColor(REALobject instance, RBInteger underlineStyle, RBColor colorValue) {
    ForEveryPart(instance, [&](pugi::xml_node part) {
        RPRParentSetUnderlineWithColor(part, ClampToInt32(underlineStyle), colorValue, RPROwner::Run);
    });
}

void ClearUnderlineColor(REALobject instance) {
    ForEveryPart(instance, [](pugi::xml_node part) { RPRParentClearUnderlineColor(part); });
}

// ---------------------------------------------------------------- style

REALobject GetStyle(REALobject instance, intptr_t) {
    const ParagraphItemData* data = DataOf(instance);
    return StyleReference_View(data->document, data->node.child("w:rPr").child("w:rStyle"), "character",
                               &CharacterStyleClass, "Run has style but no matching style exists in the document");
}

// Runs from other documents may lack "w:rPr": it is made first, so the
// style is applied all the same.
void SetStyle(REALobject instance, intptr_t, REALobject value) {
    StyleReference_Set(NodeOf(instance), "w:rPr", "w:rStyle", value);
}

REALproperty RunProperties[] = {
    VEX_READONLY_PROPERTY("IsPartOfComplexRun", "Boolean", GetIsPartOfComplexRun),
    VEX_PROPERTY("Text", "String", GetText, SetText),
    VEX_READONLY_PROPERTY("IsPageBreak", "Boolean", GetIsPageBreak),
    VEX_READONLY_PROPERTY("IsDrawing", "Boolean", GetIsDrawing),
    VEX_READONLY_PROPERTY("IsShape", "Boolean", GetIsShape),
    VEX_READONLY_PROPERTY("Drawing", "VexlomarWord.Drawing", GetDrawing),
    VEX_READONLY_PROPERTY("Shape", "VexlomarWord.Shape", GetShape),
    VEX_READONLY_PROPERTY("ShapeGroup", "VexlomarWord.ShapeGroup", GetShapeGroup),
    VEX_READONLY_PROPERTY("DrawingCount", "Integer", Run_GetDrawingCount),
    VEX_READONLY_PROPERTY("ShapeCount", "Integer", Run_GetShapeCount),
    VEX_PROPERTY("FontName", "String", GetFontName, SetFontName),
    VEX_PROPERTY("FontSize", "Integer", GetFontSize, SetFontSize),
    VEX_PROPERTY("Bold", "VexlomarWord.BooleanAttribute", GetBold, SetBold),
    VEX_PROPERTY("Italic", "VexlomarWord.BooleanAttribute", GetItalic, SetItalic),
    VEX_PROPERTY("TextColor", "Color", GetTextColor, SetTextColor),
    VEX_READONLY_PROPERTY("HasTextColor", "Boolean", GetHasTextColor),
    VEX_READONLY_PROPERTY("UnderlineColor", "Color", GetUnderlineColor),
    VEX_READONLY_PROPERTY("HasUnderlineColor", "Boolean", GetHasUnderlineColor),
    VEX_PROPERTY("Underline", "VexlomarWord.UnderlineStyles", GetUnderline, SetUnderline),
    VEX_PROPERTY("Strikethrough", "VexlomarWord.StrikeThroughValues", GetStrikethrough, SetStrikethrough),
    VEX_PROPERTY("HighlightColor", "VexlomarWord.HighlightColors", GetHighlightColor, SetHighlightColor),
    VEX_PROPERTY("VerticalAlignment", "VexlomarWord.VerticalAlignments", GetVerticalAlignment,
                 SetVerticalAlignment),
    VEX_READONLY_PROPERTY("TabSegmentCount", "Integer", GetTabSegmentCount),
    VEX_PROPERTY("LanguageCode", "String", GetLanguageCode, SetLanguageCode),
    VEX_READONLY_PROPERTY("InstrText", "String", GetInstrText),
    VEX_READONLY_PROPERTY("FieldSeparator", "VexlomarWord.FieldSeparators", GetFieldSeparator),
    VEX_READONLY_PROPERTY("FieldSeparatorLock", "Boolean", GetFieldSeparatorLock),
    VEX_READONLY_PROPERTY("ComplexRunPartCount", "Integer", GetComplexRunPartCount),
    VEX_READONLY_PROPERTY("ComplexRunFieldType", "VexlomarWord.ComplexRunFieldTypes", GetComplexRunFieldType),
    VEX_READONLY_PROPERTY("ComplexRunFieldData", "String", GetComplexRunFieldData),
    VEX_PROPERTY("Style", "VexlomarWord.CharacterStyle", GetStyle, SetStyle),
    VEX_PROPERTY("Caps", "VexlomarWord.TextCaps", GetCaps, SetCaps),
    VEX_PROPERTY("Spacing", "Integer", GetSpacing, SetSpacing),
};

REALmethodDefinition RunMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(RunMembers::ApplyFieldData, "ApplyFieldData(fieldName as String, data as String)"),
    VEX_METHOD(ClearTextColor, "ClearTextColor()"),
    VEX_METHOD(SetUnderlineWithColor,
               "SetUnderlineWithColor(underlineStyle as VexlomarWord.UnderlineStyles, colorValue as Color)"),
    VEX_METHOD(ClearUnderlineColor, "ClearUnderlineColor()"),
    VEX_ASSIGNABLE_METHOD(TabSegmentText, SetTabSegmentText, "TabSegmentText(index as Integer) as String"),
    VEX_METHOD(ComplexRunPart, "ComplexRunPart(index as Integer) as VexlomarWord.Run"),
    VEX_METHOD(Run_DrawingAt, "DrawingAt(index as Integer) as VexlomarWord.Drawing"),
    VEX_METHOD(Run_ShapeAt, "ShapeAt(index as Integer) as VexlomarWord.Shape"),
    VEX_METHOD(Run_ShapeGroupAt, "ShapeGroupAt(index as Integer) as VexlomarWord.ShapeGroup"),
};

}  // namespace

REALclassDefinition RunClass = ClassDefinition("Run", "ParagraphItem", 0, nullptr, nullptr, RunProperties,
                                               VEX_COUNT(RunProperties), RunMethods, VEX_COUNT(RunMethods));
