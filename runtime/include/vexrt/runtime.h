// A small host runtime for the plug-in: it loads the plug-in, answers the
// host entry points the plug-in resolves by name, keeps host strings and
// objects with their reference counts, and lets C++ code call every
// registered member by name or declaration, the way a host program would.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// The plug-in record types the host shares with the plug-in; the build
// puts a copy of the plug-in's own declarations beside this header.
#include <vexrt/plugin_sdk.h>

// VEXLOMARWORD_PLUGIN: the plug-in's path as a string, defined by the build
// and by CMake's package. pkg-config cannot hand a quoted string through a
// shell's command substitution, so it defines VEXLOMARWORD_PLUGIN_PATH as
// the bare path, made a string here.
#if !defined(VEXLOMARWORD_PLUGIN) && defined(VEXLOMARWORD_PLUGIN_PATH)
#define VEXRT_STRING_OF_(path) #path
#define VEXRT_STRING_OF(path) VEXRT_STRING_OF_(path)
#define VEXLOMARWORD_PLUGIN VEXRT_STRING_OF(VEXLOMARWORD_PLUGIN_PATH)
#endif

namespace vexrt {

class Runtime;

// Where a program finds the plug-in: $VEXWORD_PLUGIN when set, else one
// installed beside the program (../lib/ from the program's own folder, as a
// moved or unpacked install has it), else `built`, the path the program was
// built with (VEXLOMARWORD_PLUGIN).
std::string FindPlugin(const std::string& built);

// How the host presents itself to the plug-in. Fixed for one load.
struct HostOptions {
    double version = 2024.01;         // what REALGetRBVersion answers
    bool inRuntime = true;            // what REALinRuntime answers
    // Entry names the resolver answers null for; also method declarations
    // ("LenB( s as string ) as integer") the method loaders answer null for.
    std::set<std::string> withheld;
    // Folder in which "TemporaryFile() as FolderItem" and
    // "GetTemporaryFolderItem() as FolderItem" make their paths; empty means
    // TMPDIR, else /tmp. The folder need not exist (to make saves fail).
    std::string temporaryFolder;
};

// A host exception that reached C++: raised by the plug-in (or by the host
// on its behalf) during a call and not caught by the plug-in.
class HostException : public std::runtime_error {
public:
    HostException(std::string className, std::string message, int64_t errorNumber);
    const std::string& className() const { return className_; }
    const std::string& message() const { return message_; }
    int64_t errorNumber() const { return errorNumber_; }
    // "WordException -3: Could not open ...": the class without its module.
    std::string describe() const;
private:
    std::string className_, message_;
    int64_t errorNumber_;
};

// A call that does not fit the registered declarations: unknown member,
// wrong argument count or types, wrong result type. A fault of the caller.
class UsageError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Counted reference to a host string; copy locks, destruction unlocks.
class String {
public:
    String() = default;
    explicit String(REALstring s, bool adopt);  // adopt: take over one count
    String(const String& o);
    String(String&& o) noexcept;
    String& operator=(String o) noexcept;
    ~String();
    REALstring get() const { return s_; }
    REALstring release();                   // hand the count to the caller
    bool isNil() const { return s_ == nullptr; }
    std::string bytes() const;              // raw bytes; "" for nil
    uint32_t encoding() const;              // kREALTextEncodingNone for nil
private:
    REALstring s_ = nullptr;
    Runtime* rt_ = nullptr;  // the runtime that keeps the string
};

// Counted reference to a host object.
class Object {
public:
    Object() = default;
    explicit Object(REALobject o, bool adopt);
    Object(const Object& o);
    Object(Object&& o) noexcept;
    Object& operator=(Object o) noexcept;
    ~Object();
    REALobject get() const { return o_; }
    REALobject release();
    bool isNil() const { return o_ == nullptr; }
    explicit operator bool() const { return o_ != nullptr; }
    bool operator==(const Object& o) const { return o_ == o.o_; }
    bool operator!=(const Object& o) const { return o_ != o.o_; }
private:
    REALobject o_ = nullptr;
    Runtime* rt_ = nullptr;  // the runtime that keeps the object
};

struct Color {
    RBColor value = 0;
    bool operator==(const Color& o) const { return value == o.value; }
};

struct Nil {};

// A host value crossing a call: nil, Integer (also enumerations), Double,
// Boolean, Color, String, object (also arrays, which are host objects).
class Value {
public:
    Value() = default;                 // nil
    Value(Nil) {}
    Value(std::nullptr_t) {}
    Value(int v) : v_(RBInteger(v)) {}
    Value(long v) : v_(RBInteger(v)) {}
    Value(long long v) : v_(RBInteger(v)) {}
    Value(double v) : v_(v) {}
    Value(bool v) : v_(v) {}
    Value(Color c) : v_(c) {}
    Value(const char* utf8);           // a new UTF-8 string of the current runtime
    Value(const std::string& utf8);
    Value(std::string&& utf8);         // the bytes are taken over, not copied
    Value(String s) : v_(std::move(s)) {}
    Value(Object o) : v_(std::move(o)) {}

