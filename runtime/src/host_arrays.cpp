// Host arrays of objects: counted host objects whose items are counted
// references (nil allowed).
#include <iterator>
#include <new>

#include "entries.h"
#include "host_classes.h"

namespace vexrt::detail {

namespace {

ArrayPart* Part(REALarray self, const char* where) {
    Impl* rt = Impl::active();
    return rt ? rt->hostPart<ArrayPart>(reinterpret_cast<REALobject>(self), kObjectArray, where)
              : nullptr;
}

void Initialize(REALobject self) { new (HostClass_Part<ArrayPart>(self, ObjectArrayClass)) ArrayPart(); }

void Destroy(REALobject self) {
    ArrayPart* part = HostClass_Part<ArrayPart>(self, ObjectArrayClass);
    if (Impl* rt = Impl::active())
        for (REALobject item : part->items) rt->unlockObject(item, "a released array");
    part->~ArrayPart();
}

RBInteger GetCount(REALobject self, intptr_t) {
    const ArrayPart* p = Part(reinterpret_cast<REALarray>(self), "Object().Count");
    return p ? RBInteger(p->items.size()) : 0;
}

REALproperty Properties[] = {
    {nullptr, "Count", "Integer", REALmemberFlagPublic, HostClass_Function(GetCount), nullptr, 0},
};

}  // namespace

REALclassDefinition ObjectArrayClass =
    HostClass_Define(kObjectArray, "", sizeof(ArrayPart), Initialize, Destroy, Properties,
                     std::size(Properties), nullptr, 0);

REALarray Entry_CreateArray(int elementType, RBInteger upperBound) {
    Impl* rt = Impl::active();
    if (!rt) return nullptr;
    constexpr const char* kWhere = "RuntimeArrayCreateSingleDimBoundedArray";
    if (elementType != kREALArrayTypeObject) {
        rt->fault(std::string(kWhere) + ": element type " + std::to_string(elementType) +
                  " is not supported by this host; only objects");
        return nullptr;
    }
    if (upperBound < -1) {
        rt->fault(std::string(kWhere) + ": upper bound " + std::to_string(upperBound));
        return nullptr;
    }
    ClassRec* cls = rt->hostClass(kObjectArray);
    ObjectRec* array = cls ? rt->newInstance(*cls) : nullptr;
    if (!array) return nullptr;
    static_cast<ArrayPart*>(rt->part(*array, *cls))->items.assign(size_t(upperBound + 1), nullptr);
    return reinterpret_cast<REALarray>(array);
}

void Entry_ObjectArrayInsert(REALarray a, RBInteger index, REALobject value) {
    constexpr const char* kWhere = "PluginObjectArrayInsertProc";
    ArrayPart* p = Part(a, kWhere);
    if (!p) return;
    Impl& rt = *Impl::active();
    if (value && !rt.liveObject(value, kWhere)) return;
    if (index < 0 || index > RBInteger(p->items.size())) {
        // As the host does for an index out of range.
        rt.raiseNew(kOutOfBoundsException,
                    "Index " + std::to_string(index) + " is out of bounds (0 to " +
                        std::to_string(p->items.size()) + ")",
                    0);
        return;
    }
    rt.lockObject(value, kWhere);
    p->items.insert(p->items.begin() + index, value);
}

}  // namespace vexrt::detail
