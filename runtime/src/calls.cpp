// Calling registered members from C++. The functions behind the tables are
// plain C functions whose signature only the declaration tells, so they are
// called through libffi with the declared types: String and objects as
// handles, Integer and enumerations as 64-bit integers, Boolean, Double,
// Single and Color as themselves, UInt8 as one byte. Each member's call
// interface is prepared once, the first time it is called.
#include <ffi.h>

#include "declarations.h"
#include "internal.h"

namespace vexrt {

using detail::CallArguments;
using detail::CallLabel;
using detail::CallScope;
using detail::PreparedCall;
using detail::PreparedMethod;
using detail::PreparedProperty;
using detail::TypeCheck;
using detail::Usage;

namespace {

ffi_type* FfiType(Kind kind) {
    switch (kind) {
        case Kind::Void: return &ffi_type_void;
        case Kind::Integer: return &ffi_type_sint64;
        case Kind::Double: return &ffi_type_double;
        case Kind::Single: return &ffi_type_float;
        case Kind::Boolean:
        case Kind::UInt8: return &ffi_type_uint8;
        case Kind::Color: return &ffi_type_uint32;
        case Kind::String:
        case Kind::Object: return &ffi_type_pointer;
    }
    return &ffi_type_void;
}

void Prepare(PreparedCall& call, std::vector<Kind> kinds, Kind result) {
    call.kinds = std::move(kinds);
    call.types.clear();
    call.types.reserve(call.kinds.size());
    for (Kind k : call.kinds) call.types.push_back(FfiType(k));
    call.resultKind = result;
    call.ok = ffi_prep_cif(&call.cif, FFI_DEFAULT_ABI, unsigned(call.types.size()), FfiType(result),
                           call.types.data()) == FFI_OK;
    call.prepared = true;
}

std::string ClassOf(const ObjectRec& o) { return o.cls->info.fullName; }

const std::string kNoType;

}  // namespace

// ------------------------------------------------------------ preparing

PreparedMethod& Runtime::Impl::prepared(const MethodInfo& m, bool shared) {
    std::unique_ptr<PreparedMethod>& slot = callCache.methods[&m];
    if (slot) return *slot;
    auto p = std::make_unique<PreparedMethod>();
    p->info = &m;
    p->shared = shared;
    std::vector<Kind> kinds;
    kinds.reserve(m.params.size() + 2);
    if (!shared) kinds.push_back(Kind::Object);
    for (const ParamInfo& param : m.params) {
        p->params.push_back(typeCheck(param.type));
        kinds.push_back(p->params.back().kind);
    }
    p->result = typeCheck(m.returnType);
    if (!shared && m.assignable) {
        std::vector<Kind> withValue = kinds;
        withValue.push_back(p->result.kind);
        Prepare(p->assignment, std::move(withValue), Kind::Void);
    }
    Prepare(p->call, std::move(kinds), p->result.kind);
    // typeCheck may have grown the map: look the slot up again.
    return *(callCache.methods[&m] = std::move(p));
}

PreparedProperty& Runtime::Impl::prepared(const PropertyInfo& info) {
    std::unique_ptr<PreparedProperty>& slot = callCache.properties[&info];
    if (slot) return *slot;
    auto p = std::make_unique<PreparedProperty>();
    p->info = &info;
    p->type = typeCheck(info.type);
    Prepare(p->getter, {Kind::Object, Kind::Integer}, p->type.kind);
    Prepare(p->setter, {Kind::Object, Kind::Integer, p->type.kind}, Kind::Void);
    return *(callCache.properties[&info] = std::move(p));
}

// ------------------------------------------------------------ arguments

namespace detail {

namespace {

Slot ToSlot(Kind kind, const Value& v) {
    Slot s{};
    switch (kind) {
        case Kind::Integer: s.integer = v.integer(); break;
        case Kind::Double: s.number = v.isInteger() ? double(v.integer()) : v.number(); break;
        case Kind::Single: s.single = float(v.isInteger() ? double(v.integer()) : v.number()); break;
        case Kind::Boolean: s.boolean = v.boolean() ? 1 : 0; break;
        case Kind::UInt8: s.boolean = uint8_t(v.integer()); break;
        case Kind::Color: s.color = v.color().value; break;
        case Kind::String: s.handle = v.isNil() ? nullptr : v.string().get(); break;
        case Kind::Object: s.handle = v.isNil() ? nullptr : v.object().get(); break;
        case Kind::Void: break;
    }
    return s;
}

}  // namespace

CallArguments::CallArguments(Impl& rt, size_t count) : rt_(rt), capacity_(count) {
    if (count > kInline) {
        heapSlots_.resize(count);
        heapPointers_.resize(count);
        heapHeld_.resize(count);
        slots_ = heapSlots_.data();
        pointers_ = heapPointers_.data();
        held_ = heapHeld_.data();
    }
}

CallArguments::~CallArguments() {
    // First to last, as the copies of the arguments were given back.
    for (size_t i = 0; i < heldCount_; ++i) {
        if (held_[i].object)
            rt_.unlockObject(static_cast<REALobject>(held_[i].handle), "Object");
        else
            rt_.unlockString(static_cast<REALstring>(held_[i].handle), "String");
    }
}

Slot& CallArguments::next() {
    if (count_ >= capacity_) Usage("a call was given more arguments than it was prepared for");
    pointers_[count_] = &slots_[count_];
    return slots_[count_++];
}

void CallArguments::hold(void* handle, bool object) {
    if (object)
        rt_.lockObject(static_cast<REALobject>(handle), "Object");
    else
        rt_.lockString(static_cast<REALstring>(handle), "String");
    held_[heldCount_++] = Held{handle, object};
}

void CallArguments::addSelf(ObjectRec& o) {
    Slot& s = next();
    s = Slot{};
    s.handle = Handle(&o);
    hold(s.handle, true);
}

void CallArguments::addInteger(RBInteger v) {
    Slot& s = next();
    s = Slot{};
    s.integer = v;
}

void CallArguments::add(Kind kind, const Value& v) {
    next() = ToSlot(kind, v);
    // The runtime's own reference for the length of the call.
    if (v.isString() && !v.isNil()) hold(v.string().get(), false);
    if (v.isObject() && !v.isNil()) hold(v.object().get(), true);
}

std::string CallLabel::text() const { return prefix + cls + "." + member; }

}  // namespace detail

// ------------------------------------------------------------ calling

Value Runtime::Impl::invoke(PreparedCall& call, void* function, CallArguments& args,
                            const TypeCheck& result, const std::string& resultType,
                            const CallLabel& what) {
    if (!call.ok) Usage(what.text() + ": libffi cannot describe this call");
    union {
        ffi_arg integral;
        double number;
        float single;
        void* handle;
    } r{};
    ffi_call(&call.cif, FFI_FN(function), &r, args.pointers());

    switch (call.resultKind) {
        case Kind::Void: return Value();
        case Kind::Integer: return Value(RBInteger(int64_t(r.integral)));
        case Kind::Double: return Value(r.number);
        case Kind::Single: return Value(double(r.single));
        case Kind::Boolean: return Value(uint8_t(r.integral) != 0);
        case Kind::UInt8: return Value(RBInteger(uint8_t(r.integral)));
        case Kind::Color: return Value(Color{RBColor(r.integral)});
        case Kind::String: {
            auto s = static_cast<REALstring>(r.handle);
            if (s && !strings.contains(reinterpret_cast<StringRec*>(s)))
                Usage(what.text() + " returned a dangling string handle");
            return Value(String(s, true));
        }
        case Kind::Object: break;
    }
    auto o = static_cast<REALobject>(r.handle);
    if (!o) return Value(Object());
    ObjectRec* rec = detail::Record(o);
    if (!objects.contains(rec)) Usage(what.text() + " returned a dangling object handle");
    Object adopted(o, true);
    if (!acceptsObject(result, *rec))
        Usage(what.text() + " returned a " + ClassOf(*rec) + " where the declaration gives " +
              resultType);
    return Value(std::move(adopted));
}

Value Runtime::Impl::getProperty(ObjectRec& self, const std::string& name, const char* where) {
    PreparedProperty* p = propertyNamed(*self.cls, name);
    if (!p) Usage(std::string(where) + ": " + ClassOf(self) + " has no property " + name);
    CallArguments args(*this, 2);
    args.addSelf(self);
    args.addInteger(p->info->def->param);
    return invoke(p->getter, p->info->def->getter, args, p->type, p->info->type,
                  CallLabel{"the getter of ", self.cls->info.fullName, p->info->name});
}

// ------------------------------------------------------------ the C++ API

namespace {

ObjectRec& CheckedSelf(Impl& rt, const Object& self, const char* what) {
    if (self.isNil()) Usage(std::string(what) + ": the object is nil");
    ObjectRec* rec = detail::Record(self.get());
    if (!rt.objects.contains(rec)) Usage(std::string(what) + ": dangling object handle");
    return *rec;
}

// The instance method `method` (a name, or a declaration when it holds a
// parenthesis) of self's class chain that takes `args`.
PreparedMethod& ChooseMethod(Impl& rt, ObjectRec& self, const std::string& method,
                             const std::vector<Value>& args, const char* what) {
    ClassRec& cls = *self.cls;
    if (method.find('(') == std::string::npos)
        return rt.chooseMethod(cls, method, args, false, what);
    PreparedMethod* m = rt.methodDeclared(cls, method, false);
    if (!m) Usage(std::string(what) + ": " + cls.info.fullName + " has no method " + method);
    return *m;
}

PreparedMethod& ChooseSharedMethod(Impl& rt, ClassRec& cls, const std::string& method,
                                   const std::vector<Value>& args, const char* what) {
    if (method.find('(') == std::string::npos)
        return rt.chooseMethod(cls, method, args, true, what);
    PreparedMethod* m = rt.methodDeclared(cls, method, true);
    if (!m) Usage(std::string(what) + ": " + cls.info.fullName + " has no shared method " + method);
    return *m;
}

// Checks the arguments against a method chosen by declaration (overloads
// chosen by name fit already).
void CheckArguments(Impl& rt, const PreparedMethod& m, const std::vector<Value>& args,
                    const char* what) {
    const MethodInfo& info = *m.info;
    if (args.size() != info.params.size())
        Usage(std::string(what) + ": " + info.declaration + " takes " +
              std::to_string(info.params.size()) + " arguments, not " + std::to_string(args.size()));
    for (size_t i = 0; i < args.size(); ++i)
        if (!rt.accepts(m.params[i], args[i]))
            Usage(std::string(what) + ": argument " + std::to_string(i + 1) + " (" +
                  info.params[i].name + ") of " + info.declaration + " must be a " +
                  info.params[i].type);
}

// Strings and objects passed from C++ must be live in this runtime: a
// handle of another runtime would reach plug-in code as junk.
void CheckHandle(const Impl& rt, const Value& v, size_t index, const char* what) {
    if (v.isNil()) return;
    bool live = true;
    if (v.isString()) live = rt.strings.contains(reinterpret_cast<StringRec*>(v.string().get()));
    if (v.isObject()) live = rt.objects.contains(detail::Record(v.object().get()));
    if (!live)
        Usage(std::string(what) + ": argument " + std::to_string(index + 1) +
              " belongs to another runtime or is dangling");
}

void CheckHandles(const Impl& rt, const std::vector<Value>& values, const char* what) {
    for (size_t i = 0; i < values.size(); ++i) CheckHandle(rt, values[i], i, what);
}

// The instance and the arguments, in the kinds the call takes.
void AddArguments(CallArguments& all, const PreparedCall& call, size_t first,
                  const std::vector<Value>& args) {
    for (size_t i = 0; i < args.size(); ++i) all.add(call.kinds[first + i], args[i]);
}

}  // namespace

Value Runtime::get(const Object& self, const std::string& property) {
    CallScope scope(*impl_);
    ObjectRec& o = CheckedSelf(*impl_, self, "get");
    Value v = impl_->getProperty(o, property, "get");
    scope.finish();
    return v;
}

void Runtime::set(const Object& self, const std::string& property, const Value& value) {
    CallScope scope(*impl_);
    ObjectRec& o = CheckedSelf(*impl_, self, "set");
    CheckHandle(*impl_, value, 0, "set");
    PreparedProperty* p = impl_->propertyNamed(*o.cls, property);
    if (!p) Usage("set: " + ClassOf(o) + " has no property " + property);
    const PropertyInfo& info = *p->info;
    if (info.readOnly) Usage("set: " + ClassOf(o) + "." + info.name + " is read-only");
    if (!impl_->accepts(p->type, value))
        Usage("set: " + ClassOf(o) + "." + info.name + " takes a " + info.type);
    {
        CallArguments args(*impl_, 3);
        args.addSelf(o);
        args.addInteger(info.def->param);
        args.add(p->type.kind, value);
        impl_->invoke(p->setter, info.def->setter, args, TypeCheck{}, kNoType,
                      CallLabel{"the setter of ", o.cls->info.fullName, info.name});
    }
    scope.finish();
}

Value Runtime::call(const Object& self, const std::string& method, const std::vector<Value>& args) {
    CallScope scope(*impl_);
    ObjectRec& o = CheckedSelf(*impl_, self, "call");
    CheckHandles(*impl_, args, "call");
    PreparedMethod& m = ChooseMethod(*impl_, o, method, args, "call");
    CheckArguments(*impl_, m, args, "call");
    Value v;
    {
        CallArguments all(*impl_, args.size() + 1);
        all.addSelf(o);
        AddArguments(all, m.call, 1, args);
        v = impl_->invoke(m.call, m.info->def->function, all, m.result, m.info->returnType,
                          CallLabel{"", o.cls->info.fullName, m.info->declaration});
    }
    scope.finish();
    return v;
}

void Runtime::assign(const Object& self, const std::string& method, const std::vector<Value>& args,
                     const Value& value) {
    CallScope scope(*impl_);
    ObjectRec& o = CheckedSelf(*impl_, self, "assign");
    CheckHandles(*impl_, args, "assign");
    CheckHandle(*impl_, value, 0, "assign");
    PreparedMethod& m = ChooseMethod(*impl_, o, method, args, "assign");
    const MethodInfo& info = *m.info;
    if (!info.assignable) Usage("assign: " + ClassOf(o) + "." + info.declaration + " is not assignable");
    CheckArguments(*impl_, m, args, "assign");
    if (!impl_->accepts(m.result, value))
        Usage("assign: " + ClassOf(o) + "." + info.declaration + " is assigned a " + info.returnType);
    {
        CallArguments all(*impl_, args.size() + 2);
        all.addSelf(o);
        AddArguments(all, m.assignment, 1, args);
        all.add(m.assignment.kinds.back(), value);
        impl_->invoke(m.assignment, info.def->setterFunction, all, TypeCheck{}, kNoType,
                      CallLabel{"the setter of ", o.cls->info.fullName, info.declaration});
    }
    scope.finish();
}

Value Runtime::callShared(const std::string& className, const std::string& method,
                          const std::vector<Value>& args) {
    CallScope scope(*impl_);
    CheckHandles(*impl_, args, "callShared");
    ClassRec* cls = impl_->classNamed(className);
    if (!cls) Usage("callShared: no class " + className);
    if (!impl_->resolveChain(*cls)) Usage("callShared: class " + className + " cannot be laid out");
    PreparedMethod& m = ChooseSharedMethod(*impl_, *cls, method, args, "callShared");
    CheckArguments(*impl_, m, args, "callShared");
    Value v;
    {
        CallArguments all(*impl_, args.size());
        AddArguments(all, m.call, 0, args);
        v = impl_->invoke(m.call, m.info->def->function, all, m.result, m.info->returnType,
                          CallLabel{"", cls->info.fullName, m.info->declaration});
    }
    scope.finish();
    return v;
}

Object Runtime::newInstance(const std::string& className, const std::vector<Value>& args) {
    CallScope scope(*impl_);
    CheckHandles(*impl_, args, "newInstance");
    ClassRec* cls = impl_->classNamed(className);
    if (!cls) Usage("newInstance: no class " + className);
    if (!impl_->resolveChain(*cls)) {
        scope.finish();  // reports why the class cannot be laid out
        Usage("newInstance: class " + className + " cannot be made");
    }
    // The constructor is chosen first: a call that fits none makes nothing.
    PreparedMethod* constructor = nullptr;
    if (impl_->methodsNamed(*cls, "Constructor", false)) {
        constructor = &impl_->chooseMethod(*cls, "Constructor", args, false, "newInstance");
        CheckArguments(*impl_, *constructor, args, "newInstance");
    } else if (!args.empty()) {
        Usage("newInstance: " + cls->info.fullName + " has no constructor taking arguments");
    }

    ObjectRec* o = impl_->newInstance(*cls);
    if (!o) Usage("newInstance: class " + className + " cannot be made");
    Object instance(detail::Handle(o), true);
    if (constructor) {
        // A constructor gives nothing back, whatever its declaration says.
        PreparedCall declaredResult;
        PreparedCall* call = &constructor->call;
        if (call->resultKind != Kind::Void) {
            Prepare(declaredResult, call->kinds, Kind::Void);
            call = &declaredResult;
        }
        CallArguments all(*impl_, args.size() + 1);
        all.addSelf(*o);
        AddArguments(all, *call, 1, args);
        impl_->invoke(*call, constructor->info->def->function, all, TypeCheck{}, kNoType,
                      CallLabel{"", cls->info.fullName, constructor->info->declaration});
    }
    scope.finish();
    return instance;
}

}  // namespace vexrt
