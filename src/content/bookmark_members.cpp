// The host class Bookmark: its name.
#include <string>

#include "content/bookmark_view.h"
#include "format/xml_helpers.h"
#include "host/class_tables.h"
#include "host/exceptions.h"
#include "host/strings.h"

REALobject CreateBookmark(REALobject document, const BookmarkNodes& nodes) {
    REALobject bookmark = REALnewInstanceOfClass(&BookmarkClass);
    if (!bookmark) return nullptr;
    BookmarkData* data = BookmarkData_Of(bookmark);
    REALLockObject(document);
    data->document = document;
    data->parentNode = nodes.parent;
    data->startNode = nodes.start;
    data->endNode = nodes.end;
    return bookmark;
}

namespace {

void BookmarkDestructor(REALobject instance) {
    BookmarkData* data = BookmarkData_Of(instance);
    if (data->document) REALUnlockObject(data->document);
    data->document = nullptr;
}

REALstring GetName(REALobject instance, intptr_t) {
    return UTF8ToString(BookmarkData_Of(instance)->startNode.attribute("w:name").value());
}

// A bookmark must have a name: nil writes the empty one.
void SetName(REALobject instance, intptr_t, REALstring value) {
    std::string name;
    if (!StringToUTF8(value, name)) return;
    if (!Bookmark_CheckValidName(name)) {
        ThrowInvalidArgumentException("Value contains character which is not allowed for bookmark.", -511);
        return;
    }
    pugi::xml_node start = BookmarkData_Of(instance)->startNode;
    if (start) WriteAttribute(start, "w:name", name);
}

REALproperty BookmarkProperties[] = {
    VEX_PROPERTY("Name", "String", GetName, SetName),
};

REALmethodDefinition BookmarkMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

}  // namespace

REALclassDefinition BookmarkClass =
    ClassDefinition("Bookmark", "", sizeof(BookmarkData), nullptr, BookmarkDestructor, BookmarkProperties,
                    VEX_COUNT(BookmarkProperties), BookmarkMethods, VEX_COUNT(BookmarkMethods));