    bool isNil() const;                // nil, nil string or nil object
    bool isInteger() const { return std::holds_alternative<RBInteger>(v_); }
    bool isDouble() const { return std::holds_alternative<double>(v_); }
    bool isBool() const { return std::holds_alternative<bool>(v_); }
    bool isColor() const { return std::holds_alternative<Color>(v_); }
    bool isString() const { return std::holds_alternative<String>(v_); }
    bool isObject() const { return std::holds_alternative<Object>(v_); }

    // Accessors throw UsageError on a kind mismatch.
    RBInteger integer() const;
    double number() const;
    bool boolean() const;
    Color color() const;
    const String& string() const;      // a nil string for nil
    std::string text() const;          // bytes of the string; "" for nil
    const Object& object() const;      // a nil object for nil
private:
    std::variant<Nil, RBInteger, double, bool, Color, String, Object> v_;
};

// What the plug-in registered, with declarations parsed as the host does.
struct ParamInfo {
    std::string name;
    std::string type;   // as written: "String", "Integer", "VexlomarWord.Paragraph", "DateTime", "VexlomarWord.Bookmark()"
};

struct MethodInfo {
    std::string name;
    std::string declaration;
    std::vector<ParamInfo> params;
    std::string returnType;   // empty for none
    uint32_t flags = 0;
    bool assignable = false;
    const REALmethodDefinition* def = nullptr;
};

struct PropertyInfo {
    std::string name;
    std::string type;
    uint32_t flags = 0;
    bool readOnly = false;
    const REALproperty* def = nullptr;
};

struct ConstantInfo {
    std::string name;
    std::string value;        // as written, blanks trimmed
    std::string declaration;
    uint32_t flags = 0;
};

struct EnumInfo {
    std::string name;
    std::string type;
    uint32_t flags = 0;
    std::vector<std::pair<std::string, int64_t>> entries;  // in order
    int64_t valueOf(const std::string& entry) const;       // throws UsageError
};

struct ClassInfo {
    std::string name;             // as registered ("Paragraph")
    std::string fullName;         // with the module ("VexlomarWord.Paragraph")
    std::string superName;        // as registered
    std::string interfaces;
    size_t dataSize = 0;
    intptr_t dataOffset = 0;      // what the host wrote into forSystemUse
    bool hasInitializer = false, hasDestructor = false;
    uint32_t flags = 0;
    std::vector<PropertyInfo> properties;
    std::vector<MethodInfo> methods;
    std::vector<MethodInfo> sharedMethods;
    std::vector<ConstantInfo> constants;
    const REALclassDefinition* def = nullptr;
};

struct ModuleInfo {
    std::string name;
    std::vector<ConstantInfo> constants;
    std::vector<EnumInfo> enums;
    std::vector<ClassInfo> classes;                // in registration order
    const EnumInfo* findEnum(const std::string& name) const;
    const ClassInfo* findClass(const std::string& name) const;  // with or without module prefix
};

// One host process. Host entry points are plain functions and reach "the
// current runtime": the one running a call from C++, else the newest alive.
// Runtimes may live side by side (a test can make its own next to a shared
// one), but plug-in code loaded in one must only be called through it.
// String and Object handles remember their runtime.
class Runtime {
public:
    explicit Runtime(HostOptions options = {});
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    static Runtime& current();           // throws UsageError when none is alive

