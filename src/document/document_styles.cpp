#include "document/document_styles.h"

#include <string>

#include "format/style_part.h"
#include "format/styles.h"
#include "host/bridge.h"
#include "host/exceptions.h"
#include "host/strings.h"
#include "document/document_data.h"

namespace {

pugi::xml_node StylesOf(REALobject document) {
    return Styles_Element(DocumentData_Of(document)->wordDocument->stylesXml);
}

// The styles element, made first when the package has no styles part.
pugi::xml_node EnsureStylesOf(REALobject document) {
    DocumentData_Of(document)->wordDocument->EnsureStyles();
    return StylesOf(document);
}

// A host array of views of class `cls`, one per style of `type`.
REALarray ListStyles(REALobject document, const char* type, REALclassDefinition* cls) {
    REALarray list = REALCreateArray(kREALArrayTypeObject, -1);
    if (!list) return nullptr;
    RBInteger index = 0;
    for (pugi::xml_node node : Styles_OfType(StylesOf(document), type)) {
        REALobject style = CreateStyle(document, node, cls);
        if (!style) continue;
        REALInsertArrayValueObject(list, index++, style);
        REALUnlockObject(style);
    }
    return list;
}

// Creates a style of `type` viewed through `cls`; basedOn, when given, is
// a style view whose id the new style refers to.
REALobject AddNewStyle(REALobject document, REALstring id, REALstring name, REALobject basedOn, const char* type,
                       REALclassDefinition* cls) {
    std::string idText, nameText;
    if (id && name && (!StringToUTF8(id, idText) || !StringToUTF8(name, nameText))) return nullptr;
    // An empty id or name is refused as a nil one is: a style without id
    // cannot be referred to, one without name cannot be picked by users.
    if (idText.empty() || nameText.empty()) {
        ThrowInvalidArgumentException("id and name parameters cannot be empty.", 3);
        return nullptr;
    }
    const pugi::xml_node styles = EnsureStylesOf(document);
    const std::string basedOnId =
        basedOn ? Style_GetId(StylePartData_Of(basedOn)->node) : GetDefaultStyleId(styles, type);
    const NewStyleResult created = Styles_AddNewStyle(styles, type, idText, nameText, basedOnId);
    switch (created.status) {
        case NewStyleStatus::DuplicateId:
            ThrowWordException("Style id already exists in the document", 5);
            return nullptr;
        case NewStyleStatus::NoStylesElement: return nullptr;
        case NewStyleStatus::Created: break;
    }
    return CreateStyle(document, created.style, cls);
}

}  // namespace

REALarray CharacterStyles(REALobject document) { return ListStyles(document, "character", &CharacterStyleClass); }

REALarray ParagraphStyles(REALobject document) { return ListStyles(document, "paragraph", &ParagraphStyleClass); }

REALarray TableStyles(REALobject document, RBBoolean ensureBaseStyleExists) {
    if (ensureBaseStyleExists) Styles_EnsureTableGrid(EnsureStylesOf(document));
    return ListStyles(document, "table", &TableStyleClass);
}

REALobject AddNewCharacterStyle(REALobject document, REALstring id, REALstring name, REALobject basedOn) {
    return AddNewStyle(document, id, name, basedOn, "character", &CharacterStyleClass);
}

REALobject AddNewParagraphStyle(REALobject document, REALstring id, REALstring name, REALobject basedOn) {
    return AddNewStyle(document, id, name, basedOn, "paragraph", &ParagraphStyleClass);
}

REALobject AddNewTabletyle(REALobject document, REALstring id, REALstring name, REALobject basedOn) {
    // The built-in table styles come first, as TableStyles(true) adds them;
    // they stay even when the call then fails.
    Styles_EnsureTableGrid(EnsureStylesOf(document));
    return AddNewStyle(document, id, name, basedOn, "table", &TableStyleClass);
}

REALobject GetDocumentDefaults(REALobject document, intptr_t) {
    return CreateStylePart(document, StylesOf(document).child("w:docDefaults").child("w:rPrDefault"));
}
