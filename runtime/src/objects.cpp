// Host objects: one block per instance, a header followed by one part per
// class of its chain (root first). Memory starts zeroed; initializers run
// from the root class down, destructors from the leaf up when the last
// reference goes.
#include <cstdlib>
#include <cstring>
#include <new>

#include "entries.h"

namespace vexrt {

namespace {

// Freed objects are kept a while before their memory is reused, so that a
// stale handle stays unknown instead of naming a newer object.
constexpr size_t kObjectQuarantine = 256;
constexpr size_t kSpareObjects = 64;

// Initializers from the root class down.
void RunInitializers(ClassRec* cls, REALobject o) {
    if (!cls) return;
    RunInitializers(cls->super, o);
    if (cls->def->initializer) cls->def->initializer(o);
}

}  // namespace

ObjectRec* Runtime::Impl::newInstance(ClassRec& cls) {
    if (!resolveChain(cls)) return nullptr;
    void* memory = nullptr;
    auto spare = spareObjects.find(cls.instanceSize);
    if (spare != spareObjects.end() && !spare->second.empty()) {
        memory = spare->second.back();
        spare->second.pop_back();
        --spareObjectCount;
        std::memset(memory, 0, cls.instanceSize);
    } else {
        memory = std::calloc(1, cls.instanceSize);
    }
    if (!memory) throw std::bad_alloc();
    auto* o = new (memory) ObjectRec{&cls, 1, false};
    objects.insert(o);

    RunInitializers(&cls, detail::Handle(o));
    return o;
}

ObjectRec* Runtime::Impl::liveObject(REALobject o, const char* where) {
    ObjectRec* rec = detail::Record(o);
    if (objects.contains(rec)) return rec;
    fault(std::string(where) + ": " + (o ? "dangling object handle" : "nil object"));
    return nullptr;
}

void Runtime::Impl::lockObject(REALobject o, const char* where) {
    if (!o || tearingDown) return;
    if (ObjectRec* rec = liveObject(o, where)) ++rec->refCount;
}

void Runtime::Impl::unlockObject(REALobject o, const char* where) {
    if (!o || tearingDown) return;
    ObjectRec* rec = liveObject(o, where);
    if (!rec) return;
    if (rec->refCount <= 0) {
        // Only possible while its destructors run.
        fault(std::string(where) + ": a " + rec->cls->info.fullName +
              " is released more often than it was locked");
        return;
    }
    if (--rec->refCount > 0 || rec->dying) return;

    rec->dying = true;
    for (ClassRec* c = rec->cls; c; c = c->super)
        if (c->def->destructor) c->def->destructor(o);
    if (rec->refCount != 0)
        fault("a " + rec->cls->info.fullName + " was locked by its own destructor and is "
              "destroyed all the same");
    objects.erase(rec);
    deadObjects.push_back(rec);
    if (deadObjects.size() > kObjectQuarantine) {
        ObjectRec* old = deadObjects.front();
        deadObjects.pop_front();
        if (spareObjectCount < kSpareObjects) {
            spareObjects[old->cls->instanceSize].push_back(old);
            ++spareObjectCount;
        } else {
            std::free(old);
        }
    }
}

void Runtime::Impl::release(ObjectRec* o) {
    if (o) unlockObject(detail::Handle(o), "the runtime");
}

bool Runtime::Impl::isA(const ObjectRec& o, const ClassRec& cls) const {
    for (const ClassRec* c = o.cls; c; c = c->super)
        if (c == &cls) return true;
    return false;
}

void* Runtime::Impl::part(ObjectRec& o, const ClassRec& cls) const {
    return reinterpret_cast<char*>(&o) + cls.partOffset;
}

namespace detail {

void Entry_LockObject(REALobject o) {
    if (Impl* rt = Impl::active()) rt->lockObject(o, "REALLockObject");
}

void Entry_UnlockObject(REALobject o) {
    if (Impl* rt = Impl::active()) rt->unlockObject(o, "REALUnlockObject");
}

REALobject Entry_NewInstanceOfClass(REALclassDefinition* def) {
    Impl* rt = Impl::active();
    if (!rt) return nullptr;
    ClassRec* cls = rt->classOfDef(def, "PluginNewInstanceOfClass");
    return cls ? Handle(rt->newInstance(*cls)) : nullptr;
}

REALobject Entry_CreateInstance(REALclassRef ref) {
    Impl* rt = Impl::active();
    if (!rt) return nullptr;
    ClassRec* cls = rt->classOfRef(ref, "CreateInstance");
    return cls ? Handle(rt->newInstance(*cls)) : nullptr;
}

REALclassRef Entry_ObjectType(const char* fullName) {
    Impl* rt = Impl::active();
    if (!rt || !fullName) return nullptr;
    ClassRec* cls = rt->findClass(fullName);
    // A class whose chain is broken cannot be made; the host does not know it.
    if (!cls || !rt->resolveChain(*cls)) return nullptr;
    return reinterpret_cast<REALclassRef>(cls);
}

}  // namespace detail

}  // namespace vexrt
