// Shorthands for the registration tables each class file defines.
#pragma once

#include "host/plugin_sdk.h"

#define VEX_COUNT(table) (sizeof(table) / sizeof((table)[0]))

// A property with a getter and, for a read/write property, a setter.
#define VEX_PROPERTY(name, type, getter, setter) \
    { "", name, type, REALmemberFlagPublic, reinterpret_cast<void*>(getter), reinterpret_cast<void*>(setter), 0 }
#define VEX_READONLY_PROPERTY(name, type, getter) \
    { "", name, type, REALmemberFlagPublic, reinterpret_cast<void*>(getter), nullptr, 0 }

#define VEX_METHOD(function, declaration) \
    { reinterpret_cast<void*>(function), nullptr, declaration, REALmemberFlagPublic }
// An assignable method: `function` for the read form, `setter` for
// "method(args) = value".
#define VEX_ASSIGNABLE_METHOD(function, setter, declaration) \
    { reinterpret_cast<void*>(function), reinterpret_cast<void*>(setter), declaration, REALmemberFlagPublic }
// The parameterless constructor every class registers; host programs do not
// call it, instances come from the library's operations.
#define VEX_HIDDEN_CONSTRUCTOR(function) \
    { reinterpret_cast<void*>(function), nullptr, "Constructor()", REALmemberFlagPublic | REALmemberFlagHidden }

// A constructor that does nothing, for the classes that need no more.
inline void EmptyConstructor(REALobject) {}

// A class definition of the module: record version 13, public, no events,
// no interfaces, constants or shared properties. The host writes the
// instance-part offset into forSystemUse when it registers the class.
constexpr REALclassDefinition ClassDefinition(const char* name, const char* superName, size_t dataSize,
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
