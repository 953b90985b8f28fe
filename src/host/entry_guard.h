// The host calls the plug-in through plain function pointers: a C++
// exception leaving one would unwind host frames that know nothing of it.
// Every function the plug-in hands the host (the members and class
// functions of its tables, and the exported entry) therefore runs inside a
// guard that catches whatever escapes, raises it as a WordException once the
// function's own frames have cleaned up, and returns the neutral value of
// the function's result type (0, nil, false, nothing).
#pragma once

#include <cstddef>

#include "host/plugin_sdk.h"

// What the host sees of an exception the guard caught.
constexpr const char* kOutOfMemoryMessage = "Out of memory";   // bad_alloc, length_error
constexpr RBInteger kOutOfMemoryErrorNumber = -16;
constexpr const char* kInternalErrorMessage = "Internal error";  // anything else
constexpr RBInteger kInternalErrorErrorNumber = -17;

// Raises the exception being handled as a WordException. Call it only from
// a catch block; it never throws.
void EntryGuard_RaiseCurrentException() noexcept;

// GuardedEntry<F>::Call has the signature of F and calls it inside the
// guard; GuardedEntry<F>::Entry() is its address, and null for F = nullptr
// (a read-only property's setter, a class without initializer).
template <auto F>
struct GuardedEntry;

template <class R, class... Args, R (*F)(Args...)>
struct GuardedEntry<F> {
    static R Call(Args... args) noexcept {
        try {
            return F(args...);
        } catch (...) {
            EntryGuard_RaiseCurrentException();
        }
        return R();
    }
    static constexpr R (*Entry())(Args...) { return &Call; }
};

template <>
struct GuardedEntry<nullptr> {
    static constexpr std::nullptr_t Entry() { return nullptr; }
};
