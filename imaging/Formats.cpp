#include "imaging/Formats.h"

#include <algorithm>
#include <array>

#include "imaging/BmpCodec.h"
#include "imaging/GifCodec.h"
#include "imaging/JpegCodec.h"
#include "imaging/PngCodec.h"

namespace tabora {

namespace {

using namespace std::string_view_literals;

const std::array<FormatEntry, 4> kFormats = {{
    {ImageFormat::Gif, "gif", "gif", "GIF8"sv, true, &ExportGif, &GifCodec::ReadData, nullptr},
    {ImageFormat::Png, "png", "png", "\x89PNG\r\n\x1A\n"sv, true, &ExportPng, &PngCodec::ReadData,
     nullptr},
    // The JPEG reader is the one that says so when a file has no block.
    {ImageFormat::Jpeg, "jpg", "jpeg", "\xFF\xD8\xFF"sv, false, &ExportJpeg, &ReadJpegBlock,
     "sig != Tbra"},
    {ImageFormat::Bmp, "bmp", "bmp", "BM"sv, false, &ExportBmp, &BmpCodec::ReadData, nullptr},
}};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

std::span<const FormatEntry> Formats() { return kFormats; }

const FormatEntry* FindFormat(std::string_view extension) {
    for (const FormatEntry& entry : kFormats) {
        if (SameIgnoringCase(extension, entry.extension)) return &entry;
    }
    return nullptr;
}

const FormatEntry* FindFormat(ImageFormat format) {
    for (const FormatEntry& entry : kFormats) {
        if (entry.format == format) return &entry;
    }
    return nullptr;
}

const FormatEntry* SniffFormat(const uint8_t* head, size_t count) {
    const std::string_view bytes(reinterpret_cast<const char*>(head), count);
    for (const FormatEntry& entry : kFormats) {
        if (bytes.starts_with(entry.magic)) return &entry;
    }
    return nullptr;
}

size_t LongestMagic() {
    size_t longest = 0;
    for (const FormatEntry& entry : kFormats) longest = std::max(longest, entry.magic.size());
    return longest;
}

std::string SupportedExtensions() {
    std::string text;
    for (size_t i = 0; i < kFormats.size(); ++i) {
        if (i > 0) text += i + 1 == kFormats.size() ? " or " : ", ";
        text += kFormats[i].extension;
    }
    return text;
}

}  // namespace tabora
