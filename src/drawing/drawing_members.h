// The host class Drawing (the view of one inline drawing), the Run member
// that gives it, and the Paragraph and Container members that add pictures.
#pragma once

#include <pugixml.hpp>

#include "drawing/drawing_container.h"
#include "host/bridge.h"
#include "host/plugin_sdk.h"

// Instance record of a Drawing (host memory starts zeroed).
struct DrawingData {
    REALobject document;          // counted
    DrawingContainer* container;  // owned; made by the initializer
};

extern REALclassDefinition DrawingClass;

inline DrawingData* DrawingData_Of(REALobject drawing) {
    return static_cast<DrawingData*>(REALGetClassData(drawing, &DrawingClass));
}

// A Drawing view over a run and its "w:drawing"; counts the document.
REALobject CreateDrawing(REALobject document, pugi::xml_node run, pugi::xml_node drawing);

// Run.Drawing: the run's drawing, nil when it has none.
REALobject GetDrawing(REALobject run, intptr_t);

// Paragraph.AppendRun and Container.AppendParagraph with a picture.
REALobject AppendRunWithPicture(REALobject paragraph, REALstring value, RBInteger mediaType,
                                REALstring originalFileName, RBInteger width, RBInteger height);
REALobject AppendParagraphWithPicture(REALobject container, REALstring value, RBInteger mediaType,
                                      REALstring originalFileName, RBInteger width, RBInteger height);
