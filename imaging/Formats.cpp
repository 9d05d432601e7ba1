#include "imaging/Formats.h"

#include <algorithm>
#include <array>

#include "imaging/BmpCodec.h"
#include "imaging/GifCodec.h"
#include "imaging/JpegCodec.h"
#include "imaging/PngCodec.h"
#include "imaging/WebpCodec.h"

namespace tabora {

namespace {

using namespace std::string_view_literals;

const std::array<FormatEntry, 5> kFormats = {{
    {.format = ImageFormat::Gif, .extension = "gif", .name = "gif", .label = "GIF",
     .fileType = "GIF File", .menuPosition = 0, .iconImage = "gificoni", .iconMask = "gificonm",
     .magic = "GIF8"sv, .keepsTransparency = true, .hasQuality = false, .optionsCloseBox = true,
     .write = &ExportGif, .readBlock = &GifCodec::ReadData, .missingBlockNote = nullptr},
    {.format = ImageFormat::Png, .extension = "png", .name = "png", .label = "PNG",
     .fileType = "PNG File", .menuPosition = 2, .iconImage = "pngiconi", .iconMask = "pngiconm",
     .magic = "\x89PNG\r\n\x1A\n"sv, .keepsTransparency = true, .hasQuality = false,
     .optionsCloseBox = true, .offersSmallest = true, .write = &ExportPng,
     .readBlock = &PngCodec::ReadData, .missingBlockNote = nullptr},
    // The JPEG reader is the one that says so when a file has no block.
    {.format = ImageFormat::Jpeg, .extension = "jpg", .otherExtension = "jpeg", .name = "jpeg",
     .label = "JPEG", .fileType = "JPEG File", .menuPosition = 1, .iconImage = "jpgiconi",
     .iconMask = "jpgiconm", .magic = "\xFF\xD8\xFF"sv, .keepsTransparency = false,
     .hasQuality = true, .optionsCloseBox = false, .offersSmallest = true, .write = &ExportJpeg,
     .readBlock = &ReadJpegBlock, .missingBlockNote = "sig != Tbra"},
    {.format = ImageFormat::Bmp, .extension = "bmp", .name = "bmp", .label = "BMP",
     .fileType = "Bitmap File", .menuPosition = 3, .iconImage = "bmpiconi", .iconMask = "bmpiconm",
     .magic = "BM"sv, .keepsTransparency = false, .hasQuality = false, .optionsCloseBox = false,
     .write = &ExportBmp, .readBlock = &BmpCodec::ReadData, .missingBlockNote = nullptr},
    // "RIFF" opens other containers too; the reader tells them apart.
    {.format = ImageFormat::Webp, .extension = "webp", .name = "webp", .label = "WebP",
     .fileType = "WebP File", .menuPosition = 4, .iconImage = "webpiconi",
     .iconMask = "webpiconm", .magic = "RIFF"sv, .keepsTransparency = true, .hasQuality = true,
     .optionsCloseBox = true, .offersLossy = true, .write = &ExportWebp,
     .readBlock = &WebpCodec::ReadData, .missingBlockNote = nullptr},
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

std::vector<const FormatEntry*> MenuFormats() {
    std::vector<const FormatEntry*> rows;
    for (const FormatEntry& entry : kFormats) rows.push_back(&entry);
    std::sort(rows.begin(), rows.end(), [](const FormatEntry* a, const FormatEntry* b) {
        return a->menuPosition < b->menuPosition;
    });
    return rows;
}

const FormatEntry* FindFormat(std::string_view extension) {
    for (const FormatEntry& entry : kFormats) {
        if (SameIgnoringCase(extension, entry.extension) ||
            (entry.otherExtension && SameIgnoringCase(extension, entry.otherExtension)))
            return &entry;
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

std::string ListInWords(const std::vector<std::string>& items, const char* last) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? std::string(" ") + last + " " : ", ";
        text += items[i];
    }
    return text;
}

std::string SupportedExtensions() {
    std::vector<std::string> extensions;
    for (const FormatEntry& entry : kFormats) extensions.push_back(entry.extension);
    return ListInWords(extensions, "or");
}

}  // namespace tabora
