// The host classes ShapeBase (position and size of an anchored shape or
// group) and Shape (its appearance and text box).
#include <cmath>

#include "document/document_data.h"
#include "drawing/drawing_colors.h"
#include "drawing/shape_adjustments.h"
#include "drawing/shape_base.h"
#include "drawing/shape_fill.h"
#include "drawing/shape_geometry.h"
#include "drawing/shape_line.h"
#include "drawing/shape_position.h"
#include "drawing/shape_text_box.h"
#include "drawing/shape_wrap.h"
#include "host/class_tables.h"
#include "host/exceptions.h"

namespace {

ShapeBaseData* DataOf(REALobject instance) { return ShapeBaseData_Of(instance); }
pugi::xml_node AnchorOf(REALobject instance) { return DataOf(instance)->anchor; }
pugi::xml_node WspOf(REALobject instance) { return DataOf(instance)->wsp; }
const Word::Document& WordDocumentOf(REALobject instance) {
    return *DocumentData_Of(DataOf(instance)->document)->wordDocument;
}

void ShapeBaseDestructor(REALobject instance) {
    ShapeBaseData* data = DataOf(instance);
    if (data->document) REALUnlockObject(data->document);
    data->document = nullptr;
}

// ---------------------------------------------------------------- ShapeBase

double Offset(REALobject instance, AnchorAxis axis, RBInteger unit) {
    return ShapeEmu_ToValue(Anchor_GetOffset(AnchorOf(instance), axis), EmuUnits_Of(unit));
}
double Size(REALobject instance, AnchorAxis axis, RBInteger unit) {
    return ShapeEmu_ToValue(Anchor_GetSize(AnchorOf(instance), axis), EmuUnits_Of(unit));
}
void SetSize(REALobject instance, AnchorAxis axis, RBInteger unit, double value) {
    // No file can hold a NaN or infinite size: it changes nothing.
    if (!std::isfinite(value)) return;
    const int32_t emu = ShapeEmu_FromValue(value, EmuUnits_Of(unit));
    if (emu < 0) {
        ThrowWordException("Shape size cannot be negative", -40);
        return;
    }
    Anchor_SetSize(AnchorOf(instance), axis, emu);
}

double X(REALobject instance, RBInteger unit) { return Offset(instance, AnchorAxis::Horizontal, unit); }
// A NaN or infinite offset changes nothing, as for sizes.
void SetOffset(REALobject instance, AnchorAxis axis, RBInteger unit, double value) {
    if (std::isfinite(value)) Anchor_SetOffset(AnchorOf(instance), axis, ShapeEmu_FromValue(value, EmuUnits_Of(unit)));
}

void SetX(REALobject instance, RBInteger unit, double value) {
    SetOffset(instance, AnchorAxis::Horizontal, unit, value);
}
double Y(REALobject instance, RBInteger unit) { return Offset(instance, AnchorAxis::Vertical, unit); }
void SetY(REALobject instance, RBInteger unit, double value) {
    SetOffset(instance, AnchorAxis::Vertical, unit, value);
}
double Width(REALobject instance, RBInteger unit) { return Size(instance, AnchorAxis::Horizontal, unit); }
void SetWidth(REALobject instance, RBInteger unit, double value) {
    SetSize(instance, AnchorAxis::Horizontal, unit, value);
}
double Height(REALobject instance, RBInteger unit) { return Size(instance, AnchorAxis::Vertical, unit); }
void SetHeight(REALobject instance, RBInteger unit, double value) {
    SetSize(instance, AnchorAxis::Vertical, unit, value);
}

REALmethodDefinition ShapeBaseMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_ASSIGNABLE_METHOD(X, SetX, "X(unit as VexlomarWord.EmuUnits) as Double"),
    VEX_ASSIGNABLE_METHOD(Y, SetY, "Y(unit as VexlomarWord.EmuUnits) as Double"),
    VEX_ASSIGNABLE_METHOD(Width, SetWidth, "Width(unit as VexlomarWord.EmuUnits) as Double"),
    VEX_ASSIGNABLE_METHOD(Height, SetHeight, "Height(unit as VexlomarWord.EmuUnits) as Double"),
};

// ---------------------------------------------------------------- Shape

