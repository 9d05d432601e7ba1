#pragma once
#include <stdexcept>
#include <string>

namespace tabora::cli {

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // a file cannot be read or written, or has no settings
constexpr int kExitUsage = 2;    // a usage error or a value out of range

// A usage error or a value out of range: the message names the option (or
// the JSON key) and what it accepts.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tabora::cli
