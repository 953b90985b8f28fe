// The five iterator classes. They differ only in name and in what their
// factories bind; each has its own record part, so their members are made
// once per class.
#include "content/iterators.h"

#include "host/bridge.h"
#include "host/class_tables.h"

namespace {

// The protocol methods are hidden: the host's for-each calls them, host
// programs do not.
#define VEX_HIDDEN_METHOD(function, declaration) \
    { VEX_ENTRY(function), nullptr, declaration, REALmemberFlagPublic | REALmemberFlagHidden }

template <REALclassDefinition* Class>
struct IteratorMembers {
    static IteratorData* DataOf(REALobject instance) {
        return static_cast<IteratorData*>(REALGetClassData(instance, Class));
    }

    static void Destructor(REALobject instance) {
        IteratorData* data = DataOf(instance);
        if (data->owner) REALUnlockObject(data->owner);
        data->owner = nullptr;
    }

    // Stays on the last item once the end is reached.
    static RBBoolean MoveNext(REALobject instance) {
        IteratorData* data = DataOf(instance);
        if (data->current >= data->count - 1) return false;
        ++data->current;
        return true;
    }

    // Nil before the first step and wherever the owner no longer has an
    // item at that index (items removed during the walk).
    static REALobject Value(REALobject instance) {
        const IteratorData* data = DataOf(instance);
        if (!data->owner || !data->accessor) return nullptr;
        return data->accessor(data->owner, data->current);
    }

    // An iterator is its own iterable.
    static REALobject Iterator(REALobject instance) {
        REALLockObject(instance);
        return instance;
    }

    static REALmethodDefinition methods[4];
};

template <REALclassDefinition* Class>
REALmethodDefinition IteratorMembers<Class>::methods[4] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_HIDDEN_METHOD(MoveNext, "MoveNext() as Boolean"),
    VEX_HIDDEN_METHOD(Value, "Value() as Variant"),
    VEX_HIDDEN_METHOD(Iterator, "Iterator() as Iterator"),
};

template <REALclassDefinition* Class>
REALclassDefinition IteratorClassDefinition(const char* name) {
    using M = IteratorMembers<Class>;
    REALclassDefinition def = ClassDefinition(name, "", sizeof(IteratorData), nullptr, M::Destructor, nullptr,
                                              0, M::methods, VEX_COUNT(M::methods));
    def.interfaces = "Iterator, Iterable";
    return def;
}

}  // namespace

REALclassDefinition ParagraphIteratorClass = IteratorClassDefinition<&ParagraphIteratorClass>("ParagraphIterator");
REALclassDefinition TableIteratorClass = IteratorClassDefinition<&TableIteratorClass>("TableIterator");
REALclassDefinition RunIteratorClass = IteratorClassDefinition<&RunIteratorClass>("RunIterator");
REALclassDefinition ParagraphItemIteratorClass =
    IteratorClassDefinition<&ParagraphItemIteratorClass>("ParagraphItemIterator");
REALclassDefinition DocumentItemIteratorClass =
    IteratorClassDefinition<&DocumentItemIteratorClass>("DocumentItemIterator");

REALobject Iterator_New(REALclassDefinition* cls, REALobject owner, int64_t count, IteratorAccessor accessor) {
    REALobject iterator = REALnewInstanceOfClass(cls);
    if (!iterator) return nullptr;
    IteratorData* data = static_cast<IteratorData*>(REALGetClassData(iterator, cls));
    REALLockObject(owner);
    data->owner = owner;
    data->count = count;
    data->current = -1;
    data->accessor = accessor;
    return iterator;
}
