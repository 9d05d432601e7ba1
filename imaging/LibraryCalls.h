#pragma once
// What the codecs share in front of the C image libraries (libpng, libjpeg,
// giflib): the libraries call our stream functions back, and report their
// own failures by a long jump or an error code, so no C++ exception may
// cross their frames.
#include <exception>
#include <utility>

#include "io/MacStream.h"
#include "platform/Error.h"

namespace tabora {

// The stream a library reads or writes through its callbacks, and the
// exception one of them caught.
struct LibraryStream {
    MacStream* stream = nullptr;
    std::exception_ptr pending;
};

// Runs a stream operation inside a library callback. An exception it throws
// is parked in `pending` and false is returned; the callback then fails the
// library's way, outside any catch block (leaving a handler by a long jump
// would leak the exception object).
template <typename Operation>
bool CallParked(std::exception_ptr& pending, Operation&& operation) noexcept {
    try {
        std::forward<Operation>(operation)();
        return true;
    } catch (...) {
        pending = std::current_exception();
        return false;
    }
}

// Once the library is out of the way: the parked exception, if any.
inline void RethrowParked(std::exception_ptr& pending) {
    if (pending) std::rethrow_exception(std::exchange(pending, nullptr));
}

// After a library has failed and been released: the stream's own error if
// one was parked (a full disk keeps its words), else `text`.
[[noreturn]] inline void ThrowLibraryFailure(std::exception_ptr& pending, const char* text) {
    RethrowParked(pending);
    throw TaboraError(text);
}

}  // namespace tabora
