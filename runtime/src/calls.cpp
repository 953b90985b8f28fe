// Calling registered members from C++. The functions behind the tables are
// plain C functions whose signature only the declaration tells, so they are
// called through libffi with the declared types: String and objects as
// handles, Integer and enumerations as 64-bit integers, Boolean, Double,
// Single and Color as themselves, UInt8 as one byte.
#include <ffi.h>

#include "declarations.h"
#include "internal.h"

namespace vexrt {

using detail::CallScope;
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

// Storage of one argument in the form the callee takes it.
union Slot {
    int64_t integer;
    double number;
    float single;
    uint8_t boolean;
    uint32_t color;
    void* handle;
};

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

// The instance as the first argument, held for the length of the call.
Value Self(ObjectRec& o) { return Value(Object(detail::Handle(&o), false)); }

std::string ClassOf(const ObjectRec& o) { return o.cls->info.fullName; }

}  // namespace

Value Runtime::Impl::invoke(void* function, const std::vector<Kind>& kinds,
                            std::vector<Value> args, const std::string& resultType,
                            const std::string& what) {
    const Kind resultKind = kindOf(resultType);
    std::vector<ffi_type*> types;
    std::vector<Slot> slots;
    std::vector<void*> pointers;
    types.reserve(kinds.size());
    slots.reserve(kinds.size());
    pointers.reserve(kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) {
        types.push_back(FfiType(kinds[i]));
        slots.push_back(ToSlot(kinds[i], args[i]));
    }
    for (Slot& s : slots) pointers.push_back(&s);

    ffi_cif cif;
    if (ffi_prep_cif(&cif, FFI_DEFAULT_ABI, unsigned(kinds.size()), FfiType(resultKind),
                     types.data()) != FFI_OK)
        Usage(what + ": libffi cannot describe this call");
    union {
        ffi_arg integral;
        double number;
        float single;
        void* handle;
    } result{};
    ffi_call(&cif, FFI_FN(function), &result, pointers.data());

    switch (resultKind) {
        case Kind::Void: return Value();
        case Kind::Integer: return Value(RBInteger(int64_t(result.integral)));
        case Kind::Double: return Value(result.number);
        case Kind::Single: return Value(double(result.single));
        case Kind::Boolean: return Value(uint8_t(result.integral) != 0);
        case Kind::UInt8: return Value(RBInteger(uint8_t(result.integral)));
        case Kind::Color: return Value(Color{RBColor(result.integral)});
        case Kind::String: {
            auto s = static_cast<REALstring>(result.handle);
            if (s && !strings.count(reinterpret_cast<StringRec*>(s)))
                Usage(what + " returned a dangling string handle");
            return Value(String(s, true));
        }
        case Kind::Object: break;
    }
    auto o = static_cast<REALobject>(result.handle);
    if (!o) return Value(Object());
    if (!objects.count(detail::Record(o))) Usage(what + " returned a dangling object handle");
    Object adopted(o, true);
    if (!accepts(resultType, Value(adopted)))
        Usage(what + " returned a " + ClassOf(*detail::Record(o)) + " where the declaration gives " +
              resultType);
    return Value(std::move(adopted));
}

Value Runtime::Impl::getProperty(ObjectRec& self, const std::string& name, const char* where) {
    const PropertyInfo* p = findProperty(*self.cls, name);
    if (!p) Usage(std::string(where) + ": " + ClassOf(self) + " has no property " + name);
    return invoke(p->def->getter, {Kind::Object, Kind::Integer},
                  {Self(self), Value(RBInteger(p->def->param))}, p->type,
                  "the getter of " + ClassOf(self) + "." + p->name);
}

// ------------------------------------------------------------ the C++ API

