// The Section members: start type, page size and orientation, margins.
#include "format/sections.h"

#include "format/section_properties.h"
#include "format/units.h"
#include "host/class_tables.h"
#include "host/exceptions.h"

REALobject CreateSection(REALobject document, pugi::xml_node sectPr) {
    REALobject section = REALnewInstanceOfClass(&SectionClass);
    if (!section) return nullptr;
    SectionData* data = SectionData_Of(section);
    REALLockObject(document);
    data->document = document;
    data->node = sectPr;
    return section;
}

namespace {

// A page no printer has: a side of no length, or a margin outside the page.
constexpr const char* kInvalidGeometryMessage = "Invalid page size or margin";
constexpr RBInteger kInvalidGeometryNumber = -19;

void SectionDestructor(REALobject instance) {
    SectionData* data = SectionData_Of(instance);
    if (data->document) REALUnlockObject(data->document);
    data->document = nullptr;
}

pugi::xml_node NodeOf(REALobject instance) { return SectionData_Of(instance)->node; }

RBBoolean GetPageIsLandscape(REALobject instance, intptr_t) { return Section_IsLandscape(NodeOf(instance)); }
void SetPageIsLandscape(REALobject instance, intptr_t, RBBoolean value) {
    Section_SetLandscape(NodeOf(instance), value);
}

RBInteger GetSectionType(REALobject instance, intptr_t) { return Section_GetType(NodeOf(instance)); }
void SetSectionType(REALobject instance, intptr_t, RBInteger value) { Section_SetType(NodeOf(instance), value); }

double PageWidth(REALobject instance, RBInteger unit) {
    return ValueToUnit(Section_GetPageWidth(NodeOf(instance)), Units_Of(unit));
}
double PageHeight(REALobject instance, RBInteger unit) {
    return ValueToUnit(Section_GetPageHeight(NodeOf(instance)), Units_Of(unit));
}

void SetPageSize(REALobject instance, double width, double height, RBInteger unit, RBInteger paperCode) {
    const Units units = Units_Of(unit);
    if (!Section_SetPageSize(NodeOf(instance), UnitToValue(width, units), UnitToValue(height, units), paperCode))
        ThrowWordException(kInvalidGeometryMessage, kInvalidGeometryNumber);
}

// The overload of SetPageSize with a paper code only: the table's size.
void SetPageSizeByPaperCode(REALobject instance, RBInteger paperCode) {
    const PaperSize size = PaperSize_Of(paperCode);
    Section_SetPageSize(NodeOf(instance), size.width, size.height, paperCode);
}

double GetMargin(REALobject instance, PageMargin margin, RBInteger unit) {
    return ValueToUnit(Section_GetMargin(NodeOf(instance), margin), Units_Of(unit));
}
void SetMargin(REALobject instance, PageMargin margin, RBInteger unit, double value) {
    if (!Section_SetMargin(NodeOf(instance), margin, UnitToValue(value, Units_Of(unit))))
        ThrowWordException(kInvalidGeometryMessage, kInvalidGeometryNumber);
}

#define MARGIN_MEMBERS(Name, margin)                                                          \
    double PageMargin##Name(REALobject instance, RBInteger unit) {                            \
        return GetMargin(instance, margin, unit);                                             \
    }                                                                                         \
    void SetPageMargin##Name(REALobject instance, RBInteger unit, double value) {             \
        SetMargin(instance, margin, unit, value);                                             \
    }

MARGIN_MEMBERS(Top, PageMargin::Top)
MARGIN_MEMBERS(Right, PageMargin::Right)
MARGIN_MEMBERS(Bottom, PageMargin::Bottom)
MARGIN_MEMBERS(Left, PageMargin::Left)

REALproperty SectionProperties[] = {
    VEX_PROPERTY("PageIsLandscape", "Boolean", GetPageIsLandscape, SetPageIsLandscape),
    VEX_PROPERTY("SectionType", "VexlomarWord.SectionBreakTypes", GetSectionType, SetSectionType),
};

REALmethodDefinition SectionMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(PageWidth, "PageWidth(unit as VexlomarWord.Units) as Double"),
    VEX_METHOD(PageHeight, "PageHeight(unit as VexlomarWord.Units) as Double"),
    VEX_METHOD(SetPageSize,
               "SetPageSize(width as Double, height as Double, unit as VexlomarWord.Units, printerPadpercode as "
               "VexlomarWord.PrinterPaperCodes)"),
    VEX_METHOD(SetPageSizeByPaperCode, "SetPageSize(printerPadpercode as VexlomarWord.PrinterPaperCodes)"),
    VEX_ASSIGNABLE_METHOD(PageMarginTop, SetPageMarginTop, "PageMarginTop(unit as VexlomarWord.Units) as Double"),
    VEX_ASSIGNABLE_METHOD(PageMarginRight, SetPageMarginRight,
                          "PageMarginRight(unit as VexlomarWord.Units) as Double"),
    VEX_ASSIGNABLE_METHOD(PageMarginBottom, SetPageMarginBottom,
                          "PageMarginBottom(unit as VexlomarWord.Units) as Double"),
    VEX_ASSIGNABLE_METHOD(PageMarginLeft, SetPageMarginLeft, "PageMarginLeft(unit as VexlomarWord.Units) as Double"),
};

}  // namespace

REALclassDefinition SectionClass =
    ClassDefinition("Section", "", sizeof(SectionData), nullptr, SectionDestructor, SectionProperties,
                    VEX_COUNT(SectionProperties), SectionMethods, VEX_COUNT(SectionMethods));
