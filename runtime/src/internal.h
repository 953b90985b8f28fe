// The runtime's inside: how host strings, objects and classes are kept, and
// the state one Runtime holds. Shared by the runtime's sources only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <vexrt/runtime.h>

#include "pointer_set.h"
#include "prepared_calls.h"

namespace vexrt {

namespace detail {

// ------------------------------------------------------------------ strings

// A host string. REALstring handles point at one of these.
struct StringRec {
    int64_t refCount = 1;
    uint32_t encoding = kREALTextEncodingUTF8;
    std::string bytes;
};

// ------------------------------------------------------------------ objects

struct ClassRec;
struct ExceptionPart;

// The header of every host object. REALobject handles point at it; the
// class parts follow it, root class first, each at the offset its class
// definition carries in forSystemUse.
struct ObjectRec {
    ClassRec* cls = nullptr;
    int64_t refCount = 1;
    bool dying = false;  // destructors are running
};

constexpr size_t kPartAlignment = alignof(std::max_align_t);
constexpr size_t AlignUp(size_t n) { return (n + kPartAlignment - 1) / kPartAlignment * kPartAlignment; }
constexpr size_t kHeaderSize = AlignUp(sizeof(ObjectRec));

// ------------------------------------------------------------------ classes

// A registered class: the plug-in's own or one of the host's. Host classes
// are described with the same records as the plug-in's (tables of plain
// functions), so both are called and inherited from the same way.
struct ClassRec {
    enum class Chain { Unresolved, Resolving, Resolved, Broken };

    ClassInfo info;                      // parsed declarations; name, fullName
    // Methods of this class by normalised declaration (Declaration_Normalise).
    std::unordered_map<std::string, const MethodInfo*> methodsByDeclaration;
    std::unordered_map<std::string, const MethodInfo*> sharedMethodsByDeclaration;
    REALclassDefinition* def = nullptr;  // the registered record
    std::string module;                  // "" for host classes and classes registered alone
    bool host = false;
    Chain chain = Chain::Unresolved;
    ClassRec* super = nullptr;
    size_t partOffset = 0;    // this class's part within an instance
    size_t instanceSize = 0;  // header and every part up to this class
};

// How a value of a declared type crosses a call.
enum class Kind { Void, Integer, Double, Single, Boolean, Color, String, Object, UInt8 };

const char* Kind_Name(Kind kind);

class CallArguments;
struct CallLabel;

}  // namespace detail

// Grants the runtime's sources access to Runtime's private state.
struct RuntimeAccess {
    using Impl = Runtime::Impl;
    static Impl& impl(const Runtime& rt) { return *rt.impl_; }
};

using detail::ClassRec;
using detail::Kind;
using detail::ObjectRec;
using detail::StringRec;
using Impl = RuntimeAccess::Impl;

struct Runtime::Impl {
    Impl(Runtime& owner, HostOptions options);
    ~Impl();

    Runtime& owner;
    const HostOptions options;

    // The runtime plug-in code reaches through its entry points: the one
    // running a call, else the newest alive. Null when none is alive.
    static Impl* active();
    static bool isAlive(const Runtime* rt);

    // ---------------------------------------------------------- faults
    // A fault is a misuse by plug-in code that the runtime survives: a
    // dangling handle, an unknown class definition, a malformed record.
    // Faults of a call from C++ come back from it as UsageError; others wait
    // in this list for takeFaults().
    std::vector<std::string> faults;
    void fault(std::string message);

    // The exception raised and not yet delivered; holds one reference.
    ObjectRec* pending = nullptr;
    void raise(ObjectRec* exception);                // takes a new reference
    void raiseNew(const char* className, const std::string& message, RBInteger errorNumber);
    HostException describeException(ObjectRec& exception);
    // The message and error number of an exception; null for other objects.
    detail::ExceptionPart* exceptionPart(ObjectRec& o);

    // ---------------------------------------------------------- loading
    struct Library {
        void* handle = nullptr;
        std::string copyPath;  // private copy to delete, or ""
    };
    std::vector<Library> libraries;
    std::map<std::string, int> resolveCounts;
    int pluginVersion = -1;
    void* resolve(const char* entryName);
    void closeLibraries();
    bool withholds(std::string_view nameOrDeclaration) const;

    // ---------------------------------------------------------- strings
    detail::PointerSet<StringRec> strings;
    std::deque<std::unique_ptr<StringRec>> deadStrings;  // not reused for a while
    detail::PointerSet<const void> openStringData;        // PluginGetStringData results