RBInteger GetType(REALobject instance, intptr_t) { return Shape_GetType(WspOf(instance)); }
RBBoolean GetHasHandleAdjustment1(REALobject instance, intptr_t) {
    return Shape_HasHandleAdjustment(WspOf(instance), 1);
}
RBBoolean GetHasHandleAdjustment2(REALobject instance, intptr_t) {
    return Shape_HasHandleAdjustment(WspOf(instance), 2);
}
RBInteger GetHandleAdjustment1(REALobject instance, intptr_t) {
    return Shape_GetHandleAdjustment(WspOf(instance), 1);
}
void SetHandleAdjustment1(REALobject instance, intptr_t, RBInteger value) {
    Shape_SetHandleAdjustment(WspOf(instance), 1, value);
}
RBInteger GetHandleAdjustment2(REALobject instance, intptr_t) {
    return Shape_GetHandleAdjustment(WspOf(instance), 2);
}
void SetHandleAdjustment2(REALobject instance, intptr_t, RBInteger value) {
    Shape_SetHandleAdjustment(WspOf(instance), 2, value);
}
RBColor GetSolidFillColor(REALobject instance, intptr_t) {
    return Shape_GetSolidFillColor(WordDocumentOf(instance), WspOf(instance));
}
void SetSolidFillColor(REALobject instance, intptr_t, RBColor value) {
    Shape_SetSolidFillColor(WspOf(instance), value);
}
RBColor GetLineColor(REALobject instance, intptr_t) {
    return Shape_GetLineColor(WordDocumentOf(instance), WspOf(instance));
}
void SetLineColor(REALobject instance, intptr_t, RBColor value) { Shape_SetLineColor(WspOf(instance), value); }
RBBoolean GetNoFill(REALobject instance, intptr_t) { return Shape_GetNoFill(WspOf(instance)); }
void SetNoFill(REALobject instance, intptr_t, RBBoolean value) { Shape_SetNoFill(WspOf(instance), value); }
RBBoolean GetNoLine(REALobject instance, intptr_t) { return Shape_GetNoLine(WspOf(instance)); }
void SetNoLine(REALobject instance, intptr_t, RBBoolean value) { Shape_SetNoLine(WspOf(instance), value); }
double GetLineWidth(REALobject instance, intptr_t) { return Shape_GetLineWidth(WspOf(instance)); }
void SetLineWidth(REALobject instance, intptr_t, double value) { Shape_SetLineWidth(WspOf(instance), value); }
RBInteger GetVerticalAlignment(REALobject instance, intptr_t) {
    return Shape_GetVerticalAlignment(WspOf(instance));
}
void SetVerticalAlignment(REALobject instance, intptr_t, RBInteger value) {
    Shape_SetVerticalAlignment(WspOf(instance), value);
}
double GetRotation(REALobject instance, intptr_t) { return Shape_GetRotation(WspOf(instance)); }
void SetRotation(REALobject instance, intptr_t, double value) { Shape_SetRotation(WspOf(instance), value); }
RBInteger GetFillType(REALobject instance, intptr_t) { return Shape_GetFillType(WspOf(instance)); }
RBInteger GetLineHeadEnd(REALobject instance, intptr_t) { return Shape_GetLineEnd(WspOf(instance), true); }
void SetLineHeadEnd(REALobject instance, intptr_t, RBInteger value) {
    Shape_SetLineEnd(WspOf(instance), true, value);
}
RBInteger GetLineTailEnd(REALobject instance, intptr_t) { return Shape_GetLineEnd(WspOf(instance), false); }
void SetLineTailEnd(REALobject instance, intptr_t, RBInteger value) {
    Shape_SetLineEnd(WspOf(instance), false, value);
}
RBInteger GetTextWrap(REALobject instance, intptr_t) { return Anchor_GetTextWrap(AnchorOf(instance)); }
void SetTextWrap(REALobject instance, intptr_t, RBInteger value) { Anchor_SetTextWrap(AnchorOf(instance), value); }
RBInteger GetLineCompundType(REALobject instance, intptr_t) { return Shape_GetLineCompound(WspOf(instance)); }
void SetLineCompundType(REALobject instance, intptr_t, RBInteger value) {
    Shape_SetLineCompound(WspOf(instance), value);
}

REALobject Container(REALobject instance, RBBoolean create) {
    pugi::xml_node content = Shape_TextBoxContent(WspOf(instance), create);
    if (!content) return nullptr;
    return CreateShapeContainer(DataOf(instance)->document, content, DefaultTextColorResolver, instance);
}

