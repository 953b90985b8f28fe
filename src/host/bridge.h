// The bridge to the host: one wrapper per host service, under the host SDK's
// name. Each resolves its entry point by name on first use, caches it, and
// returns the neutral result (0, false, null) while the host lacks it.
#pragma once

#include "host/plugin_sdk.h"

// Stored once by REALPluginMain; every wrapper resolves through it.
void BridgeSetResolver(REALResolverProc resolver);
// Forget every cached entry (a new load of the plug-in in the same process).
void BridgeReset();

bool REALGetStringData(REALstring s, uint32_t encoding, REALstringData* out);
void REALDisposeStringData(REALstringData* data);
REALstring REALBuildStringWithEncoding(const char* bytes, size_t length, uint32_t encoding);
REALstring REALBuildString(const char* bytes, size_t length, uint32_t encoding);
// Raw bytes of a host string and their count; null (length untouched) for nil.
const char* REALGetStringContents(REALstring s, size_t* outLength);
REALstring REALAddStrings(REALstring a, REALstring b);
void REALLockString(REALstring s);
void REALUnlockString(REALstring s);
void REALLockObject(REALobject o);
void REALUnlockObject(REALobject o);
REALobject REALnewInstanceOfClass(REALclassDefinition* def);
REALobject REALnewInstanceWithClass(REALclassRef cls);
REALclassRef REALGetClassRef(const char* fullName);
void* REALLoadObjectMethod(REALobject o, const char* declaration);
void* REALLoadSharedMethod(REALclassRef cls, const char* declaration);
void* REALLoadFrameworkMethod(const char* declaration);
void REALRaiseException(REALobject exception);
REALobject REALCallFunctionWithExceptionHandler(REALExceptionHandlerCallback fn, void* arg);
bool REALGetPropValueString(REALobject o, const char* prop, REALstring* out);
bool REALGetPropValueBoolean(REALobject o, const char* prop, RBBoolean* out);
bool REALGetPropValueInteger(REALobject o, const char* prop, RBInteger* out);
bool REALGetPropValueObject(REALobject o, const char* prop, REALobject* out);
REALarray REALCreateArray(int elementType, RBInteger upperBound);
void REALInsertArrayValueObject(REALarray a, RBInteger index, REALobject value);
double REALGetRBVersion();
bool REALinRuntime();
void REALRegisterModule(REALmoduleDefinition* def);
void REALRegisterClass(REALclassDefinition* def);

// The class's part of an instance: computed locally from the offset the host
// stored in the class definition at registration.
inline void* REALGetClassData(REALobject instance, REALclassDefinition* def) {
    return reinterpret_cast<char*>(instance) + def->forSystemUse;
}
