#pragma once
// Sheets drawn by tests for a person to look at, written only when asked.
#include <cstdlib>

#include "imaging/PngCodec.h"
#include "io/MacStream.h"
#include "platform/File.h"
#include "render/ArgbImage.h"

namespace tabora::test {

// Writes `sheet` as a PNG to the file the environment variable names, if it
// names one.
inline void WriteReviewPicture(const ArgbImage& sheet, const char* variable) {
    const char* out = std::getenv(variable);
    if (!out || !*out) return;
    File file(out, File::Mode::Create);
    FileMacStream stream(&file);
    PngCodec::Write(sheet, stream, false, std::nullopt, nullptr, 0);
}

}  // namespace tabora::test
