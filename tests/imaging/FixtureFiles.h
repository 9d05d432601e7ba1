#pragma once
// The committed test files of tests/data (see FixtureFiles.cpp for how they
// are written).
#include <string>

#include "io/ButtonSettings.h"
#include "tests/imaging/CodecTestSupport.h"

namespace tabora {
struct FormatEntry;
}

namespace tabora::test {

// What the foreign files with a block carry.
ButtonSettings ForeignSettings();
// "payloads/v0100.gif": a button as the writer of that payload version saved
// it in that format, with SampleSettings() as far as the version goes.
std::string PayloadFixture(int version, const FormatEntry& format);
// Writes every file under `folder`.
void WriteFixtures(const std::string& folder);

}  // namespace tabora::test
