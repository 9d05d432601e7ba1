#pragma once
#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/ChildCost.h"

namespace tabora::test {

// The command line the tests run: this build's, or the one named by
// TABORA_CLI_UNDER_TEST, to show what an older build does with a test.
inline std::string CliUnderTest() {
    const char* other = std::getenv("TABORA_CLI_UNDER_TEST");
    return other && *other ? other : TABORA_CLI_PATH;
}

// The numbers of the styles that have a picture, as `styles --json` lists them.
inline std::vector<int> StylesWithPictures() {
    const ProgramRun run = RunProgram({CliUnderTest(), "styles", "--json"});
    std::vector<int> numbers;
    for (const nlohmann::json& s : nlohmann::json::parse(run.out)) {
        if (s["hasStyle"].get<bool>()) numbers.push_back(s["number"].get<int>());
    }
    return numbers;
}

}  // namespace tabora::test
