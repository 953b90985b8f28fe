// The host entry points the plug-in resolves by name, each defined with the
// file of its topic. Plug-in code calls them with whatever handles it holds,
// so each one checks its handles, records a fault for a dead one and returns
// its neutral result instead of touching it.
#pragma once

#include "internal.h"

namespace vexrt::detail {

// The resolver handed to REALPluginMain.
void* Entry_Resolve(const char* entryName);

// strings.cpp
bool Entry_GetStringData(REALstring s, uint32_t encoding, REALstringData* out);
void Entry_DisposeStringData(REALstringData* data);
REALstring Entry_BuildStringWithEncoding(const char* bytes, size_t length, uint32_t encoding);
const char* Entry_StringGetCString(REALstring s);
REALstring Entry_AddString(REALstring a, REALstring b);
void Entry_LockString(REALstring s);
void Entry_UnlockString(REALstring s);

// objects.cpp
void Entry_LockObject(REALobject o);
void Entry_UnlockObject(REALobject o);
REALobject Entry_NewInstanceOfClass(REALclassDefinition* def);
REALobject Entry_CreateInstance(REALclassRef cls);
REALclassRef Entry_ObjectType(const char* fullName);

// members.cpp
void* Entry_LoadObjectMethod(REALobject o, const char* declaration);
void* Entry_LoadSharedMethod(REALclassRef cls, const char* declaration);
void* Entry_LoadGlobalMethod(const char* module, const char* declaration);
bool Entry_GetPropValueString(REALobject o, const char* prop, REALstring* out);
bool Entry_GetPropValueBool(REALobject o, const char* prop, RBBoolean* out);
bool Entry_GetPropValueInteger(REALobject o, const char* prop, RBInteger* out);
bool Entry_GetPropValueObject(REALobject o, const char* prop, REALobject* out);

// exceptions.cpp
void Entry_RaiseException(REALobject exception);
REALobject Entry_CallFunctionWithExceptionHandler(REALExceptionHandlerCallback fn, void* arg);

// host_arrays.cpp
REALarray Entry_CreateArray(int elementType, RBInteger upperBound);
void Entry_ObjectArrayInsert(REALarray a, RBInteger index, REALobject value);

// registry.cpp
void Entry_RegisterModule(REALmoduleDefinition* def);
void Entry_RegisterClass(REALclassDefinition* def);

// entries.cpp
double Entry_GetRBVersion();
bool Entry_InRuntime();
void Entry_RegisterPluginVersion(int version);

// framework.cpp: functions reached through REALLoadGlobalMethod(nullptr, ...).
void* Framework_Find(std::string_view normalisedDeclaration);

}  // namespace vexrt::detail