REALproperty ShapeProperties[] = {
    VEX_READONLY_PROPERTY("Type", "VexlomarWord.ShapeTypes", GetType),
    VEX_READONLY_PROPERTY("HasHandleAdjustment1", "Boolean", GetHasHandleAdjustment1),
    VEX_READONLY_PROPERTY("HasHandleAdjustment2", "Boolean", GetHasHandleAdjustment2),
    VEX_PROPERTY("HandleAdjustment1", "Integer", GetHandleAdjustment1, SetHandleAdjustment1),
    VEX_PROPERTY("HandleAdjustment2", "Integer", GetHandleAdjustment2, SetHandleAdjustment2),
    VEX_PROPERTY("SolidFillColor", "Color", GetSolidFillColor, SetSolidFillColor),
    VEX_PROPERTY("LineColor", "Color", GetLineColor, SetLineColor),
    VEX_PROPERTY("NoFill", "Boolean", GetNoFill, SetNoFill),
    VEX_PROPERTY("NoLine", "Boolean", GetNoLine, SetNoLine),
    VEX_PROPERTY("LineWidth", "Double", GetLineWidth, SetLineWidth),
    VEX_PROPERTY("VerticalAlignment", "VexlomarWord.ShapeVerticalAlignments", GetVerticalAlignment,
                 SetVerticalAlignment),
    VEX_PROPERTY("Rotation", "Double", GetRotation, SetRotation),
    VEX_READONLY_PROPERTY("FillType", "VexlomarWord.FillTypes", GetFillType),
    VEX_PROPERTY("LineHeadEnd", "VexlomarWord.LineEndTypes", GetLineHeadEnd, SetLineHeadEnd),
    VEX_PROPERTY("LineTailEnd", "VexlomarWord.LineEndTypes", GetLineTailEnd, SetLineTailEnd),
    VEX_PROPERTY("TextWrap", "VexlomarWord.ShapeTextWrap", GetTextWrap, SetTextWrap),
    VEX_PROPERTY("LineCompundType", "VexlomarWord.LineCompoundTypes", GetLineCompundType, SetLineCompundType),
};

REALmethodDefinition ShapeMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(Container, "Container(create as Boolean) as VexlomarWord.ShapeContainer"),
};

}  // namespace

REALclassDefinition ShapeBaseClass =
    ClassDefinition("ShapeBase", "", sizeof(ShapeBaseData), nullptr, ShapeBaseDestructor, nullptr, 0,
                    ShapeBaseMethods, VEX_COUNT(ShapeBaseMethods));

REALclassDefinition ShapeClass = ClassDefinition("Shape", "VexlomarWord.ShapeBase", 0, nullptr, nullptr,
                                                 ShapeProperties, VEX_COUNT(ShapeProperties), ShapeMethods,
                                                 VEX_COUNT(ShapeMethods));

namespace {

REALobject NewShapeView(REALclassDefinition* cls, REALobject document, pugi::xml_node alternateContent,
                        pugi::xml_node anchor, pugi::xml_node wsp) {
    REALobject view = REALnewInstanceOfClass(cls);
    if (!view) return nullptr;
    ShapeBaseData* data = ShapeBaseData_Of(view);
    REALLockObject(document);
    data->document = document;
    data->alternateContent = alternateContent;
    data->anchor = anchor;
    data->wsp = wsp;
    return view;
}

}  // namespace

REALobject CreateShape(REALobject document, pugi::xml_node alternateContent, pugi::xml_node anchor,
                       pugi::xml_node wsp) {
    return NewShapeView(&ShapeClass, document, alternateContent, anchor, wsp);
}

REALobject CreateShapeGroup(REALobject document, pugi::xml_node alternateContent, pugi::xml_node anchor) {
    return NewShapeView(&ShapeGroupClass, document, alternateContent, anchor, pugi::xml_node());
}

bool CheckInsertShape(int64_t type, double x, double y, double cx, double cy, int32_t cxEmu, int32_t cyEmu) {
    if (!ShapeType_IsValid(type)) {
        ThrowInvalidArgumentException("Invalid value for shapoe type", 1);
        return false;
    }
    const double values[] = {x, y, cx, cy};
    static const char* const kMessages[] = {
        "Parameter x must be a finite number", "Parameter y must be a finite number",
        "Parameter cx must be a finite number", "Parameter cy must be a finite number"};
    for (int i = 0; i < 4; ++i)
        if (!std::isfinite(values[i])) {
            ThrowInvalidArgumentException(kMessages[i], i + 2);
            return false;
        }
    if (cxEmu < 0 || cyEmu < 0) {
        ThrowWordException("Shape size cannot be negative", -40);
        return false;
    }
    return true;
}

RBColor DefaultTextColorResolver(REALobject owner) {
    ShapeBaseData* data = ShapeBaseData_Of(owner);
    return GetColorFromStyle(*DocumentData_Of(data->document)->wordDocument, data->wsp, "a:fontRef");
}
