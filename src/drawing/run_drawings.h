// Every drawing of one run. Some writers put all the drawings anchored in
// a paragraph into one run; Run.Drawing, Run.Shape and Run.ShapeGroup give
// the first, these members each of them. Registered in the Run class table.
#pragma once

#include "host/plugin_sdk.h"

// Run.DrawingCount and Run.DrawingAt(index): the run's w:drawing children
// (inline pictures and other drawings), in order; an index out of range
// raises OutOfBoundsException.
RBInteger Run_GetDrawingCount(REALobject run, intptr_t);
REALobject Run_DrawingAt(REALobject run, RBInteger index);

// Run.ShapeCount: the run's anchored shapes and groups, in order, whether
// written as alternate content (the first mc:Choice holding a w:drawing)
// or as a w:drawing of their own. Run.ShapeAt(index) and
// Run.ShapeGroupAt(index): the index-th of them as a Shape (ShapeGroup),
// nil when it is of the other kind; an index out of range raises
// OutOfBoundsException.
RBInteger Run_GetShapeCount(REALobject run, intptr_t);
REALobject Run_ShapeAt(REALobject run, RBInteger index);
REALobject Run_ShapeGroupAt(REALobject run, RBInteger index);
