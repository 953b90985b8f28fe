// The host class ShapeContainer: a shape's text box as a container. The
// Container members do all the work; runs without a colour of their own
// report the shape's text colour through the resolver it carries.
#include "content/container.h"
#include "drawing/shape_base.h"
#include "host/class_tables.h"

namespace {

// The Container destructor releases the record; nothing of its own.
void ShapeContainerInitializer(REALobject) {}
void ShapeContainerDestructor(REALobject) {}

REALmethodDefinition ShapeContainerMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

}  // namespace

REALclassDefinition ShapeContainerClass =
    ClassDefinition("ShapeContainer", "VexlomarWord.Container", 0, ShapeContainerInitializer,
                    ShapeContainerDestructor, nullptr, 0, ShapeContainerMethods, VEX_COUNT(ShapeContainerMethods));

REALobject CreateShapeContainer(REALobject document, pugi::xml_node node, TextColorResolver resolver,
                                REALobject resolverOwner) {
    if (!node) return nullptr;
    REALobject view = REALnewInstanceOfClass(&ShapeContainerClass);
    if (!view) return nullptr;
    Container_Init(view, document, node, resolver, resolverOwner);
    return view;
}
