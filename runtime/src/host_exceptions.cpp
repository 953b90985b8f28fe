// RuntimeException and the two host exceptions the plug-in raises, each
// with a message and an error number.
#include <iterator>
#include <new>

#include "host_classes.h"

namespace vexrt::detail {

namespace {

ExceptionPart* Part(REALobject self, const char* where) {
    Impl* rt = Impl::active();
    return rt ? rt->hostPart<ExceptionPart>(self, kRuntimeException, where) : nullptr;
}

// Bytes of a string argument; nil (and a dead handle) give "".
std::string Bytes(REALstring s, const char* where) {
    Impl* rt = Impl::active();
    if (!rt || !s) return std::string();
    StringRec* rec = rt->liveString(s, where);
    return rec ? rec->bytes : std::string();
}

void Initialize(REALobject self) { new (HostClass_Part<ExceptionPart>(self, RuntimeExceptionClass)) ExceptionPart(); }

void Destroy(REALobject self) { HostClass_Part<ExceptionPart>(self, RuntimeExceptionClass)->~ExceptionPart(); }

void Construct(REALobject self, REALstring message, RBInteger errorCode) {
    if (ExceptionPart* p = Part(self, "RuntimeException.Constructor")) {
        p->message = Bytes(message, "RuntimeException.Constructor");
        p->errorNumber = errorCode;
    }
}

void ConstructEmpty(REALobject) {}

REALstring GetMessage(REALobject self, intptr_t) {
    ExceptionPart* p = Part(self, "RuntimeException.Message");
    return p ? Impl::active()->newString(p->message, kREALTextEncodingUTF8) : nullptr;
}

void SetMessage(REALobject self, intptr_t, REALstring value) {
    if (ExceptionPart* p = Part(self, "RuntimeException.Message"))
        p->message = Bytes(value, "RuntimeException.Message");
}

RBInteger GetErrorNumber(REALobject self, intptr_t) {
    ExceptionPart* p = Part(self, "RuntimeException.ErrorNumber");
    return p ? p->errorNumber : 0;
}

void SetErrorNumber(REALobject self, intptr_t, RBInteger value) {
    if (ExceptionPart* p = Part(self, "RuntimeException.ErrorNumber")) p->errorNumber = value;
}

REALproperty Properties[] = {
    {nullptr, "Message", "String", REALmemberFlagPublic, HostClass_Function(GetMessage),
     HostClass_Function(SetMessage), 0},
    {nullptr, "ErrorNumber", "Integer", REALmemberFlagPublic, HostClass_Function(GetErrorNumber),
     HostClass_Function(SetErrorNumber), 0},
};

REALmethodDefinition Methods[] = {
    {HostClass_Function(ConstructEmpty), nullptr, "Constructor()", REALmemberFlagPublic},
    {HostClass_Function(Construct), nullptr, "Constructor(message as String, errorCode as Integer)",
     REALmemberFlagPublic},
};

}  // namespace

REALclassDefinition RuntimeExceptionClass =
    HostClass_Define(kRuntimeException, "", sizeof(ExceptionPart), Initialize, Destroy, Properties,
                     std::size(Properties), Methods, std::size(Methods));

REALclassDefinition InvalidArgumentExceptionClass = HostClass_Define(
    kInvalidArgumentException, kRuntimeException, 0, nullptr, nullptr, nullptr, 0, nullptr, 0);

REALclassDefinition OutOfBoundsExceptionClass = HostClass_Define(
    kOutOfBoundsException, kRuntimeException, 0, nullptr, nullptr, nullptr, 0, nullptr, 0);

}  // namespace vexrt::detail
