// Finding members: properties and methods along a class chain (own class
// first, so a subclass's registration overrides its parent's), overloads by
// the kinds of the arguments, and the kinds of declared types. Also the
// entries through which plug-in code reaches members by name.
#include <cstdint>
#include <functional>

#include "declarations.h"
#include "entries.h"
#include "host_classes.h"

namespace vexrt {

using detail::Declaration_Normalise;
using detail::Text_EqualsNoCase;
using detail::Text_Lower;

namespace detail {

const char* Kind_Name(Kind kind) {
    switch (kind) {
        case Kind::Void: return "nothing";
        case Kind::Integer: return "Integer";
        case Kind::Double: return "Double";
        case Kind::Single: return "Single";
        case Kind::Boolean: return "Boolean";
        case Kind::Color: return "Color";
        case Kind::String: return "String";
        case Kind::Object: return "object";
        case Kind::UInt8: return "UInt8";
    }
    return "?";
}

namespace {

// What a C++ value is, for messages.
std::string ValueKindName(const Value& v) {
    if (v.isNil()) return "nil";
    if (v.isInteger()) return "Integer";
    if (v.isDouble()) return "Double";
    if (v.isBool()) return "Boolean";
    if (v.isColor()) return "Color";
    if (v.isString()) return "String";
    return "object";
}

std::string ArgumentKinds(const std::vector<Value>& args) {
    std::string out = "(";
    for (size_t i = 0; i < args.size(); ++i) out += (i ? ", " : "") + ValueKindName(args[i]);
    return out + ")";
}

bool IsArrayType(const std::string& type) {
    return type.size() > 2 && type.compare(type.size() - 2, 2, "()") == 0;
}

}  // namespace

}  // namespace detail

// ------------------------------------------------------------ types

bool Runtime::Impl::isEnumType(const std::string& type) const {
    const std::string lower = Text_Lower(type);
    if (detail::HostEnum_Is(lower)) return true;
    return module && module->findEnum(type) != nullptr;
}

namespace {

Kind KindOfValueType(const std::string& lowerCaseType) {
    const std::string& t = lowerCaseType;
    if (t == "string") return Kind::String;
    if (t == "integer" || t == "int64" || t == "int32" || t == "uint32") return Kind::Integer;
    if (t == "boolean") return Kind::Boolean;
    if (t == "uint8") return Kind::UInt8;
    if (t == "double") return Kind::Double;
    if (t == "single") return Kind::Single;
    if (t == "color") return Kind::Color;
    return Kind::Void;
}

}  // namespace

Kind Runtime::Impl::kindOf(const std::string& type) const {
    if (type.empty()) return Kind::Void;
    auto known = kinds.find(type);
    if (known != kinds.end()) return known->second;
    Kind kind = Kind::Object;  // classes, arrays, Variant, Iterator
    if (!detail::IsArrayType(type)) {
        Kind value = KindOfValueType(Text_Lower(type));
        if (value != Kind::Void)
            kind = value;
        else if (isEnumType(type))
            kind = Kind::Integer;
    }
    kinds.emplace(type, kind);
    return kind;
}

bool Runtime::Impl::accepts(const std::string& type, const Value& value) const {
    return accepts(typeCheck(type), value);
}

// ------------------------------------------------------------ lookups

const PropertyInfo* Runtime::Impl::findProperty(ClassRec& cls, std::string_view name) const {
    for (ClassRec* c = &cls; c; c = c->super)
        for (const PropertyInfo& p : c->info.properties)
            if (Text_EqualsNoCase(p.name, name)) return &p;
    return nullptr;
}

const MethodInfo* Runtime::Impl::findMethod(ClassRec& cls, std::string_view declaration,
                                            bool shared) const {
    const std::string wanted = Declaration_Normalise(declaration);
    for (ClassRec* c = &cls; c; c = c->super) {
        const auto& index = shared ? c->sharedMethodsByDeclaration : c->methodsByDeclaration;
        auto found = index.find(wanted);
        if (found != index.end()) return found->second;
    }
    return nullptr;
}

const MethodInfo* Runtime::Impl::chooseOverload(ClassRec& cls, const std::string& name,
                                                const std::vector<Value>& args, bool shared,
                                                const char* what) const {
    std::vector<const MethodInfo*> candidates;
    for (ClassRec* c = &cls; c; c = c->super) {
        for (const MethodInfo& m : shared ? c->info.sharedMethods : c->info.methods) {
            if (!Text_EqualsNoCase(m.name, name)) continue;
            candidates.push_back(&m);
            if (m.params.size() != args.size()) continue;
            bool fits = true;
            for (size_t i = 0; i < args.size() && fits; ++i) fits = accepts(m.params[i].type, args[i]);
            if (fits) return &m;
        }
    }
    const std::string member = cls.info.fullName + "." + name;
    if (candidates.empty())
        detail::Usage(std::string(what) + ": " + cls.info.fullName + " has no " +
                      (shared ? "shared method " : "method ") + name);
    std::string message = std::string(what) + ": no overload of " + member + " takes " +
                          detail::ArgumentKinds(args) + "; declared:";
    for (const MethodInfo* m : candidates) message += "\n  " + m->declaration;
    detail::Usage(message);
}

// ------------------------------------------------------------ resolved once

namespace detail {

size_t NameKeyHash::operator()(const NameKey& k) const {
    size_t h = std::hash<std::string_view>()(k.text);
    h ^= (reinterpret_cast<uintptr_t>(k.cls) >> 4) * 0x9E3779B97F4A7C15ull + size_t(k.space);
    return h;
}

bool NameKeyEqual::operator()(const NameKey& a, const NameKey& b) const {
    return a.cls == b.cls && a.space == b.space && a.text == b.text;
}

}  // namespace detail

using detail::NameKey;
using detail::NameSpace;
using detail::PreparedMethod;
using detail::PreparedProperty;
using detail::Resolution;
using detail::TypeCheck;

namespace {

// The remembered resolution of `key`; `make` fills a new one, which is kept
// only when it found something (what is not found is a caller's fault).
template <typename Make>
Resolution* Resolve(detail::CallCache& cache, NameKey key, Make make) {
    auto found = cache.names.find(key);
    if (found != cache.names.end()) return found->second.get();
    auto r = std::make_unique<Resolution>();
    if (!make(*r)) return nullptr;
    r->text = std::string(key.text);
    key.text = r->text;
    return cache.names.emplace(key, std::move(r)).first->second.get();
}

}  // namespace

TypeCheck Runtime::Impl::typeCheck(const std::string& type) const {
    TypeCheck check;
    check.kind = kindOf(type);
    if (check.kind == Kind::Object) {
        check.array = detail::IsArrayType(type);
        check.cls = check.array ? hostClass(detail::kObjectArray) : findClass(type);
    }
    return check;
}

bool Runtime::Impl::accepts(const TypeCheck& check, const Value& value) const {
    switch (check.kind) {
        case Kind::Void: return false;
        case Kind::Integer:
        case Kind::UInt8: return value.isInteger();
        case Kind::Double:
        case Kind::Single: return value.isDouble() || value.isInteger();
        case Kind::Boolean: return value.isBool();
        case Kind::Color: return value.isColor();
        case Kind::String: return value.isString() || value.isNil();
        case Kind::Object: break;
    }
    if (value.isNil()) return true;
    if (!value.isObject()) return false;
    const ObjectRec* o = detail::Record(value.object().get());
    return objects.contains(o) && acceptsObject(check, *o);
}

bool Runtime::Impl::acceptsObject(const TypeCheck& check, const ObjectRec& o) const {
    if (check.array) return o.cls == check.cls;
    // Only a class this host knows restricts what may be passed.
    return !check.cls || isA(o, *check.cls);
}

const Resolution* Runtime::Impl::methodsNamed(ClassRec& cls, std::string_view name, bool shared) {
    return Resolve(callCache, {&cls, shared ? NameSpace::SharedMethod : NameSpace::Method, name},
                   [&](Resolution& r) {
                       for (ClassRec* c = &cls; c; c = c->super)
                           for (const MethodInfo& m : shared ? c->info.sharedMethods : c->info.methods)
                               if (Text_EqualsNoCase(m.name, name))
                                   r.methods.push_back(&prepared(m, shared));
                       return !r.methods.empty();
                   });
}

PreparedMethod& Runtime::Impl::chooseMethod(ClassRec& cls, const std::string& name,
                                            const std::vector<Value>& args, bool shared,
                                            const char* what) {
    if (const Resolution* r = methodsNamed(cls, name, shared))
        for (PreparedMethod* m : r->methods) {
            if (m->params.size() != args.size()) continue;
            bool fits = true;
            for (size_t i = 0; i < args.size() && fits; ++i) fits = accepts(m->params[i], args[i]);
            if (fits) return *m;
        }
    // None fits: the long way, which says why.
    return prepared(*chooseOverload(cls, name, args, shared, what), shared);
}

PreparedMethod* Runtime::Impl::methodDeclared(ClassRec& cls, std::string_view declaration,
                                              bool shared) {
    NameKey key{&cls, shared ? NameSpace::SharedDeclaration : NameSpace::Declaration, declaration};
    Resolution* r = Resolve(callCache, key, [&](Resolution& out) {
        const MethodInfo* m = findMethod(cls, declaration, shared);
        if (m) out.methods.push_back(&prepared(*m, shared));
        return m != nullptr;
    });
    return r ? r->methods.front() : nullptr;
}

PreparedProperty* Runtime::Impl::propertyNamed(ClassRec& cls, std::string_view name) {
    Resolution* r = Resolve(callCache, {&cls, NameSpace::Property, name}, [&](Resolution& out) {
        const PropertyInfo* p = findProperty(cls, name);
        if (p) out.property = &prepared(*p);
        return p != nullptr;
    });
    return r ? r->property : nullptr;
}

ClassRec* Runtime::Impl::classNamed(std::string_view name) {
    Resolution* r = Resolve(callCache, {nullptr, NameSpace::Class, name}, [&](Resolution& out) {
        out.cls = findClass(name);
        return out.cls != nullptr;
    });
    return r ? r->cls : nullptr;
}

// ------------------------------------------------------------ entries

namespace detail {

namespace {

// A property of `o` read for plug-in code. Null when there is none of the
// wanted kind (with a fault: plug-in code asks for fixed names only).
std::optional<Value> PropertyForEntry(Impl& rt, REALobject o, const char* name, Kind kind,
                                      const char* where, const void* out) {
    if (!out || !name) {
        rt.fault(std::string(where) + ": no property name or out value");
        return std::nullopt;
    }
    ObjectRec* rec = rt.liveObject(o, where);
    if (!rec) return std::nullopt;
    const detail::PreparedProperty* prepared = rt.propertyNamed(*rec->cls, name);
    const PropertyInfo* p = prepared ? prepared->info : nullptr;
    if (!p) {
        rt.fault(std::string(where) + ": " + rec->cls->info.fullName + " has no property " + name);
        return std::nullopt;
    }
    if (rt.kindOf(p->type) != kind) {
        rt.fault(std::string(where) + ": property " + name + " of " + rec->cls->info.fullName +
                 " is a " + p->type + ", not a " + Kind_Name(kind));
        return std::nullopt;
    }
    try {
        return rt.getProperty(*rec, p->name, where);
    } catch (const UsageError& e) {
        rt.fault(e.what());
        return std::nullopt;
    }
}

}  // namespace

void* Entry_LoadObjectMethod(REALobject o, const char* declaration) {
    Impl* rt = Impl::active();
    if (!rt) return nullptr;
    ObjectRec* rec = rt->liveObject(o, "REALLoadObjectMethod");
    if (!rec || !declaration || rt->withholds(declaration)) return nullptr;
    const MethodInfo* m = rt->findMethod(*rec->cls, declaration, false);
    return m ? m->def->function : nullptr;
}

void* Entry_LoadSharedMethod(REALclassRef ref, const char* declaration) {
    Impl* rt = Impl::active();
    if (!rt) return nullptr;
    ClassRec* cls = rt->classOfRef(ref, "PluginLoadSharedMethod");
    if (!cls || !declaration || rt->withholds(declaration) || !rt->resolveChain(*cls))
        return nullptr;
    const MethodInfo* m = rt->findMethod(*cls, declaration, true);
    return m ? m->def->function : nullptr;
}

void* Entry_LoadGlobalMethod(const char* moduleName, const char* declaration) {
    Impl* rt = Impl::active();
    if (!rt || !declaration || rt->withholds(declaration)) return nullptr;
    // Only the framework's functions: the plug-in's module has no methods.
    if (moduleName && *moduleName) return nullptr;
    return Framework_Find(Declaration_Normalise(declaration));
}

bool Entry_GetPropValueString(REALobject o, const char* name, REALstring* out) {
    Impl* rt = Impl::active();
    if (!rt) return false;
    auto v = PropertyForEntry(*rt, o, name, Kind::String, "REALGetPropValueString", out);
    if (!v) return false;
    String s = v->string();
    *out = s.release();  // the caller's reference
    return true;
}

bool Entry_GetPropValueBool(REALobject o, const char* name, RBBoolean* out) {
    Impl* rt = Impl::active();
    if (!rt) return false;
    auto v = PropertyForEntry(*rt, o, name, Kind::Boolean, "REALGetPropValueBool", out);
    if (!v) return false;
    *out = v->boolean();
    return true;
}

bool Entry_GetPropValueInteger(REALobject o, const char* name, RBInteger* out) {
    Impl* rt = Impl::active();
    if (!rt) return false;
    auto v = PropertyForEntry(*rt, o, name, Kind::Integer, "REALGetPropValueInteger", out);
    if (!v) return false;
    *out = v->integer();
    return true;
}

bool Entry_GetPropValueObject(REALobject o, const char* name, REALobject* out) {
    Impl* rt = Impl::active();
    if (!rt) return false;
    auto v = PropertyForEntry(*rt, o, name, Kind::Object, "REALGetPropValueObject", out);
    if (!v) return false;
    Object result = v->object();
    *out = result.release();  // the caller's reference
    return true;
}

}  // namespace detail

}  // namespace vexrt
