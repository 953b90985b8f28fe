// Raising host exceptions, and the plug-in's own exception class. A raised
// exception is only marked on the host side; the host delivers it when the
// member function returns.
#include "host/class_tables.h"
#include "host/exceptions.h"

#include "host/bridge.h"
#include "host/strings.h"

namespace {

typedef void (*ExceptionConstructorProc)(REALobject self, REALstring message,
                                         RBInteger errorCode);

constexpr const char* kExceptionConstructor =
    "Constructor(message as String, errorCode as Integer)";

// Host programs never call it; it exists so the class can be made.
void WordExceptionConstructor(REALobject) {}

REALmethodDefinition WordExceptionMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(WordExceptionConstructor),
};

// Constructs, raises and releases a fresh exception instance.
void RaiseInstance(REALobject exception, const char* message, RBInteger errorNumber) {
    if (!exception) return;
    auto constructor = reinterpret_cast<ExceptionConstructorProc>(
        REALLoadObjectMethod(exception, kExceptionConstructor));
    if (constructor) {
        REALstring text = UTF8ToString(message);
        constructor(exception, text, errorNumber);
        REALUnlockString(text);
    }
    REALRaiseException(exception);
    REALUnlockObject(exception);
}

}  // namespace

REALclassDefinition WordExceptionClass =
    ClassDefinition("WordException", "RuntimeException", 0, nullptr, nullptr, nullptr, 0,
                    WordExceptionMethods, VEX_COUNT(WordExceptionMethods));

void InternalThrowException(REALclassRef cls, const char* message, RBInteger errorNumber) {
    RaiseInstance(REALnewInstanceWithClass(cls), message, errorNumber);
}

void ThrowInvalidArgumentException(const char* message, RBInteger errorNumber) {
    InternalThrowException(REALGetClassRef("InvalidArgumentException"), message, errorNumber);
}

void ThrowOutOfBoundsException(const char* message, RBInteger errorNumber) {
    InternalThrowException(REALGetClassRef("OutOfBoundsException"), message, errorNumber);
}

void ThrowWordException(const char* message, RBInteger errorNumber) {
    RaiseInstance(REALnewInstanceOfClass(&WordExceptionClass), message, errorNumber);
}
