// One host process: its lifetime, which runtime the plug-in's entry points
// reach, values made from C++, and the accounting of live strings and
// objects.
#include <algorithm>
#include <cstdlib>

#include "calendar.h"
#include "entries.h"
#include "host_classes.h"

namespace vexrt {

using detail::Usage;

namespace {

// The runtime plug-in code reaches, and every runtime alive. Plain pointers,
// so they outlive any runtime kept in a static.
Impl* gActive = nullptr;

std::vector<Impl*>& Alive() {
    static auto* alive = new std::vector<Impl*>();
    return *alive;
}

}  // namespace

// ------------------------------------------------------------ lifetime

Runtime::Impl::Impl(Runtime& o, HostOptions opts) : owner(o), options(std::move(opts)) {
    Alive().push_back(this);
    gActive = this;
    registerHostClasses();
}

Runtime::Impl::~Impl() {
    {
        detail::Activation active(*this);
        // Plug-in code is not called any more: what is still alive is freed
        // as it is. Only the host's own parts are taken down, for their
        // memory; references stop counting.
        tearingDown = true;
        pending = nullptr;
        for (ObjectRec* o : objects) {
            for (ClassRec* c = o->cls; c; c = c->super)
                if (c->host && c->def->destructor) c->def->destructor(detail::Handle(o));
            std::free(o);
        }
        for (ObjectRec* o : deadObjects) std::free(o);
        for (auto& [size, blocks] : spareObjects)
            for (void* block : blocks) std::free(block);
        for (StringRec* s : strings) delete s;
        for (const void* data : openStringData) std::free(const_cast<void*>(data));
        objects.clear();
        strings.clear();
        openStringData.clear();
        // Last: the plug-in's own static destructors may still call in.
        closeLibraries();
    }

    auto& alive = Alive();
    alive.erase(std::remove(alive.begin(), alive.end(), this), alive.end());
    if (gActive == this) gActive = alive.empty() ? nullptr : alive.back();
}

Impl* Impl::active() { return gActive; }

bool Impl::isAlive(const Runtime* rt) {
    for (Impl* impl : Alive())
        if (&impl->owner == rt) return true;
    return false;
}

void Runtime::Impl::fault(std::string message) { faults.push_back(std::move(message)); }

namespace detail {

Activation::Activation(Impl& rt) : saved_(gActive) { gActive = &rt; }

Activation::~Activation() { gActive = saved_; }

void Usage(const std::string& message) { throw UsageError(message); }

}  // namespace detail

Runtime::Runtime(HostOptions options)
    : options_(options), impl_(std::make_unique<Impl>(*this, std::move(options))) {}

Runtime::~Runtime() = default;

Runtime& Runtime::current() {
    Impl* rt = Impl::active();
    if (!rt) Usage("no runtime is alive");
    return rt->owner;
}

// ------------------------------------------------------------ registration

const ModuleInfo* Runtime::module() const { return impl_->module.get(); }

const std::vector<ClassInfo>& Runtime::looseClasses() const {
    Impl& rt = *impl_;
    detail::Activation active(rt);
    rt.looseInfos.clear();
    for (const auto& cls : rt.classes) {
        if (cls->host || !cls->module.empty()) continue;
        rt.resolveChain(*cls);  // laid out once all of them are there
        rt.looseInfos.push_back(cls->info);
    }
    return rt.looseInfos;
}

int Runtime::registeredPluginVersion() const { return impl_->pluginVersion; }

int Runtime::resolveCount(const std::string& entryName) const {
    auto found = impl_->resolveCounts.find(entryName);
    return found == impl_->resolveCounts.end() ? 0 : found->second;
}

// ------------------------------------------------------------ values

String Runtime::makeString(std::string_view bytes, uint32_t encoding) {
    detail::Activation active(*impl_);
    return String(impl_->newString(bytes, encoding), true);
}

Object Runtime::makeFolderItem(const std::string& nativePath) {
    detail::Activation active(*impl_);
    ObjectRec* f = detail::FolderItem_New(*impl_, nativePath);
    if (!f) Usage("makeFolderItem: this host has no FolderItem class");
    return Object(detail::Handle(f), true);
}

Object Runtime::makeDateTime(int64_t year, int64_t month, int64_t day, int64_t hour,
                             int64_t minute, int64_t second, std::optional<int64_t> offsetSeconds) {
    Value zone = offsetSeconds ? Value(makeTimeZone(*offsetSeconds)) : Value();
    return newInstance(detail::kDateTime, {year, month, day, hour, minute, second, 0, zone});
}

Object Runtime::makeTimeZone(int64_t offsetSeconds) {
    return newInstance(detail::kTimeZone, {offsetSeconds});
}

int64_t Runtime::localOffsetSeconds(int64_t unixTime) const {
    return detail::Calendar_LocalOffsetAt(unixTime);
}

// ------------------------------------------------------------ host objects

namespace {

ObjectRec& Checked(const Impl& rt, const Object& o, const char* what) {
    if (o.isNil()) Usage(std::string(what) + ": the object is nil");
    ObjectRec* rec = detail::Record(o.get());
    if (!rt.objects.contains(rec)) Usage(std::string(what) + ": dangling object handle");
    return *rec;
}

detail::ArrayPart& CheckedArray(const Impl& rt, const Object& array, const char* what) {
    ObjectRec& o = Checked(rt, array, what);
    ClassRec* cls = rt.hostClass(detail::kObjectArray);
    if (o.cls != cls) Usage(std::string(what) + ": a " + o.cls->info.fullName + " is no array");
    return *static_cast<detail::ArrayPart*>(rt.part(o, *cls));
}

}  // namespace

std::string Runtime::className(const Object& o) const {
    return Checked(*impl_, o, "className").cls->info.fullName;
}

bool Runtime::isA(const Object& o, const std::string& name) const {
    ObjectRec& rec = Checked(*impl_, o, "isA");
    ClassRec* cls = impl_->findClass(name);
    if (!cls) Usage("isA: no class " + name);
    return impl_->isA(rec, *cls);
}

size_t Runtime::arrayCount(const Object& array) const {
    return CheckedArray(*impl_, array, "arrayCount").items.size();
}

Object Runtime::arrayItem(const Object& array, size_t index) const {
    const detail::ArrayPart& a = CheckedArray(*impl_, array, "arrayItem");
    if (index >= a.items.size())
        Usage("arrayItem: index " + std::to_string(index) + " of an array of " +
              std::to_string(a.items.size()));
    detail::Activation active(*impl_);
    return Object(a.items[index], false);
}

Value Runtime::hostProperty(const Object& o, const std::string& name) const {
    // Host classes are registered like the plug-in's: reading one of their
    // properties is an ordinary get, which changes nothing of the runtime's.
    return const_cast<Runtime*>(this)->get(o, name);
}

void* Runtime::classData(const Object& o, const std::string& name) const {
    ObjectRec& rec = Checked(*impl_, o, "classData");
    ClassRec* cls = impl_->findClass(name);
    if (!cls) Usage("classData: no class " + name);
    if (!impl_->isA(rec, *cls)) Usage("classData: a " + rec.cls->info.fullName + " is no " + name);
    return impl_->part(rec, *cls);
}

// ------------------------------------------------------------ accounting

size_t Runtime::liveObjects() const { return impl_->objects.size(); }

size_t Runtime::liveStrings() const { return impl_->strings.size(); }

size_t Runtime::openStringData() const { return impl_->openStringData.size(); }

std::map<std::string, size_t> Runtime::liveObjectCensus() const {
    std::map<std::string, size_t> census;
    for (const ObjectRec* o : impl_->objects) ++census[o->cls->info.fullName];
    return census;
}

std::vector<std::string> Runtime::takeFaults() { return impl_->takeFaultsSince(0); }

std::optional<HostException> Runtime::takeRaisedException() {
    ObjectRec* e = std::exchange(impl_->pending, nullptr);
    if (!e) return std::nullopt;
    detail::Activation active(*impl_);
    HostException exception = impl_->describeException(*e);
    impl_->release(e);
    return exception;
}

}  // namespace vexrt
