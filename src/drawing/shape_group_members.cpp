// The host class ShapeGroup: an anchored group of preset shapes, its
// members added, counted and returned as Shape views.
#include "document/document_data.h"
#include "drawing/shape_base.h"
#include "drawing/shape_groups.h"
#include "drawing/shape_position.h"
#include "host/class_tables.h"
#include "host/exceptions.h"

namespace {

ShapeBaseData* DataOf(REALobject instance) { return ShapeBaseData_Of(instance); }

RBInteger GetLastShapeIndex(REALobject instance, intptr_t) { return Group_MemberCount(DataOf(instance)->anchor) - 1; }

// Members act on the group's anchor for position, size and wrap.
REALobject MemberView(REALobject instance, pugi::xml_node member) {
    ShapeBaseData* data = DataOf(instance);
    return CreateShape(data->document, data->alternateContent, data->anchor, member);
}

REALobject AppendShape(REALobject instance, RBInteger shapeType, double x, double y, double cx, double cy,
                       RBInteger unit) {
    const EmuUnits units = EmuUnits_Of(unit);
    const int32_t cxEmu = ShapeEmu_FromValue(cx, units), cyEmu = ShapeEmu_FromValue(cy, units);
    if (!CheckInsertShape(shapeType, x, y, cx, cy, cxEmu, cyEmu)) return nullptr;
    // A group of a package without a theme: the member's colours come from it.
    DocumentData_Of(DataOf(instance)->document)->wordDocument->EnsureTheme();
    pugi::xml_node member = Group_AppendMember(DataOf(instance)->anchor, shapeType, ShapeEmu_FromValue(x, units),
                                               ShapeEmu_FromValue(y, units), cxEmu, cyEmu);
    return member ? MemberView(instance, member) : nullptr;
}

REALobject Shape(REALobject instance, RBInteger index) {
    pugi::xml_node member = Group_Member(DataOf(instance)->anchor, index);
    if (!member) {
        ThrowOutOfBoundsException("Parameter index is out of bounds", 1);
        return nullptr;
    }
    return MemberView(instance, member);
}

REALproperty ShapeGroupProperties[] = {
    VEX_READONLY_PROPERTY("LastShapeIndex", "Integer", GetLastShapeIndex),
};

REALmethodDefinition ShapeGroupMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(AppendShape, "AppendShape(shapeType as VexlomarWord.ShapeTypes, x as Double, y as Double, cx as "
                            "Double, cy as Double, unit as VexlomarWord.EmuUnits) as VexlomarWord.Shape"),
    VEX_METHOD(Shape, "Shape(index as Integer) as VexlomarWord.Shape"),
};

}  // namespace

REALclassDefinition ShapeGroupClass =
    ClassDefinition("ShapeGroup", "VexlomarWord.ShapeBase", 0, nullptr, nullptr, ShapeGroupProperties,
                    VEX_COUNT(ShapeGroupProperties), ShapeGroupMethods, VEX_COUNT(ShapeGroupMethods));
