// The members of Paragraph that anchor shapes and groups in it, and those
// of Run that give them back. Registered in the tables of their classes.
#pragma once

#include "host/plugin_sdk.h"

REALobject AppendShape(REALobject paragraph, RBInteger shapeType, double x, double y, double cx, double cy,
                       RBInteger unit);
REALobject AppendShapeRun(REALobject paragraph, RBInteger shapeType, double x, double y, double cx, double cy,
                          RBInteger unit);
REALobject AppendShapeGroup(REALobject paragraph, RBInteger shapeType, double x, double y, double cx, double cy,
                            RBInteger unit);
REALobject AppendShapeGroupRun(REALobject paragraph, RBInteger shapeType, double x, double y, double cx,
                               double cy, RBInteger unit);

// Run.Shape and Run.ShapeGroup: the anchored shape (group) the run holds;
// nil for anything else.
REALobject GetShape(REALobject run, intptr_t);
REALobject GetShapeGroup(REALobject run, intptr_t);
