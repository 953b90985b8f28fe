// The Document members that list and create styles, and the document
// defaults. Registered in the Document class's tables.
#pragma once

#include "host/plugin_sdk.h"

REALarray CharacterStyles(REALobject document);
REALarray ParagraphStyles(REALobject document);
REALarray TableStyles(REALobject document, RBBoolean ensureBaseStyleExists);
REALobject AddNewCharacterStyle(REALobject document, REALstring id, REALstring name, REALobject basedOn);
REALobject AddNewParagraphStyle(REALobject document, REALstring id, REALstring name, REALobject basedOn);
REALobject AddNewTabletyle(REALobject document, REALstring id, REALstring name, REALobject basedOn);

// Read-only property DocumentDefaults.
REALobject GetDocumentDefaults(REALobject document, intptr_t);
