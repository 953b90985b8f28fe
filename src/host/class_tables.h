// Shorthands for the registration tables each class file defines. Every
// function they register is wrapped in the entry guard (entry_guard.h): no
// C++ exception reaches the host. Register functions only through them.
#pragma once

#include "host/entry_guard.h"
#include "host/plugin_sdk.h"

#define VEX_COUNT(table) (sizeof(table) / sizeof((table)[0]))

// The guarded form of a registered function, as the tables hold it.
#define VEX_ENTRY(function) reinterpret_cast<void*>(GuardedEntry<function>::Entry())

// A property with a getter and, for a read/write property, a setter.
#define VEX_PROPERTY(name, type, getter, setter) \
    { "", name, type, REALmemberFlagPublic, VEX_ENTRY(getter), VEX_ENTRY(setter), 0 }
#define VEX_READONLY_PROPERTY(name, type, getter) \
    { "", name, type, REALmemberFlagPublic, VEX_ENTRY(getter), nullptr, 0 }

// An instance method, or in a table of shared methods a shared one.
#define VEX_METHOD(function, declaration) \
    { VEX_ENTRY(function), nullptr, declaration, REALmemberFlagPublic }
// An assignable method: `function` for the read form, `setter` for
// "method(args) = value".
#define VEX_ASSIGNABLE_METHOD(function, setter, declaration) \
    { VEX_ENTRY(function), VEX_ENTRY(setter), declaration, REALmemberFlagPublic }
// The parameterless constructor every class registers; host programs do not
// call it, instances come from the library's operations.
#define VEX_HIDDEN_CONSTRUCTOR(function) \
    { VEX_ENTRY(function), nullptr, "Constructor()", REALmemberFlagPublic | REALmemberFlagHidden }

// A constructor that does nothing, for the classes that need no more.
inline void EmptyConstructor(REALobject) {}

// A class definition of the module: record version 13, public, no events,
// no interfaces, constants or shared properties. The host writes the
// instance-part offset into forSystemUse when it registers the class.
// Written as ClassDefinition(name, superName, dataSize, initializer,
// destructor, properties, ...): the macro guards the initializer and the
// destructor (either may be nullptr) as the tables' macros guard members.
#define ClassDefinition(name, superName, dataSize, initializer, destructor, ...)                     \
    ClassDefinition_Make(name, superName, dataSize, GuardedEntry<initializer>::Entry(),            \
                         GuardedEntry<destructor>::Entry(), __VA_ARGS__)

constexpr REALclassDefinition ClassDefinition_Make(const char* name, const char* superName, size_t dataSize,
                                                   REALinitializerProc initializer, REALdestructorProc destructor,
                                                   REALproperty* properties, size_t propertyCount,
                                                   REALmethodDefinition* methods, size_t methodCount,
                                                   REALmethodDefinition* sharedMethods = nullptr,
                                                   size_t sharedMethodCount = 0) {
    return REALclassDefinition{kREALPluginVersion, name,     superName,   dataSize,      0,
                               initializer,        destructor, properties, propertyCount, methods,
                               methodCount,        nullptr,  0,           "",            nullptr,
                               0,                  REALclassFlagPublic, sharedMethods, sharedMethodCount, nullptr,
                               0};
}
