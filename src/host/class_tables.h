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
