// The host's own classes. Each is a class definition like the plug-in's:
// a part in the instance, an initializer and destructor for it, and tables
// of plain functions for its properties and methods. The runtime registers
// them at start, so plug-in classes can inherit from them and both kinds are
// called the same way.
#pragma once

#include <string>
#include <vector>

#include "internal.h"

namespace vexrt::detail {

// Class names, as pluginObjectType takes them.
constexpr const char* kRuntimeException = "RuntimeException";
constexpr const char* kInvalidArgumentException = "InvalidArgumentException";
constexpr const char* kOutOfBoundsException = "OutOfBoundsException";
constexpr const char* kFolderItem = "FolderItem";
constexpr const char* kDateTime = "DateTime";
constexpr const char* kTimeZone = "TimeZone";
constexpr const char* kObjectArray = "Object()";

// Every host class, super-classes first.
std::vector<REALclassDefinition*> HostClasses();

// A host class record: no constants, no events, public.
inline REALclassDefinition HostClass_Define(const char* name, const char* superName,
                                            size_t dataSize, REALinitializerProc initializer,
                                            REALdestructorProc destructor,
                                            REALproperty* properties, size_t propertyCount,
                                            REALmethodDefinition* methods, size_t methodCount,
                                            REALmethodDefinition* shared = nullptr,
                                            size_t sharedCount = 0) {
    return REALclassDefinition{kREALPluginVersion, name, superName, dataSize, 0, initializer,
                               destructor, properties, propertyCount, methods, methodCount,
                               nullptr, 0, "", nullptr, 0, REALclassFlagPublic, shared,
                               sharedCount, nullptr, 0};
}

// The part of a host class in an instance the runtime vouches for (in its
// initializer and destructor); members use Impl::hostPart, which checks.
template <typename T>
T* HostClass_Part(REALobject self, const REALclassDefinition& def) {
    return reinterpret_cast<T*>(reinterpret_cast<char*>(self) + def.forSystemUse);
}

template <typename F>
void* HostClass_Function(F* function) {
    return reinterpret_cast<void*>(function);
}

// Host enumerations that declarations may name as parameter types.
bool HostEnum_Is(const std::string& lowerCaseType);

// --------------------------------------------------------------- parts

struct ExceptionPart {
    std::string message;  // bytes as given
    RBInteger errorNumber = 0;
};

struct FolderItemPart {
    std::string path;
};

struct DateTimePart {
    RBInteger year, month, day, hour, minute, second, nanosecond;
    bool fixedOffset;  // false: the host's local time zone
    RBInteger offsetSeconds;
};

struct TimeZonePart {
    RBInteger offsetSeconds;
};

struct ArrayPart {
    std::vector<REALobject> items;  // each counted; nil allowed
};

extern REALclassDefinition RuntimeExceptionClass;
extern REALclassDefinition InvalidArgumentExceptionClass;
extern REALclassDefinition OutOfBoundsExceptionClass;
extern REALclassDefinition FolderItemClass;
extern REALclassDefinition DateTimeClass;
extern REALclassDefinition TimeZoneClass;
extern REALclassDefinition ObjectArrayClass;

// ----------------------------------------------------- made by the runtime

// New instances with one reference; null when the runtime has no such class.
ObjectRec* FolderItem_New(Impl& rt, const std::string& path);
ObjectRec* TimeZone_New(Impl& rt, RBInteger offsetSeconds);
// A unique path in the temporary folder that does not exist yet.
std::string FolderItem_TemporaryPath(const Impl& rt);

}  // namespace vexrt::detail
