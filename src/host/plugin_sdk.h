// Our own declarations of the host plug-in interface: the record types the
// plug-in registers with, the opaque host handles, and the signature of every
// host entry point the plug-in resolves by name. The host runtime in
// runtime/ includes this header too, so both sides agree on one ABI. The
// runtime's installed headers carry a copy of it, so the guard is a macro:
// a program that sees both copies sees one.
#ifndef VEXWORD_PLUGIN_SDK_H
#define VEXWORD_PLUGIN_SDK_H

#include <cstddef>
#include <cstdint>

extern "C" {

// ---------------------------------------------------------------- handles

struct REALstringStruct;
struct REALobjectStruct;
struct REALarrayStruct;
struct REALclassRefStruct;

typedef REALstringStruct* REALstring;    // null is the nil string
typedef REALobjectStruct* REALobject;    // null is nil
typedef REALarrayStruct* REALarray;
typedef REALclassRefStruct* REALclassRef;

typedef int64_t RBInteger;
typedef uint32_t RBColor;  // 0xTTRRGGBB, TT the host's transparency
typedef bool RBBoolean;

enum : uint32_t {
    kREALTextEncodingNone = 0,
    kREALTextEncodingUTF8 = 0x08000100,
    // A legacy encoding the host knows but cannot convert to UTF-8.
    kREALTextEncodingUnconvertible = 0x0B01,
};

enum : int {
    kREALPluginVersion = 13,  // record version of every definition below
};

// Member flags.
enum : uint32_t {
    REALmemberFlagPublic = 0x04,
    REALmemberFlagHidden = 0x80,     // with Public: 0x84
    REALconstantFlagPublic = 0x24,   // module and class constants
    REALenumFlagPublic = 0x20,
    REALclassFlagPublic = 0x04,
};

// Element types of host arrays.
enum REALArrayType : int {
    kREALArrayTypeObject = 1,
    kREALArrayTypeInteger = 2,
    kREALArrayTypeString = 3,
};

// Out record of PluginGetStringData.
struct REALstringData {
    const void* data;   // bytes, NUL-terminated for convenience
    size_t length;      // byte count without the terminator
    uint32_t encoding;
    void* hostReserved; // the host's own bookkeeping
};

// ---------------------------------------------------------------- records

// Property: getter(instance, param) -> value; setter(instance, param, value).
struct REALproperty {
    const char* group;
    const char* name;
    const char* type;
    uint32_t flags;
    void* getter;
    void* setter;
    intptr_t param;
};

// Method: function(instance, args...) for instance methods, function(args...)
// for shared methods. With a setter function the method is assignable: the
// read form calls `function`, the assignment form calls
// setterFunction(instance, args..., value).
struct REALmethodDefinition {
    void* function;
    void* setterFunction;
    const char* declaration;
    uint32_t flags;
};

struct REALconstant {
    const char* declaration;  // "Name = value"
    uint32_t flags;
};

struct REALenum {
    const char* name;
    const char* type;          // "Integer"
    uint32_t flags;
    const char* const* fields; // "NAME = 1" strings
    size_t fieldCount;
};

typedef void (*REALinitializerProc)(REALobject instance);
typedef void (*REALdestructorProc)(REALobject instance);

struct REALclassDefinition {
    int version;
    const char* name;
    const char* superName;  // empty or null for a root class
    size_t dataSize;        // size of this class's own part of an instance
    intptr_t forSystemUse;  // written by the host at registration: offset of
                            // this class's part within an instance
    REALinitializerProc initializer;
    REALdestructorProc destructor;
    REALproperty* properties;
    size_t propertyCount;
    REALmethodDefinition* methods;
    size_t methodCount;
    void* events;           // always null here
    size_t eventCount;
    const char* interfaces; // empty, or "Iterator, Iterable"
    REALconstant* constants;
    size_t constantCount;
    uint32_t flags;
    REALmethodDefinition* sharedMethods;
    size_t sharedMethodCount;
    void* sharedProperties; // always null here
    size_t sharedPropertyCount;
};

struct REALmoduleDefinition {
    int version;
    const char* name;
    REALmethodDefinition* methods;
    size_t methodCount;
    REALconstant* constants;
    size_t constantCount;
    REALproperty* properties;
    size_t propertyCount;
    void* structures;
    size_t structureCount;
    REALenum* enums;
    size_t enumCount;
    REALclassDefinition** classes;
    size_t classCount;
};

// ---------------------------------------------------------------- entries

// The one function the host hands to the plug-in: entry name -> address.
typedef void* (*REALResolverProc)(const char* entryName);

// The plug-in's exported entry.
typedef void (*REALPluginMainProc)(REALResolverProc resolver);

// Signatures of the host entries, by the name the plug-in resolves.
typedef bool (*PluginGetStringDataProc)(REALstring s, uint32_t encoding,
                                        REALstringData* out);
typedef void (*PluginDisposeStringDataProc)(REALstringData* data);
typedef REALstring (*REALBuildStringWithEncodingProc)(const char* bytes,
                                                      size_t length,
                                                      uint32_t encoding);
typedef const char* (*StringGetCStringProc)(REALstring s);
typedef RBInteger (*LenBProc)(REALstring s);  // "LenB( s as string ) as integer"
typedef REALstring (*RuntimeAddStringProc)(REALstring a, REALstring b);
typedef void (*REALLockStringProc)(REALstring s);
typedef void (*REALUnlockStringProc)(REALstring s);
typedef void (*REALLockObjectProc)(REALobject o);
typedef void (*REALUnlockObjectProc)(REALobject o);
typedef REALobject (*PluginNewInstanceOfClassProc)(REALclassDefinition* def);
typedef REALobject (*CreateInstanceProc)(REALclassRef cls);
typedef REALclassRef (*pluginObjectTypeProc)(const char* fullName);
typedef void* (*REALLoadObjectMethodProc)(REALobject o, const char* decl);
typedef void* (*PluginLoadSharedMethodProc)(REALclassRef cls,
                                            const char* decl);
typedef void* (*REALLoadGlobalMethodProc)(const char* module,
                                          const char* decl);
typedef void (*RuntimeRaiseExceptionProc)(REALobject exception);
typedef void (*REALExceptionHandlerCallback)(void* arg);
typedef REALobject (*PluginCallFunctionWithExceptionHandlerProc)(
    REALExceptionHandlerCallback fn, void* arg);
typedef bool (*REALGetPropValueStringProc)(REALobject o, const char* prop,
                                           REALstring* out);
typedef bool (*REALGetPropValueBoolProc)(REALobject o, const char* prop,
                                         RBBoolean* out);
typedef bool (*REALGetPropValueIntegerProc)(REALobject o, const char* prop,
                                            RBInteger* out);
typedef bool (*REALGetPropValueObjectProc)(REALobject o, const char* prop,
                                           REALobject* out);
typedef REALarray (*RuntimeArrayCreateSingleDimBoundedArrayProc)(
    int elementType, RBInteger upperBound);
typedef void (*PluginObjectArrayInsertProcProc)(REALarray a, RBInteger index,
                                                REALobject value);
typedef double (*REALGetRBVersionProc)();
typedef bool (*REALinRuntimeProc)();
typedef void (*PluginRegisterModuleProc)(REALmoduleDefinition* def);
typedef void (*PluginRegisterClassProc)(REALclassDefinition* def);
typedef void (*RegisterPluginVersionProc)(int sdkVersion);

// Host methods reached by declaration (REALLoadObjectMethod and friends) are
// called as plain functions, the instance first:
//   "Constructor(message as String, errorCode as Integer)"
//       void (REALobject self, REALstring message, RBInteger errorCode)
//   DateTime "Constructor(Year as Integer, Month as Integer, Day as Integer,
//       hour as Integer, minute as Integer, second as Integer,
//       nanosecond as Integer, timeZone as TimeZone)"
//       void (REALobject self, RBInteger x7, REALobject timeZone)
//   TimeZone "Constructor(gmtOffsetInSeconds As Integer)"
//       void (REALobject self, RBInteger offset)
//   DateTime "ToString(dateStyle as DateTime.FormatStyles, timeStyle as
//       DateTime.FormatStyles) as String"
//       REALstring (REALobject self, RBInteger dateStyle, RBInteger timeStyle)
//   FolderItem shared "TemporaryFile() as FolderItem" and global
//       "GetTemporaryFolderItem() as FolderItem":  REALobject ()
//   global "ReplaceAll(source as String, oldString as String, newString as
//       String) as String":  REALstring (REALstring, REALstring, REALstring)

}  // extern "C"

#endif  // VEXWORD_PLUGIN_SDK_H
