// Raised exceptions. Raising only marks the exception object (the runtime
// keeps a reference); the exception is delivered when the plug-in function
// returns to whoever called it: the C++ API throws HostException, the
// exception handler entry hands the object back to plug-in code.
#include <utility>

#include "entries.h"
#include "host_classes.h"

namespace vexrt {

void Runtime::Impl::raise(ObjectRec* exception) {
    ++exception->refCount;
    // A second raise before delivery replaces the first, as a throw inside
    // a handler would.
    release(std::exchange(pending, exception));
}

void Runtime::Impl::raiseNew(const char* className, const std::string& message,
                             RBInteger errorNumber) {
    ClassRec* cls = hostClass(className);
    ObjectRec* e = cls ? newInstance(*cls) : nullptr;
    if (!e) return;
    detail::ExceptionPart* part = exceptionPart(*e);
    part->message = message;
    part->errorNumber = errorNumber;
    raise(e);
    release(e);
}

HostException Runtime::Impl::describeException(ObjectRec& exception) {
    detail::ExceptionPart* part = exceptionPart(exception);
    return HostException(exception.cls->info.fullName, part ? part->message : std::string(),
                         part ? part->errorNumber : 0);
}

detail::ExceptionPart* Runtime::Impl::exceptionPart(ObjectRec& o) {
    ClassRec* base = hostClass(detail::kRuntimeException);
    return base && isA(o, *base) ? static_cast<detail::ExceptionPart*>(part(o, *base)) : nullptr;
}

std::vector<std::string> Runtime::Impl::takeFaultsSince(size_t mark) {
    if (mark >= faults.size()) return {};
    std::vector<std::string> taken(faults.begin() + std::ptrdiff_t(mark), faults.end());
    faults.resize(mark);
    return taken;
}

namespace detail {

CallScope::CallScope(Impl& rt)
    : rt_(rt), activation_(rt), savedPending_(std::exchange(rt.pending, nullptr)),
      faultMark_(rt.faults.size()) {}

CallScope::~CallScope() {
    rt_.release(std::exchange(rt_.pending, nullptr));
    rt_.pending = savedPending_;
}

void CallScope::finish() {
    std::vector<std::string> faults = rt_.takeFaultsSince(faultMark_);
    if (!faults.empty()) {
        std::string message = faults.front();
        for (size_t i = 1; i < faults.size(); ++i) message += "\n" + faults[i];
        Usage(message);
    }
    if (ObjectRec* e = std::exchange(rt_.pending, nullptr)) {
        HostException exception = rt_.describeException(*e);
        rt_.release(e);
        throw exception;
    }
}

void Entry_RaiseException(REALobject exception) {
    Impl* rt = Impl::active();
    if (!rt) return;
    ObjectRec* e = rt->liveObject(exception, "RuntimeRaiseException");
    if (!e) return;
    if (!rt->exceptionPart(*e)) {
        rt->fault("RuntimeRaiseException: a " + e->cls->info.fullName +
                  " is no RuntimeException and cannot be raised");
        return;
    }
    rt->raise(e);
}

REALobject Entry_CallFunctionWithExceptionHandler(REALExceptionHandlerCallback fn, void* arg) {
    Impl* rt = Impl::active();
    if (!rt) return nullptr;
    if (!fn) {
        rt->fault("PluginCallFunctionWithExceptionHandler: null function");
        return nullptr;
    }
    // Whatever was pending outside stays pending; what fn raises is caught.
    ObjectRec* outside = std::exchange(rt->pending, nullptr);
    fn(arg);
    ObjectRec* caught = std::exchange(rt->pending, outside);
    return Handle(caught);  // the caller owns the reference the raise took
}

}  // namespace detail

}  // namespace vexrt
