#pragma once
#include <cstdlib>
#include <string>

namespace tabora::test {

// The command line the tests run: this build's, or the one named by
// TABORA_CLI_UNDER_TEST, to show what an older build does with a test.
inline std::string CliUnderTest() {
    const char* other = std::getenv("TABORA_CLI_UNDER_TEST");
    return other && *other ? other : TABORA_CLI_PATH;
}

}  // namespace tabora::test
