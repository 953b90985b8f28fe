#include "module_declarations.h"

namespace {

DeclaredProperty RO(const char* name, const char* type) { return {name, type, true}; }
DeclaredProperty RW(const char* name, const char* type) { return {name, type, false}; }
DeclaredMethod M(const char* declaration) { return {declaration, false, false}; }
DeclaredMethod Assignable(const char* declaration) { return {declaration, true, false}; }
DeclaredMethod Hidden(const char* declaration) { return {declaration, false, true}; }
const DeclaredMethod kConstructor = Hidden("Constructor()");

const char* const kApplyFieldData = "ApplyFieldData(fieldName as String, data as String)";
const char* const kShapeArguments =
    "(shapeType as VexlomarWord.ShapeTypes, x as Double, y as Double, cx as Double, cy as Double, unit as "
    "VexlomarWord.EmuUnits)";
const char* const kPictureArguments =
    "(value as String, mediaType as VexlomarWord.PictureTypes, originalFileName as String, width as Integer, "
    "height as Integer)";

std::string With(const char* name, const char* arguments, const char* result) {
    return std::string(name) + arguments + result;
}

// The run formatting a run and a style part share.
std::vector<DeclaredProperty> StylePartProperties() {
    return {RW("Bold", "VexlomarWord.BooleanAttribute"),
            RW("Italic", "VexlomarWord.BooleanAttribute"),
            RW("TextColor", "Color"),
            RO("HasTextColor", "Boolean"),
            RW("FontName", "String"),
            RW("FontSize", "Integer"),
            RW("HighlightColor", "VexlomarWord.HighlightColors"),
            RW("Strikethrough", "VexlomarWord.StrikeThroughValues"),
            RO("UnderlineColor", "Color"),
            RO("HasUnderlineColor", "Boolean"),
            RW("Underline", "VexlomarWord.UnderlineStyles"),
            RW("VerticalAlignment", "VexlomarWord.VerticalAlignments"),
            RW("Caps", "VexlomarWord.TextCaps"),
            RW("Spacing", "Integer")};
}

DeclaredClass IteratorClass(const char* name) {
    return {name,
            {},
            {kConstructor, Hidden("MoveNext() as Boolean"), Hidden("Value() as Variant"),
             Hidden("Iterator() as Iterator")},
            {},
            {}};
}

std::vector<DeclaredClass> MakeClasses() {
    const DeclaredMethod border = M("Border(type as VexlomarWord.BorderParts) as VexlomarWord.TableBorder");
    return {
        {"Document",
         {RW("Creator", "String"), RW("LastModifiedBy", "String"), RW("Title", "String"), RW("Subject", "String"),
          RW("Description", "String"), RW("KeyWords", "String"), RW("Revision", "Integer"),
          RO("DefaultSection", "VexlomarWord.Section"), RO("DocumentDefaults", "VexlomarWord.StylePart"),
          RW("CreatedDate", "DateTime"), RW("ModifiedDate", "DateTime")},
         {kConstructor, M("Save()"), M("SaveAs(f as FolderItem)"), M(kApplyFieldData), M("AppendPageBreak()"),
          M("AppendSectionBreak(breakType as VexlomarWord.SectionBreakTypes)"),
          M("Header(headerType as VexlomarWord.HeaderFooterTypes, createIfNotExists as Boolean) as "
            "VexlomarWord.Header"),
          M("Footer(footerType as VexlomarWord.HeaderFooterTypes, createIfNotExists as Boolean) as "
            "VexlomarWord.Footer"),
          M("CreateListIndent(bullets as Boolean) as VexlomarWord.ListIndent"),
          M("GetBookmarks() as VexlomarWord.Bookmark()"), M("RemoveBookmark(bookmark as VexlomarWord.Bookmark)"),
          M("CharacterStyles() as VexlomarWord.CharacterStyle()"),
          M("ParagraphStyles() as VexlomarWord.ParagraphStyle()"),
          M("TableStyles(ensureBaseStyleExists as Boolean) as VexlomarWord.TableStyle()"),
          M("AddNewCharacterStyle(id as String, name as String, basedOn as VexlomarWord.CharacterStyle) as "
            "VexlomarWord.CharacterStyle"),
          M("AddNewParagraphStyle(id as String, name as String, basedOn as VexlomarWord.ParagraphStyle) as "
            "VexlomarWord.ParagraphStyle"),
          M("AddNewTabletyle(id as String, name as String, basedOn as VexlomarWord.TableStyle) as "
            "VexlomarWord.TableStyle")},
         {"Open(f as FolderItem) as VexlomarWord.Document", "Create(f as FolderItem) as VexlomarWord.Document"},
         {}},
        {"DocumentItem",
         {},
         {kConstructor, M("InsertParagraphBefore(value as String) as VexlomarWord.Paragraph"),
          M("InsertParagraphAfter(value as String) as VexlomarWord.Paragraph"), M("InserPageBreakBefore()"),
          M("InserPageBreakAfter()"), M(kApplyFieldData),
          M("InsertSectionBreakBefore(breakType as VexlomarWord.SectionBreakTypes)"),
          M("InsertSectionBreakAfter(breakType as VexlomarWord.SectionBreakTypes)")},
         {},
         {}},
        {"WordException", {}, {kConstructor}, {}, {}},
        {"Paragraph",
         {RO("RunCount", "Integer"), RO("LogicalRunCount", "Integer"), RO("Text", "String"),
          RO("IsPageBreak", "Boolean"), RW("Alignment", "VexlomarWord.Alignments"), RO("ListIndentLevel", "Integer"),
          RO("ListIndent", "VexlomarWord.ListIndent"), RO("ParagraphItemCount", "Integer"),
          RO("LogicalParagraphItemCount", "Integer"), RO("Section", "VexlomarWord.Section"),
          RO("LanguageCode", "String"), RW("Style", "VexlomarWord.ParagraphStyle")},
         {kConstructor, M("Run(index as Integer) as VexlomarWord.Run"),
          M("LogicalRun(index as Integer) as VexlomarWord.Run"), M("AppendRun(value as String) as VexlomarWord.Run"),
          M(With("AppendRun", kPictureArguments, " as VexlomarWord.Run").c_str()), M(kApplyFieldData),
          M("RemoveParagraphItem(item as VexlomarWord.ParagraphItem)"),
          M("SetListIndent(value as VexlomarWord.ListIndent, level as Integer)"),
          M("ParagraphItem(index as Integer) as VexlomarWord.ParagraphItem"),
          M("LogicalParagraphItem(index as Integer) as VexlomarWord.ParagraphItem"),
          M("AppendHyperlink(value as String, address as String) as VexlomarWord.Hyperlink"),
          M("AddBookmarkAround(paragraphItem as VexlomarWord.ParagraphItem, name as String) as "
            "VexlomarWord.Bookmark"),
          M("AddBookmarkAround(firstParagraphItem as VexlomarWord.ParagraphItem, lastParagraphItem as "
            "VexlomarWord.ParagraphItem, name as String) as VexlomarWord.Bookmark"),
          Assignable("LeftIndent(unit as VexlomarWord.Units) as Double"),
          Assignable("RightIndent(unit as VexlomarWord.Units) as Double"),
          Assignable("FirstLineIndent(unit as VexlomarWord.Units) as Double"),
          M(With("AppendShape", kShapeArguments, " as VexlomarWord.Shape").c_str()),
          M(With("AppendShapeRun", kShapeArguments, " as VexlomarWord.Run").c_str()),
          M(With("AppendShapeGroup", kShapeArguments, " as VexlomarWord.ShapeGroup").c_str()),
          M(With("AppendShapeGroupRun", kShapeArguments, " as VexlomarWord.Run").c_str()),
          M("SetLanguageCode(code as String, setOnRuns as Boolean)"),
          M("AppendTimeField(hours as Integer, minutes as Integer, seconds as Integer) as VexlomarWord.Run"),
          M("AppendHyperlinkField(text as String, url as String) as VexlomarWord.Run"),
          M("Runs() as VexlomarWord.RunIterator"), M("LogicalRuns() as VexlomarWord.RunIterator"),
          M("ParagraphItems() as VexlomarWord.ParagraphItemIterator"),
          M("LogicalParagraphItems() as VexlomarWord.ParagraphItemIterator"),
          M("AppendDateField(value as DateTime) as VexlomarWord.Run")},
         {},
         {}},
        {"ParagraphItem", {RO("OwnerParagraph", "VexlomarWord.Paragraph")}, {kConstructor}, {}, {}},
        {"Run",
         {RO("IsPartOfComplexRun", "Boolean"), RW("Text", "String"), RO("IsPageBreak", "Boolean"),
          RO("IsDrawing", "Boolean"), RO("IsShape", "Boolean"), RO("Drawing", "VexlomarWord.Drawing"),
          RO("Shape", "VexlomarWord.Shape"), RO("ShapeGroup", "VexlomarWord.ShapeGroup"), RW("FontName", "String"),
          RW("FontSize", "Integer"), RW("Bold", "VexlomarWord.BooleanAttribute"),
          RW("Italic", "VexlomarWord.BooleanAttribute"), RW("TextColor", "Color"), RO("HasTextColor", "Boolean"),
          RO("UnderlineColor", "Color"), RO("HasUnderlineColor", "Boolean"),
          RW("Underline", "VexlomarWord.UnderlineStyles"), RW("Strikethrough", "VexlomarWord.StrikeThroughValues"),
          RW("HighlightColor", "VexlomarWord.HighlightColors"),
          RW("VerticalAlignment", "VexlomarWord.VerticalAlignments"), RO("TabSegmentCount", "Integer"),
          RW("LanguageCode", "String"), RO("InstrText", "String"), RO("FieldSeparator", "VexlomarWord.FieldSeparators"),
          RO("FieldSeparatorLock", "Boolean"), RO("ComplexRunPartCount", "Integer"),
          RO("ComplexRunFieldType", "VexlomarWord.ComplexRunFieldTypes"), RO("ComplexRunFieldData", "String"),
          RW("Style", "VexlomarWord.CharacterStyle"), RW("Caps", "VexlomarWord.TextCaps"), RW("Spacing", "Integer")},
         {kConstructor, M(kApplyFieldData), M("ClearTextColor()"),
          M("SetUnderlineWithColor(underlineStyle as VexlomarWord.UnderlineStyles, colorValue as Color)"),
          M("ClearUnderlineColor()"), Assignable("TabSegmentText(index as Integer) as String"),
          M("ComplexRunPart(index as Integer) as VexlomarWord.Run")},
         {},
         {}},
        {"Table",
         {RO("RowCount", "Integer"), RO("ColumnCount", "Integer"), RO("WidthMode", "VexlomarWord.TableWidthModes"),
          RW("AltTextTitle", "String"), RW("AltTextDescription", "String"), RW("BackgroundColor", "Color"),
          RO("HasBackgroundColor", "Boolean"), RW("Style", "VexlomarWord.TableStyle"),
          RW("ConditionalFormattingFlags", "Integer")},
         {kConstructor, M(kApplyFieldData), M("Row(index as Integer) as VexlomarWord.TableRow"),
          M("Cell(column as Integer, row as Integer) as VexlomarWord.TableCell"),
          M("AppendRow() as VexlomarWord.TableRow"), M("RemoveRow(row as VexlomarWord.TableRow)"),
          M("ColumnWidth(index as Integer, unit as VexlomarWord.Units) as Double"),
          M("ColumnWidth(index as Integer, unit as VexlomarWord.Units, assigns value as Double)"),
          M("SetTableWidth(mode as VexlomarWord.TableWidthModes, unit as VexlomarWord.Units, value as Double)"),
          M("TableWidth(unit as VexlomarWord.Units) as Double"), M("ClearBackgroundColor()"), border},
         {},
         {"ConditionalFormatApplyFirstRow=32", "ConditionalFormatApplyLastRow=64",
          "ConditionalFormatApplyFirstColumn=128", "ConditionalFormatApplyLastColumn=256",
          "ConditionalFormatDontApplyRowBanding=512", "ConditionalFormatDontApplyColumnBanding=1024"}},
        {"TableRow",
         {RO("ColumnCount", "Integer"), RW("RepeatAsHeaderRow", "Boolean")},
         {kConstructor, M("Cell(index as Integer) as VexlomarWord.TableCell")},
         {},
         {}},
        {"TableBorder",
         {RO("Exists", "Boolean"), RO("Style", "VexlomarWord.BorderStyle"), RO("Size", "UInt8"), RO("Space", "UInt8"),
          RO("ColorValue", "Color"), RO("ColorIsAuto", "Boolean")},
         {kConstructor, M("SetBorderStyle(style as VexlomarWord.BorderStyle, size as UInt8, space as UInt8)"),
          M("SetBorderStyle(style as VexlomarWord.BorderStyle, size as UInt8, space as UInt8, colorValue as "
            "Color)"),
          M("Remove()")},
         {},
         {}},
        {"TableCell",
         {RW("BackgroundColor", "Color"), RO("HasBackgroundColor", "Boolean"),
          RW("VerticalAlignment", "VexlomarWord.TableCellVerticalAlignments")},
         {kConstructor, M("ClearBackgroundColor()"), border},
         {},
         {}},
        {"Drawing",
         {RO("IsPicture", "Boolean"), RO("PictureType", "VexlomarWord.PictureTypes"),
          RO("HasSVGRepresentation", "Boolean"), RO("PictureFileName", "String"), RO("PictureData", "String"),
          RO("SVGRepresentationFileName", "String"), RO("SVGRepresentationData", "String"),
          RW("AltTextDescription", "String")},
         {kConstructor},
         {},
         {}},
        {"Header", {}, {kConstructor}, {}, {}},
        {"Footer", {}, {kConstructor}, {}, {}},
        {"Container",
         {RO("ItemCount", "Integer"), RO("ParagraphCount", "Integer"), RO("TableCount", "Integer")},
         {kConstructor, M("AppendParagraph(value as String) as VexlomarWord.Paragraph"),
          M(With("AppendParagraph", kPictureArguments, " as VexlomarWord.Paragraph").c_str()),
          M("Item(index as Integer) as VexlomarWord.DocumentItem"),
          M("Paragraph(index as Integer) as VexlomarWord.Paragraph"),
          M("Table(index as Integer) as VexlomarWord.Table"), M(kApplyFieldData),
          M("RemoveItem(item as VexlomarWord.DocumentItem)"),
          M("AppendTable(columnCount as Integer, rowCount as Integer) as VexlomarWord.Table"),
          M("Items() as VexlomarWord.DocumentItemIterator"), M("Paragraphs() as VexlomarWord.ParagraphIterator"),
          M("Tables() as VexlomarWord.TableIterator")},
         {},
         {}},
        {"Section",
         {RW("PageIsLandscape", "Boolean"), RW("SectionType", "VexlomarWord.SectionBreakTypes")},
         {kConstructor, M("PageWidth(unit as VexlomarWord.Units) as Double"),
          M("PageHeight(unit as VexlomarWord.Units) as Double"),
          M("SetPageSize(width as Double, height as Double, unit as VexlomarWord.Units, printerPadpercode as "
            "VexlomarWord.PrinterPaperCodes)"),
          M("SetPageSize(printerPadpercode as VexlomarWord.PrinterPaperCodes)"),
          Assignable("PageMarginTop(unit as VexlomarWord.Units) as Double"),
          Assignable("PageMarginRight(unit as VexlomarWord.Units) as Double"),
          Assignable("PageMarginBottom(unit as VexlomarWord.Units) as Double"),
          Assignable("PageMarginLeft(unit as VexlomarWord.Units) as Double")},
         {},
         {}},
        {"ListIndent",
         {RO("IsAbstract", "Boolean"), RO("Type", "VexlomarWord.NumberingType"), RO("Level", "Integer")},
         {kConstructor},
         {},
         {}},
        {"Hyperlink",
         {RO("RunCount", "Integer"), RW("Address", "String"), RW("Tooltip", "String"), RW("LinkToAnchor", "Boolean")},
         {kConstructor, M("Run(index as Integer) as VexlomarWord.Run"), M("RemoveRun(r as VexlomarWord.Run)"),
          M("AppendRun(value as String) as VexlomarWord.Run"), M("Runs() as VexlomarWord.RunIterator")},
         {},
         {}},
        {"Bookmark", {RW("Name", "String")}, {kConstructor}, {}, {}},
        {"ShapeBase",
         {},
         {kConstructor, Assignable("X(unit as VexlomarWord.EmuUnits) as Double"),
          Assignable("Y(unit as VexlomarWord.EmuUnits) as Double"),
          Assignable("Width(unit as VexlomarWord.EmuUnits) as Double"),
          Assignable("Height(unit as VexlomarWord.EmuUnits) as Double")},
         {},
         {}},
        {"Shape",
         {RO("Type", "VexlomarWord.ShapeTypes"), RO("HasHandleAdjustment1", "Boolean"),
          RO("HasHandleAdjustment2", "Boolean"), RW("HandleAdjustment1", "Integer"), RW("HandleAdjustment2", "Integer"),
          RW("SolidFillColor", "Color"), RW("LineColor", "Color"), RW("NoFill", "Boolean"), RW("NoLine", "Boolean"),
          RW("LineWidth", "Double"), RW("VerticalAlignment", "VexlomarWord.ShapeVerticalAlignments"),
          RW("Rotation", "Double"), RO("FillType", "VexlomarWord.FillTypes"),
          RW("LineHeadEnd", "VexlomarWord.LineEndTypes"), RW("LineTailEnd", "VexlomarWord.LineEndTypes"),
          RW("TextWrap", "VexlomarWord.ShapeTextWrap"), RW("LineCompundType", "VexlomarWord.LineCompoundTypes")},
         {kConstructor, M("Container(create as Boolean) as VexlomarWord.ShapeContainer")},
         {},
         {}},
        {"ShapeGroup",
         {RO("LastShapeIndex", "Integer")},
         {kConstructor, M(With("AppendShape", kShapeArguments, " as VexlomarWord.Shape").c_str()),
          M("Shape(index as Integer) as VexlomarWord.Shape")},
         {},
         {}},
        {"ShapeContainer", {}, {kConstructor}, {}, {}},
        {"StylePart",
         StylePartProperties(),
         {kConstructor,
          M("SetUnderlineWithColor(underlineStyle as VexlomarWord.UnderlineStyles, colorValue as Color)"),
          M("ClearUnderlineColor()"), M("ClearTextColor()")},
         {},
         {}},
        {"TableStylePart",
         {RW("BackgroundColor", "Color"), RO("HasBackgroundColor", "Boolean"),
          RW("CellVerticalAlignment", "VexlomarWord.TableCellVerticalAlignments")},
         {kConstructor, M("ClearBackgroundColor()"), border},
         {},
         {}},
        {"Style", {RO("Id", "String"), RO("IsDefault", "Boolean"), RW("Name", "String")}, {kConstructor}, {}, {}},
        {"CharacterStyle", {RO("ParentStyle", "VexlomarWord.CharacterStyle")}, {kConstructor}, {}, {}},
        {"ParagraphStyle",
         {RO("ParentStyle", "VexlomarWord.ParagraphStyle"), RW("Alignment", "VexlomarWord.Alignments")},
         {kConstructor},
         {},
         {}},
        {"TableStyle",
         {RO("ParentStyle", "VexlomarWord.TableStyle"), RW("RowBandSize", "Integer"), RW("ColumnBandSize", "Integer")},
         {kConstructor,
          M("TablePart(partType as VexlomarWord.StylePartType, create as Boolean) as VexlomarWord.TableStylePart")},
         {},
         {}},
        IteratorClass("ParagraphIterator"),
        IteratorClass("TableIterator"),
        IteratorClass("RunIterator"),
        IteratorClass("ParagraphItemIterator"),
        IteratorClass("DocumentItemIterator"),
    };
}

}  // namespace

const std::vector<DeclaredClass>& Module_DeclaredClasses() {
    static const std::vector<DeclaredClass> classes = MakeClasses();
    return classes;
}

const DeclaredClass* Module_DeclaredClass(const std::string& name) {
    for (const DeclaredClass& c : Module_DeclaredClasses())
        if (c.name == name) return &c;
    return nullptr;
}
