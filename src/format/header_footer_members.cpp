// The host classes Header and Footer: containers over the root element of a
// header or footer part. The Container members do all the work.
#include "content/container.h"
#include "format/header_footer_members.h"
#include "host/class_tables.h"

namespace {

// The Container destructor releases the record; nothing of their own.
void HeaderFooterInitializer(REALobject) {}
void HeaderFooterDestructor(REALobject) {}

REALobject NewHeaderFooter(REALclassDefinition* cls, REALobject document, pugi::xml_node root) {
    if (!root) return nullptr;
    REALobject view = REALnewInstanceOfClass(cls);
    if (!view) return nullptr;
    Container_Init(view, document, root, nullptr, nullptr);
    return view;
}

REALmethodDefinition HeaderMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

REALmethodDefinition FooterMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

}  // namespace

REALclassDefinition HeaderClass =
    ClassDefinition("Header", "VexlomarWord.Container", 0, HeaderFooterInitializer, HeaderFooterDestructor,
                    nullptr, 0, HeaderMethods, VEX_COUNT(HeaderMethods));

REALclassDefinition FooterClass =
    ClassDefinition("Footer", "VexlomarWord.Container", 0, HeaderFooterInitializer, HeaderFooterDestructor,
                    nullptr, 0, FooterMethods, VEX_COUNT(FooterMethods));

REALobject CreateHeader(REALobject document, pugi::xml_node root) {
    return NewHeaderFooter(&HeaderClass, document, root);
}

REALobject CreateFooter(REALobject document, pugi::xml_node root) {
    return NewHeaderFooter(&FooterClass, document, root);
}