    REALstring newString(std::string_view bytes, uint32_t encoding);  // one reference
    REALstring newString(std::string&& bytes, uint32_t encoding);     // takes the bytes over
    // Records of strings out of quarantine, for new strings to reuse.
    std::vector<std::unique_ptr<StringRec>> spareStrings;
    // The record of a live string; null (and a fault naming `where`) otherwise.
    StringRec* liveString(REALstring s, const char* where);
    void lockString(REALstring s, const char* where);
    void unlockString(REALstring s, const char* where);

    // ---------------------------------------------------------- objects
    detail::PointerSet<ObjectRec> objects;
    std::deque<ObjectRec*> deadObjects;  // freed later, so stale handles stay unknown
    // Blocks out of quarantine by size, for new instances to reuse.
    std::unordered_map<size_t, std::vector<void*>> spareObjects;
    size_t spareObjectCount = 0;
    bool tearingDown = false;

    // A new instance with its initializers run; one reference. Null (and a
    // fault) when the class chain cannot be resolved.
    ObjectRec* newInstance(ClassRec& cls);
    ObjectRec* liveObject(REALobject o, const char* where);
    void lockObject(REALobject o, const char* where);
    void unlockObject(REALobject o, const char* where);
    void release(ObjectRec* o);  // one reference of the runtime's own
    bool isA(const ObjectRec& o, const ClassRec& cls) const;
    void* part(ObjectRec& o, const ClassRec& cls) const;
    // The part of a host class in `self`, checked: null and a fault when self
    // is no live instance of that class.
    template <typename T>
    T* hostPart(REALobject self, const char* hostClassName, const char* where);

    // ---------------------------------------------------------- classes
    std::vector<std::unique_ptr<ClassRec>> classes;
    std::unordered_map<std::string, ClassRec*> classesByName;  // lower-case full name
    std::unordered_map<const REALclassDefinition*, ClassRec*> classesByDef;
    std::unique_ptr<ModuleInfo> module;
    std::vector<ClassInfo> looseInfos;  // snapshot for looseClasses()

    void registerHostClasses();
    void registerModule(REALmoduleDefinition* def);
    void registerClass(REALclassDefinition* def);
    // Lays out the class chain of `cls` (its super-classes first); false and a
    // fault when a super-class is missing or the chain loops.
    bool resolveChain(ClassRec& cls);
    // By full name, or by name within a module or without the module prefix.
    ClassRec* findClass(std::string_view name) const;
    ClassRec* hostClass(const char* name) const;
    ClassRec* classOfRef(REALclassRef ref, const char* where);
    ClassRec* classOfDef(const REALclassDefinition* def, const char* where);

    // ---------------------------------------------------------- members
    // Kind of a declared type: the module's enumerations and the host's
    // count as Integer, anything not a value type as an object.
    Kind kindOf(const std::string& type) const;
    mutable std::unordered_map<std::string, Kind> kinds;  // by type as written
    bool isEnumType(const std::string& type) const;
    // Whether `value` may be passed for a parameter of `type`.
    bool accepts(const std::string& type, const Value& value) const;

    // Members of the chain of `cls`, own class first.
    const PropertyInfo* findProperty(ClassRec& cls, std::string_view name) const;
    // Instance or shared methods of the chain, by exact declaration.
    const MethodInfo* findMethod(ClassRec& cls, std::string_view declaration, bool shared) const;
    // By name, the first overload (own class first) that takes `args`.
    const MethodInfo* chooseOverload(ClassRec& cls, const std::string& name,
                                     const std::vector<Value>& args, bool shared,
                                     const char* what) const;

    // ---------------------------------------------------------- resolved once
    // Names, declarations and class names resolved, and members prepared for
    // calling, the first time each is used.
    detail::CallCache callCache;
    detail::TypeCheck typeCheck(const std::string& type) const;
    bool accepts(const detail::TypeCheck& check, const Value& value) const;
    bool acceptsObject(const detail::TypeCheck& check, const ObjectRec& o) const;
    detail::PreparedMethod& prepared(const MethodInfo& m, bool shared);
    detail::PreparedProperty& prepared(const PropertyInfo& p);
    // Every overload of `name` along the chain of `cls`; null when none.
    const detail::Resolution* methodsNamed(ClassRec& cls, std::string_view name, bool shared);
    // chooseOverload, remembered.
    detail::PreparedMethod& chooseMethod(ClassRec& cls, const std::string& name,
                                         const std::vector<Value>& args, bool shared,
                                         const char* what);
    // findMethod, findProperty and findClass, remembered.
    detail::PreparedMethod* methodDeclared(ClassRec& cls, std::string_view declaration, bool shared);
    detail::PreparedProperty* propertyNamed(ClassRec& cls, std::string_view name);
    ClassRec* classNamed(std::string_view name);