    // Load the plug-in from a shared library and call REALPluginMain with the
    // resolver. With freshCopy the library is first copied to a private file,
    // so this load gets its own globals even when the same library is already
    // loaded in this process.
    void loadPlugin(const std::string& path, bool freshCopy = false);
    // The plug-in's code linked into this program: call its entry directly.
    void loadLinked(REALPluginMainProc pluginMain);

    const HostOptions& options() const { return options_; }

    // What the plug-in registered: the module (null if none), and classes
    // registered one by one with PluginRegisterClass.
    const ModuleInfo* module() const;
    const std::vector<ClassInfo>& looseClasses() const;
    int registeredPluginVersion() const;          // -1 when never announced
    // How often the plug-in asked the resolver for an entry name.
    int resolveCount(const std::string& entryName) const;

    // Values.
    String makeString(std::string_view bytes, uint32_t encoding = kREALTextEncodingUTF8);
    Object makeFolderItem(const std::string& nativePath);
    // offsetSeconds empty: the host's local time zone. Throws HostException
    // for an invalid date, as the host constructor does.
    Object makeDateTime(int64_t year, int64_t month, int64_t day, int64_t hour,
                        int64_t minute, int64_t second,
                        std::optional<int64_t> offsetSeconds = std::nullopt);
    Object makeTimeZone(int64_t offsetSeconds);
    // Offset of the host's local time zone (the process's TZ) at a moment.
    int64_t localOffsetSeconds(int64_t unixTime) const;

    // Members, by name (overloads chosen by the arguments) or by the exact
    // registered declaration. Dispatch starts at the object's own class and
    // walks up the super-classes. A raised exception becomes HostException.
    Value get(const Object& self, const std::string& property);
    void set(const Object& self, const std::string& property, const Value& value);
    Value call(const Object& self, const std::string& method, const std::vector<Value>& args = {});
    // The assignment form of an assignable method: self.method(args) = value.
    void assign(const Object& self, const std::string& method, const std::vector<Value>& args, const Value& value);
    Value callShared(const std::string& className, const std::string& method, const std::vector<Value>& args = {});
    // A new instance, as `New` does: initializers, then the constructor that
    // takes `args` (if the class has constructors).
    Object newInstance(const std::string& className, const std::vector<Value>& args = {});
    // For Each value In iterable: the object (its class declaring Iterable)
    // gives its iterator, "Iterator() as Iterator"; then "MoveNext() as
    // Boolean" and "Value() as Variant" until MoveNext answers false. `body`
    // returns false to leave the loop early. A host exception ends the loop
    // and comes out as HostException.
    void forEach(const Object& iterable, const std::function<bool(const Value&)>& body);

    // Host-side objects and arrays.
    std::string className(const Object& o) const;   // full name, "VexlomarWord.Paragraph", "DateTime"
    bool isA(const Object& o, const std::string& className) const;
    size_t arrayCount(const Object& array) const;
    Object arrayItem(const Object& array, size_t index) const;
    // Properties of host classes (DateTime, TimeZone, FolderItem, exceptions).
    Value hostProperty(const Object& o, const std::string& name) const;
    // Pointer to the instance part of a class, as REALGetClassData gives it.
    void* classData(const Object& o, const std::string& className) const;

    // Accounting: live host objects and strings of this runtime.
    size_t liveObjects() const;
    size_t liveStrings() const;
    // PluginGetStringData results not yet given back with PluginDisposeStringData.
    size_t openStringData() const;
    // Live objects by full class name, to tell what leaked.
    std::map<std::string, size_t> liveObjectCensus() const;

    // Faults of plug-in code outside any call from C++ (say, in a destructor
    // run by a C++ Object going out of scope): dangling handles and the like.
    // Faults during a call come back from the call as UsageError.
    std::vector<std::string> takeFaults();
    // An exception raised outside any call from C++ (plug-in code run
    // directly by a linked test) and not delivered: take it, if any.
    std::optional<HostException> takeRaisedException();

private:
    struct Impl;
    HostOptions options_;
    std::unique_ptr<Impl> impl_;
    friend struct RuntimeAccess;
};

}  // namespace vexrt
