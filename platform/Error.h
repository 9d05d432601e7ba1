#pragma once
#include <stdexcept>
#include <string>

namespace tabora {

// The one error type that crosses from the codecs and the file layer to the
// commands. what() is the text shown to the user, e.g. "fatal JPEG error".
class TaboraError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be opened, created, read, written or renamed.
class FileError : public TaboraError {
public:
    using TaboraError::TaboraError;
};

}  // namespace tabora