namespace {

ObjectRec& CheckedSelf(Impl& rt, const Object& self, const char* what) {
    if (self.isNil()) Usage(std::string(what) + ": the object is nil");
    auto found = rt.objects.find(detail::Record(self.get()));
    if (found == rt.objects.end()) Usage(std::string(what) + ": dangling object handle");
    return **found;
}

// The instance method `method` (a name, or a declaration when it holds a
// parenthesis) of self's class chain that takes `args`.
const MethodInfo& ChooseMethod(Impl& rt, ObjectRec& self, const std::string& method,
                               const std::vector<Value>& args, const char* what) {
    ClassRec& cls = *self.cls;
    if (method.find('(') == std::string::npos)
        return *rt.chooseOverload(cls, method, args, false, what);
    const MethodInfo* m = rt.findMethod(cls, method, false);
    if (!m) Usage(std::string(what) + ": " + cls.info.fullName + " has no method " + method);
    return *m;
}

const MethodInfo& ChooseSharedMethod(Impl& rt, ClassRec& cls, const std::string& method,
                                     const std::vector<Value>& args, const char* what) {
    if (method.find('(') == std::string::npos)
        return *rt.chooseOverload(cls, method, args, true, what);
    const MethodInfo* m = rt.findMethod(cls, method, true);
    if (!m) Usage(std::string(what) + ": " + cls.info.fullName + " has no shared method " + method);
    return *m;
}

// Checks the arguments against a method chosen by declaration (overloads
// chosen by name fit already) and gives the kinds of the whole call.
std::vector<Kind> ArgumentKinds(Impl& rt, const MethodInfo& m, const std::vector<Value>& args,
                                const char* what) {
    if (args.size() != m.params.size())
        Usage(std::string(what) + ": " + m.declaration + " takes " +
              std::to_string(m.params.size()) + " arguments, not " + std::to_string(args.size()));
    std::vector<Kind> kinds;
    for (size_t i = 0; i < args.size(); ++i) {
        if (!rt.accepts(m.params[i].type, args[i]))
            Usage(std::string(what) + ": argument " + std::to_string(i + 1) + " (" +
                  m.params[i].name + ") of " + m.declaration + " must be a " + m.params[i].type);
        kinds.push_back(rt.kindOf(m.params[i].type));
    }
    return kinds;
}

// Strings and objects passed from C++ must be live in this runtime: a
// handle of another runtime would reach plug-in code as junk.
void CheckHandles(const Impl& rt, const std::vector<Value>& values, const char* what) {
    for (size_t i = 0; i < values.size(); ++i) {
        const Value& v = values[i];
        if (v.isNil()) continue;
        bool live = true;
        if (v.isString()) live = rt.strings.count(reinterpret_cast<StringRec*>(v.string().get())) != 0;
        if (v.isObject()) live = rt.objects.count(detail::Record(v.object().get())) != 0;
        if (!live)
            Usage(std::string(what) + ": argument " + std::to_string(i + 1) +
                  " belongs to another runtime or is dangling");
    }
}

std::vector<Value> WithSelf(ObjectRec& self, const std::vector<Value>& args) {
    std::vector<Value> all{Self(self)};
    all.insert(all.end(), args.begin(), args.end());
    return all;
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
    CheckHandles(*impl_, {value}, "set");
    const PropertyInfo* p = impl_->findProperty(*o.cls, property);
    if (!p) Usage("set: " + ClassOf(o) + " has no property " + property);
    const std::string member = ClassOf(o) + "." + p->name;
    if (p->readOnly) Usage("set: " + member + " is read-only");
    if (!impl_->accepts(p->type, value)) Usage("set: " + member + " takes a " + p->type);
    impl_->invoke(p->def->setter, {Kind::Object, Kind::Integer, impl_->kindOf(p->type)},
                  {Self(o), Value(RBInteger(p->def->param)), value}, "",
                  "the setter of " + member);
    scope.finish();
}

Value Runtime::call(const Object& self, const std::string& method, const std::vector<Value>& args) {
    CallScope scope(*impl_);
    ObjectRec& o = CheckedSelf(*impl_, self, "call");
    CheckHandles(*impl_, args, "call");
    const MethodInfo& m = ChooseMethod(*impl_, o, method, args, "call");
    std::vector<Kind> kinds = ArgumentKinds(*impl_, m, args, "call");
    kinds.insert(kinds.begin(), Kind::Object);
    Value v = impl_->invoke(m.def->function, kinds, WithSelf(o, args), m.returnType,
                            ClassOf(o) + "." + m.declaration);
    scope.finish();
    return v;
}

void Runtime::assign(const Object& self, const std::string& method, const std::vector<Value>& args,
                     const Value& value) {
    CallScope scope(*impl_);
    ObjectRec& o = CheckedSelf(*impl_, self, "assign");
    CheckHandles(*impl_, args, "assign");
    CheckHandles(*impl_, {value}, "assign");
    const MethodInfo& m = ChooseMethod(*impl_, o, method, args, "assign");
    if (!m.assignable) Usage("assign: " + ClassOf(o) + "." + m.declaration + " is not assignable");
    std::vector<Kind> kinds = ArgumentKinds(*impl_, m, args, "assign");
    if (!impl_->accepts(m.returnType, value))
        Usage("assign: " + ClassOf(o) + "." + m.declaration + " is assigned a " + m.returnType);
    kinds.insert(kinds.begin(), Kind::Object);
    kinds.push_back(impl_->kindOf(m.returnType));
    std::vector<Value> all = WithSelf(o, args);
    all.push_back(value);
    impl_->invoke(m.def->setterFunction, kinds, std::move(all), "",
                  "the setter of " + ClassOf(o) + "." + m.declaration);
    scope.finish();
}

Value Runtime::callShared(const std::string& className, const std::string& method,
                          const std::vector<Value>& args) {
    CallScope scope(*impl_);
    CheckHandles(*impl_, args, "callShared");
    ClassRec* cls = impl_->findClass(className);
    if (!cls) Usage("callShared: no class " + className);
    if (!impl_->resolveChain(*cls)) Usage("callShared: class " + className + " cannot be laid out");
    const MethodInfo& m = ChooseSharedMethod(*impl_, *cls, method, args, "callShared");
    std::vector<Kind> kinds = ArgumentKinds(*impl_, m, args, "callShared");
    Value v = impl_->invoke(m.def->function, kinds, args, m.returnType,
                            cls->info.fullName + "." + m.declaration);
    scope.finish();
    return v;
}

Object Runtime::newInstance(const std::string& className, const std::vector<Value>& args) {
    CallScope scope(*impl_);
    CheckHandles(*impl_, args, "newInstance");
    ClassRec* cls = impl_->findClass(className);
    if (!cls) Usage("newInstance: no class " + className);
    if (!impl_->resolveChain(*cls)) {
        scope.finish();  // reports why the class cannot be laid out
        Usage("newInstance: class " + className + " cannot be made");
    }
    // The constructor is chosen first: a call that fits none makes nothing.
    const MethodInfo* constructor = nullptr;
    for (ClassRec* c = cls; c && !constructor; c = c->super)
        for (const MethodInfo& m : c->info.methods)
            if (detail::Text_EqualsNoCase(m.name, "Constructor")) constructor = &m;
    std::vector<Kind> kinds{Kind::Object};
    if (constructor) {
        constructor = impl_->chooseOverload(*cls, "Constructor", args, false, "newInstance");
        std::vector<Kind> params = ArgumentKinds(*impl_, *constructor, args, "newInstance");
        kinds.insert(kinds.end(), params.begin(), params.end());
    } else if (!args.empty()) {
        Usage("newInstance: " + cls->info.fullName + " has no constructor taking arguments");
    }

    ObjectRec* o = impl_->newInstance(*cls);
    if (!o) Usage("newInstance: class " + className + " cannot be made");
    Object instance(detail::Handle(o), true);
    if (constructor)
        impl_->invoke(constructor->def->function, kinds, WithSelf(*o, args), "",
                      cls->info.fullName + "." + constructor->declaration);
    scope.finish();
    return instance;
}

}  // namespace vexrt
