// Raising host exceptions. Raising does not leave the plug-in's code: the
// host delivers the exception when the member function returns, so every
// caller returns its neutral result right after.
#pragma once

#include "host/plugin_sdk.h"

void ThrowInvalidArgumentException(const char* message, RBInteger errorNumber);
void ThrowOutOfBoundsException(const char* message, RBInteger errorNumber);
void ThrowWordException(const char* message, RBInteger errorNumber);
void InternalThrowException(REALclassRef cls, const char* message, RBInteger errorNumber);

// The registered WordException class (its definition lives with the raiser).
extern REALclassDefinition WordExceptionClass;