    // Calls a plain function through its prepared interface with arguments
    // of the kinds it takes (checked by the caller) and makes a Value of the
    // result, adopting the reference of a string or object. A junk result is
    // a UsageError.
    Value invoke(detail::PreparedCall& call, void* function, detail::CallArguments& args,
                 const detail::TypeCheck& result, const std::string& resultType,
                 const detail::CallLabel& what);
    Value getProperty(ObjectRec& self, const std::string& name, const char* where);

    // Removes and returns the faults recorded after the first `mark`.
    std::vector<std::string> takeFaultsSince(size_t mark);
};

namespace detail {

using Impl = RuntimeAccess::Impl;

// Makes a runtime current for a while: every call from C++ into plug-in
// code runs inside one, so the plug-in's entry points reach that runtime.
class Activation {
public:
    explicit Activation(Impl& rt);
    ~Activation();
    Activation(const Activation&) = delete;
    Activation& operator=(const Activation&) = delete;
private:
    Impl* saved_;
};

// One call from C++ into plug-in code. Keeps the call's raised exception and
// faults apart from anything pending outside it; finish() turns them into
// UsageError (faults first) or HostException. Whatever is not delivered is
// released when the scope ends.
class CallScope {
public:
    explicit CallScope(Impl& rt);
    ~CallScope();
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
    void finish();
private:
    Impl& rt_;
    Activation activation_;
    ObjectRec* savedPending_;
    size_t faultMark_;
};

// Storage of one argument in the form the callee takes it.
union Slot {
    int64_t integer;
    double number;
    float single;
    uint8_t boolean;
    uint32_t color;
    void* handle;
};

// Names a member in messages, made into text only when one is needed.
struct CallLabel {
    const char* prefix;
    const std::string& cls;
    const std::string& member;
    std::string text() const;  // prefix + "Class.member"
};

// The arguments of one call in the form the callee takes them, on the stack
// for the usual few. The runtime holds a reference on each string and
// object among them (the instance too) for the length of the call.
class CallArguments {
public:
    CallArguments(Impl& rt, size_t count);
    ~CallArguments();
    CallArguments(const CallArguments&) = delete;
    CallArguments& operator=(const CallArguments&) = delete;
    void addSelf(ObjectRec& o);
    void addInteger(RBInteger v);
    void add(Kind kind, const Value& v);
    void** pointers() { return pointers_; }
private:
    struct Held {
        void* handle;
        bool object;
    };
    static constexpr size_t kInline = 8;
    Slot& next();
    void hold(void* handle, bool object);
    Impl& rt_;
    size_t capacity_, count_ = 0, heldCount_ = 0;
    Slot inlineSlots_[kInline];
    void* inlinePointers_[kInline];
    Held inlineHeld_[kInline];
    std::vector<Slot> heapSlots_;
    std::vector<void*> heapPointers_;
    std::vector<Held> heapHeld_;
    Slot* slots_ = inlineSlots_;
    void** pointers_ = inlinePointers_;
    Held* held_ = inlineHeld_;
};

inline REALobject Handle(ObjectRec* o) { return reinterpret_cast<REALobject>(o); }
inline ObjectRec* Record(REALobject o) { return reinterpret_cast<ObjectRec*>(o); }
inline REALstring Handle(StringRec* s) { return reinterpret_cast<REALstring>(s); }

// Throws UsageError with `message`.
[[noreturn]] void Usage(const std::string& message);

}  // namespace detail

template <typename T>
T* Runtime::Impl::hostPart(REALobject self, const char* hostClassName, const char* where) {
    ObjectRec* o = liveObject(self, where);
    if (!o) return nullptr;
    ClassRec* cls = hostClass(hostClassName);
    if (!cls || !isA(*o, *cls)) {
        fault(std::string(where) + ": the object is a " + o->cls->info.fullName + ", not a " +
              hostClassName);
        return nullptr;
    }
    return static_cast<T*>(part(*o, *cls));
}

}  // namespace vexrt
