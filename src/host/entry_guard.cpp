#include "host/entry_guard.h"

#include <new>
#include <stdexcept>

#include "host/exceptions.h"

void EntryGuard_RaiseCurrentException() noexcept {
    const char* message = kInternalErrorMessage;
    RBInteger number = kInternalErrorErrorNumber;
    try {
        throw;
    } catch (const std::bad_alloc&) {
        message = kOutOfMemoryMessage;
        number = kOutOfMemoryErrorNumber;
    } catch (const std::length_error&) {
        // A string or vector asked for more than it can hold.
        message = kOutOfMemoryMessage;
        number = kOutOfMemoryErrorNumber;
    } catch (...) {
    }
    // Raising needs a little memory of its own; without it the host gets no
    // exception, but still no C++ one.
    try {
        ThrowWordException(message, number);
    } catch (...) {
    }
}
