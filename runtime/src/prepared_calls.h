// What a call needs of a registered member, worked out once per runtime
// instead of on every call: the kinds of its parameters and result, what
// each declared type accepts, and the libffi call interface. Names reach
// them through one hash lookup; names still match ignoring case, as the host
// language has them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <ffi.h>

#include <vexrt/runtime.h>

namespace vexrt::detail {

struct ClassRec;
enum class Kind;

// What a value passed for a declared type must be.
struct TypeCheck {
    Kind kind{};
    bool array = false;             // "X()": only the host's object arrays
    const ClassRec* cls = nullptr;  // the array class, or a class this host knows; null: any object
};

// A plain function with its libffi description, prepared once. The
// description points into `types`, so it is never copied.
struct PreparedCall {
    PreparedCall() = default;
    PreparedCall(const PreparedCall&) = delete;
    PreparedCall& operator=(const PreparedCall&) = delete;

    bool prepared = false;
    bool ok = false;           // libffi could describe it
    std::vector<Kind> kinds;   // of every argument, the instance first
    std::vector<ffi_type*> types;
    Kind resultKind{};
    ffi_cif cif{};
};

struct PreparedMethod {
    const MethodInfo* info = nullptr;
    bool shared = false;
    std::vector<TypeCheck> params;
    TypeCheck result;         // of the return type (or the assigned value)
    PreparedCall call;        // (instance,) parameters -> result
    PreparedCall assignment;  // instance, parameters, value -> nothing
};

struct PreparedProperty {
    const PropertyInfo* info = nullptr;
    TypeCheck type;
    PreparedCall getter;  // instance, param -> value
    PreparedCall setter;  // instance, param, value -> nothing
};

// What one name of a class chain resolves to.
enum class NameSpace : uint8_t { Method, SharedMethod, Property, Declaration, SharedDeclaration, Class };

struct Resolution {
    std::string text;                       // the name as first asked; the key views it
    std::vector<PreparedMethod*> methods;   // overloads, own class first
    PreparedProperty* property = nullptr;
    ClassRec* cls = nullptr;               // of NameSpace::Class
};

struct NameKey {
    const ClassRec* cls;  // null for class names
    NameSpace space;
    std::string_view text;
};

// Keyed by the text exactly as asked, so a lookup folds no case: another
// spelling of the same name is resolved (ignoring case) once on its own.
struct NameKeyHash {
    size_t operator()(const NameKey& k) const;
};
struct NameKeyEqual {
    bool operator()(const NameKey& a, const NameKey& b) const;
};

struct CallCache {
    std::unordered_map<const MethodInfo*, std::unique_ptr<PreparedMethod>> methods;
    std::unordered_map<const PropertyInfo*, std::unique_ptr<PreparedProperty>> properties;
    std::unordered_map<NameKey, std::unique_ptr<Resolution>, NameKeyHash, NameKeyEqual> names;

    // A class or module registered later may change what a type accepts:
    // everything is worked out anew. What a running call may still use is
    // kept until the runtime goes.
    std::vector<std::unique_ptr<PreparedMethod>> retiredMethods;
    std::vector<std::unique_ptr<PreparedProperty>> retiredProperties;
    void clear() {
        for (auto& [info, m] : methods) retiredMethods.push_back(std::move(m));
        for (auto& [info, p] : properties) retiredProperties.push_back(std::move(p));
        names.clear();
        methods.clear();
        properties.clear();
    }
};

}  // namespace vexrt::detail
