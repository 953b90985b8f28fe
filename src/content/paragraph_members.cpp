// The host class Paragraph: the view of one w:p.
#include <string>
#include <vector>

#include "content/bookmark_view.h"
#include "content/complex_runs.h"
#include "content/container.h"
#include "content/document_caches.h"
#include "content/field_merge_members.h"
#include "content/fields.h"
#include "content/hyperlink_view.h"
#include "content/hyperlinks.h"
#include "content/iterators.h"
#include "content/language.h"
#include "content/paragraph_indents.h"
#include "content/paragraph_item.h"
#include "content/paragraph_items.h"
#include "content/paragraph_text.h"
#include "content/removed_elements.h"
#include "content/run_language.h"
#include "content/run_text.h"
#include "content/sibling_walk.h"
#include "document/document_data.h"
#include "drawing/paragraph_shapes.h"
#include "drawing/drawing_members.h"
#include "format/list_indent.h"
#include "format/paragraph_numbering.h"
#include "format/paragraph_properties.h"
#include "format/sections.h"
#include "format/style_part.h"
#include "format/units.h"
#include "format/xml_helpers.h"
#include "host/class_tables.h"
#include "host/exceptions.h"
#include "host/strings.h"
#include "package/discarded_nodes.h"

namespace {

// The DocumentItem destructor releases the record; nothing of its own.
void ParagraphInitializer(REALobject) {}
void ParagraphDestructor(REALobject) {}

DocumentItemData* DataOf(REALobject instance) { return DocumentItemData_Of(instance); }
pugi::xml_node NodeOf(REALobject instance) { return DataOf(instance)->node; }
DocumentCaches& CachesOf(REALobject instance) { return DocumentCaches_Of(DataOf(instance)->document); }

// The index-th child of the paragraph that `walk` counts.
pugi::xml_node ChildAt(REALobject instance, SiblingWalk walk, RBInteger index) {
    return SiblingAt(NodeOf(instance), walk, index, CachesOf(instance).positions);
}

// A view of a run this paragraph holds, carrying the paragraph's resolver
// pair.
REALobject RunView(REALobject instance, pugi::xml_node run, bool detectComplex) {
    if (!run) return nullptr;
    const DocumentItemData* data = DataOf(instance);
    return CreateRun(data->document, run, data->node, data->textColorResolver, data->resolverOwner,
                     detectComplex);
}

REALobject ItemView(REALobject instance, pugi::xml_node item) {
    const DocumentItemData* data = DataOf(instance);
    return CreateParagraphItem(data->document, item, data->node, data->textColorResolver, data->resolverOwner);
}

// Counts remembered with the document's places: a loop that tests one in
// its condition stays linear.
RBInteger CountOf(REALobject instance, SiblingWalk walk) {
    return SiblingCount(NodeOf(instance), walk, CachesOf(instance).positions);
}
RBInteger GetRunCount(REALobject instance, intptr_t) { return CountOf(instance, SiblingWalk::Runs); }
RBInteger GetLogicalRunCount(REALobject instance, intptr_t) { return CountOf(instance, SiblingWalk::LogicalRuns); }
REALstring GetText(REALobject instance, intptr_t) { return UTF8ToString(Paragraph_GetText(NodeOf(instance))); }
RBBoolean GetIsPageBreak(REALobject instance, intptr_t) { return Paragraph_IsPageBreak(NodeOf(instance)); }
RBInteger GetListIndentLevel(REALobject instance, intptr_t) { return Paragraph_GetListIndentLevel(NodeOf(instance)); }
REALobject GetListIndent(REALobject instance, intptr_t) {
    return ListIndent_OfParagraph(DataOf(instance)->document, NodeOf(instance));
}
RBInteger GetParagraphItemCount(REALobject instance, intptr_t) {
    return CountOf(instance, SiblingWalk::ParagraphItems);
}
RBInteger GetLogicalParagraphItemCount(REALobject instance, intptr_t) {
    return CountOf(instance, SiblingWalk::LogicalParagraphItems);
}
// The section this paragraph ends, if any.
REALobject GetSection(REALobject instance, intptr_t) {
    const DocumentItemData* data = DataOf(instance);
    pugi::xml_node sectPr = data->node.child("w:pPr").child("w:sectPr");
    return sectPr ? CreateSection(data->document, sectPr) : nullptr;
}
REALstring GetLanguageCode(REALobject instance, intptr_t) {
    return UTF8ToString(Paragraph_GetLanguageCode(NodeOf(instance)).value_or(std::string()));
}

REALobject Run(REALobject instance, RBInteger index) {
    return RunView(instance, ChildAt(instance, SiblingWalk::Runs, index), true);
}

// A field's logical run is its end run, which carries the field's parts.
REALobject LogicalRun(REALobject instance, RBInteger index) {
    return RunView(instance, ChildAt(instance, SiblingWalk::LogicalRuns, index), true);
}

REALobject AppendRun(REALobject instance, REALstring value) {
    std::string text;
    if (!StringToUTF8(value, text)) return nullptr;
    return RunView(instance, InternalAddRun(NodeOf(instance), text, std::nullopt, true), false);
}

void RemoveParagraphItem(REALobject instance, REALobject item) {
    if (!item) return;
    const ParagraphItemData* itemData = ParagraphItemData_Of(item);
    pugi::xml_node paragraph = NodeOf(instance);
    if (itemData->kind == ParagraphItemKindHyperlink) {
        if (itemData->node.parent() != paragraph) return;
        Removal_Release(DataOf(instance)->document, itemData->node);
        // Only walks over this paragraph learn of it: the places of the
        // paragraphs themselves stay, so a loop over them stays linear.
        SiblingRemoving(paragraph, SiblingWalk::ParagraphItems, itemData->node, CachesOf(instance).positions);
        Hyperlink_Remove(itemData->node);
        return;
    }
    // A run of a field takes the whole field with it.
    if (itemData->complexParts) {
        const std::vector<pugi::xml_node> parts = ComplexParts_Nodes(*itemData->complexParts);
        for (pugi::xml_node run : parts) Removal_Release(DataOf(instance)->document, run);
        Paragraph_RemoveRuns(paragraph, parts, CachesOf(instance));
        return;
    }
    // Only a run that is really taken out gives up its picture.
    if (itemData->node.parent() != paragraph) return;
    Removal_Release(DataOf(instance)->document, itemData->node);
    Paragraph_RemoveRuns(paragraph, {itemData->node}, CachesOf(instance));
}

void SetListIndent(REALobject instance, REALobject value, RBInteger level) {
    pugi::xml_node paragraph = NodeOf(instance);
    if (!value) {
        Paragraph_RemoveList(paragraph);
        return;
    }
    if (static_cast<uint64_t>(level) > 8) {
        PrependChildIfNeeded(paragraph, "w:pPr");
        ThrowInvalidArgumentException("Level parameter is out of range, only values from 0 to 8 are supported", 2);
        return;
    }
    Paragraph_SetList(paragraph, ListIndentData_Of(value)->numId, level);
}

REALobject ParagraphItem(REALobject instance, RBInteger index) {
    return ItemView(instance, ChildAt(instance, SiblingWalk::ParagraphItems, index));
}
REALobject LogicalParagraphItem(REALobject instance, RBInteger index) {
    return ItemView(instance, ChildAt(instance, SiblingWalk::LogicalParagraphItems, index));
}

REALobject AppendHyperlink(REALobject instance, REALstring value, REALstring address) {
    std::string text, target;
    if (!StringToUTF8(value, text) || !StringToUTF8(address, target)) return nullptr;
    const DocumentItemData* data = DataOf(instance);
    // A removed paragraph takes no link: its relationship would outlive it
    // in the package.
    if (Xml_IsDiscarded(data->node)) return nullptr;
    pugi::xml_node hyperlink =
        Hyperlink_Append(*DocumentData_Of(data->document)->wordDocument, data->node, text, target);
    return hyperlink ? CreateHyperlink(data->document, hyperlink, data->node) : nullptr;
}

// A bookmark from the first item to the last, both direct children of this
// paragraph and in that order; nil and no change otherwise. Its id is one
// above every bookmark id of the document, or a free one at the top.
REALobject AddBookmark(REALobject instance, REALobject first, REALobject last, REALstring name) {
    std::string nameText;
    if (!first || !last || !StringToUTF8(name, nameText)) return nullptr;
    if (!Bookmark_CheckValidName(nameText)) {
        ThrowInvalidArgumentException("Parameter name contains charcter which is not allowed for bookmark", -511);
        return nullptr;
    }
    const DocumentItemData* data = DataOf(instance);
    DocumentCaches& caches = CachesOf(instance);
    if (caches.highestBookmarkId < 0)
        caches.highestBookmarkId = Bookmarks_HighestId(*DocumentData_Of(data->document)->wordDocument);
    const int64_t id = Bookmarks_NextId(*DocumentData_Of(data->document)->wordDocument, caches.highestBookmarkId);
    if (id <= 0) return nullptr;
    BookmarkNodes nodes;
    if (!Bookmark_AddAround(data->node, ParagraphItemData_Of(first)->node, ParagraphItemData_Of(last)->node,
                            nameText, id, nodes))
        return nullptr;
    if (id > caches.highestBookmarkId) caches.highestBookmarkId = id;
    // The two ends are no child any walk counts, and nothing remembered
    // moves: every place and count stays right.
    return CreateBookmark(data->document, nodes);
}

REALobject AddBookmarkAround(REALobject instance, REALobject item, REALstring name) {
    return AddBookmark(instance, item, item, name);
}
REALobject AddBookmarkAroundItems(REALobject instance, REALobject first, REALobject last, REALstring name) {
    return AddBookmark(instance, first, last, name);
}

double LeftIndent(REALobject instance, RBInteger unit) {
    return Paragraph_GetIndent(NodeOf(instance), kLeftIndent, Units_Of(unit));
}
void SetLeftIndent(REALobject instance, RBInteger unit, double value) {
    Paragraph_SetIndent(NodeOf(instance), kLeftIndent, value, Units_Of(unit));
}
double RightIndent(REALobject instance, RBInteger unit) {
    return Paragraph_GetIndent(NodeOf(instance), kRightIndent, Units_Of(unit));
}
void SetRightIndent(REALobject instance, RBInteger unit, double value) {
    Paragraph_SetIndent(NodeOf(instance), kRightIndent, value, Units_Of(unit));
}
double FirstLineIndent(REALobject instance, RBInteger unit) {
    return Paragraph_GetIndent(NodeOf(instance), kFirstLineIndent, Units_Of(unit));
}
void SetFirstLineIndent(REALobject instance, RBInteger unit, double value) {
    Paragraph_SetIndent(NodeOf(instance), kFirstLineIndent, value, Units_Of(unit));
}

void SetLanguageCode(REALobject instance, REALstring code, RBBoolean setOnRuns) {
    std::string text;
    if (!StringToUTF8(code, text)) return;
    Paragraph_SetLanguageCode(NodeOf(instance), text, setOnRuns);
}

// The field's result run, knowing all five runs of the field.
REALobject AppendField(REALobject instance, std::string_view instruction, std::string_view displayText) {
    std::vector<pugi::xml_node> parts;
    pugi::xml_node result = Paragraph_AppendSpecialField(NodeOf(instance), instruction, displayText, parts);
    REALobject run = RunView(instance, result, false);
    if (run) Run_SetComplexParts(run, std::move(parts));
    return run;
}

REALobject AppendTimeField(REALobject instance, RBInteger hours, RBInteger minutes, RBInteger seconds) {
    if (!Field_IsValidTime(hours, minutes, seconds)) {
        ThrowOutOfBoundsException("Time is out of bounds", 1);
        return nullptr;
    }
    return AppendField(instance, Field_TimeInstruction(), Field_TimeText(int(hours), int(minutes), int(seconds)));
}

REALobject AppendHyperlinkField(REALobject instance, REALstring text, REALstring url) {
    std::string display, address;
    if (!StringToUTF8(text, display) || !StringToUTF8(url, address)) return nullptr;
    return AppendField(instance, Field_HyperlinkInstruction(address), display);
}

// The date as the host writes it: short date, no time.
std::string DateDisplayText(REALobject date) {
    typedef REALstring (*ToStringProc)(REALobject self, RBInteger dateStyle, RBInteger timeStyle);
    const RBInteger kShortStyle = 0, kNoStyle = 4;
    auto toString = reinterpret_cast<ToStringProc>(REALLoadObjectMethod(
        date, "ToString(dateStyle as DateTime.FormatStyles, timeStyle as DateTime.FormatStyles) as String"));
    std::string text;
    if (!toString) return text;
    REALstring s = toString(date, kShortStyle, kNoStyle);
    StringToUTF8(s, text);
    if (s) REALUnlockString(s);
    return text;
}

REALobject AppendDateField(REALobject instance, REALobject value) {
    if (!value) {
        ThrowInvalidArgumentException("value parameter may not be nil", 1);
        return nullptr;
    }
    return AppendField(instance, kDateFieldInstruction, DateDisplayText(value));
}

RBInteger GetAlignment(REALobject instance, intptr_t) { return RBInteger(PPRGetAlignment(NodeOf(instance))); }
void SetAlignment(REALobject instance, intptr_t, RBInteger value) {
    PPRSetAlignment(NodeOf(instance), ClampToInt32(value), RPROwner::Paragraph);
}

REALobject GetStyle(REALobject instance, intptr_t) {
    const DocumentItemData* data = DataOf(instance);
    return StyleReference_View(data->document, data->node.child("w:pPr").child("w:pStyle"), "paragraph",
                               &ParagraphStyleClass,
                               "Paragraph has style but no matching style exists in the document");
}

void SetStyle(REALobject instance, intptr_t, REALobject value) {
    StyleReference_Set(NodeOf(instance), "w:pPr", "w:pStyle", value);
}

// For-each over the runs or items the paragraph has now.
REALobject Runs(REALobject instance) {
    return Iterator_New(&RunIteratorClass, instance, GetRunCount(instance, 0), Run);
}
REALobject LogicalRuns(REALobject instance) {
    return Iterator_New(&RunIteratorClass, instance, GetLogicalRunCount(instance, 0), LogicalRun);
}
REALobject ParagraphItems(REALobject instance) {
    return Iterator_New(&ParagraphItemIteratorClass, instance, GetParagraphItemCount(instance, 0), ParagraphItem);
}
REALobject LogicalParagraphItems(REALobject instance) {
    return Iterator_New(&ParagraphItemIteratorClass, instance, GetLogicalParagraphItemCount(instance, 0),
                        LogicalParagraphItem);
}

REALproperty ParagraphProperties[] = {
    VEX_READONLY_PROPERTY("RunCount", "Integer", GetRunCount),
    VEX_READONLY_PROPERTY("LogicalRunCount", "Integer", GetLogicalRunCount),
    VEX_READONLY_PROPERTY("Text", "String", GetText),
    VEX_READONLY_PROPERTY("IsPageBreak", "Boolean", GetIsPageBreak),
    VEX_PROPERTY("Alignment", "VexlomarWord.Alignments", GetAlignment, SetAlignment),
    VEX_READONLY_PROPERTY("ListIndentLevel", "Integer", GetListIndentLevel),
    VEX_READONLY_PROPERTY("ListIndent", "VexlomarWord.ListIndent", GetListIndent),
    VEX_READONLY_PROPERTY("ParagraphItemCount", "Integer", GetParagraphItemCount),
    VEX_READONLY_PROPERTY("LogicalParagraphItemCount", "Integer", GetLogicalParagraphItemCount),
    VEX_READONLY_PROPERTY("Section", "VexlomarWord.Section", GetSection),
    VEX_READONLY_PROPERTY("LanguageCode", "String", GetLanguageCode),
    VEX_PROPERTY("Style", "VexlomarWord.ParagraphStyle", GetStyle, SetStyle),
};

REALmethodDefinition ParagraphMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(Run, "Run(index as Integer) as VexlomarWord.Run"),
    VEX_METHOD(LogicalRun, "LogicalRun(index as Integer) as VexlomarWord.Run"),
    VEX_METHOD(AppendRun, "AppendRun(value as String) as VexlomarWord.Run"),
    VEX_METHOD(AppendRunWithPicture,
               "AppendRun(value as String, mediaType as VexlomarWord.PictureTypes, originalFileName as String, "
               "width as Integer, height as Integer) as VexlomarWord.Run"),
    VEX_METHOD(ParagraphMembers::ApplyFieldData, "ApplyFieldData(fieldName as String, data as String)"),
    VEX_METHOD(RemoveParagraphItem, "RemoveParagraphItem(item as VexlomarWord.ParagraphItem)"),
    VEX_METHOD(SetListIndent, "SetListIndent(value as VexlomarWord.ListIndent, level as Integer)"),
    VEX_METHOD(ParagraphItem, "ParagraphItem(index as Integer) as VexlomarWord.ParagraphItem"),
    VEX_METHOD(LogicalParagraphItem, "LogicalParagraphItem(index as Integer) as VexlomarWord.ParagraphItem"),
    VEX_METHOD(AppendHyperlink, "AppendHyperlink(value as String, address as String) as VexlomarWord.Hyperlink"),
    VEX_METHOD(AddBookmarkAround, "AddBookmarkAround(paragraphItem as VexlomarWord.ParagraphItem, name as String) "
                                  "as VexlomarWord.Bookmark"),
    VEX_METHOD(AddBookmarkAroundItems,
               "AddBookmarkAround(firstParagraphItem as VexlomarWord.ParagraphItem, lastParagraphItem as "
               "VexlomarWord.ParagraphItem, name as String) as VexlomarWord.Bookmark"),
    VEX_ASSIGNABLE_METHOD(LeftIndent, SetLeftIndent, "LeftIndent(unit as VexlomarWord.Units) as Double"),
    VEX_ASSIGNABLE_METHOD(RightIndent, SetRightIndent, "RightIndent(unit as VexlomarWord.Units) as Double"),
    VEX_ASSIGNABLE_METHOD(FirstLineIndent, SetFirstLineIndent,
                          "FirstLineIndent(unit as VexlomarWord.Units) as Double"),
    VEX_METHOD(AppendShape, "AppendShape(shapeType as VexlomarWord.ShapeTypes, x as Double, y as Double, cx as "
                            "Double, cy as Double, unit as VexlomarWord.EmuUnits) as VexlomarWord.Shape"),
    VEX_METHOD(AppendShapeRun, "AppendShapeRun(shapeType as VexlomarWord.ShapeTypes, x as Double, y as Double, cx "
                               "as Double, cy as Double, unit as VexlomarWord.EmuUnits) as VexlomarWord.Run"),
    VEX_METHOD(AppendShapeGroup, "AppendShapeGroup(shapeType as VexlomarWord.ShapeTypes, x as Double, y as Double, "
                                 "cx as Double, cy as Double, unit as VexlomarWord.EmuUnits) as "
                                 "VexlomarWord.ShapeGroup"),
    VEX_METHOD(AppendShapeGroupRun, "AppendShapeGroupRun(shapeType as VexlomarWord.ShapeTypes, x as Double, y as "
                                    "Double, cx as Double, cy as Double, unit as VexlomarWord.EmuUnits) as "
                                    "VexlomarWord.Run"),
    VEX_METHOD(SetLanguageCode, "SetLanguageCode(code as String, setOnRuns as Boolean)"),
    VEX_METHOD(AppendTimeField,
               "AppendTimeField(hours as Integer, minutes as Integer, seconds as Integer) as VexlomarWord.Run"),
    VEX_METHOD(AppendHyperlinkField, "AppendHyperlinkField(text as String, url as String) as VexlomarWord.Run"),
    VEX_METHOD(Runs, "Runs() as VexlomarWord.RunIterator"),
    VEX_METHOD(LogicalRuns, "LogicalRuns() as VexlomarWord.RunIterator"),
    VEX_METHOD(ParagraphItems, "ParagraphItems() as VexlomarWord.ParagraphItemIterator"),
    VEX_METHOD(LogicalParagraphItems, "LogicalParagraphItems() as VexlomarWord.ParagraphItemIterator"),
    VEX_METHOD(AppendDateField, "AppendDateField(value as DateTime) as VexlomarWord.Run"),
};

}  // namespace

REALclassDefinition ParagraphClass = ClassDefinition(
    "Paragraph", "VexlomarWord.DocumentItem", 0, ParagraphInitializer, ParagraphDestructor,
    ParagraphProperties, VEX_COUNT(ParagraphProperties), ParagraphMethods, VEX_COUNT(ParagraphMethods));
