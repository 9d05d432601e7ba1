#include "imaging/Formats.h"

#include <array>
#include <cstring>

#include "imaging/BmpCodec.h"
#include "imaging/GifCodec.h"
#include "imaging/JpegCodec.h"
#include "imaging/PngCodec.h"
#include "io/BufferedInStream.h"
#include "io/MacStream.h"
#include "platform/Error.h"
#include "platform/File.h"
#include "render/TaboraButton.h"

namespace tabora {

namespace {

bool ReadJpegBlock(MacStream& in, MacStream& block) {
    JpegCodec codec(100);  // reading ignores the quality
    return codec.ReadData(in, block);
}

const std::array<FormatEntry, 4> kFormats = {{
    {ImageFormat::Gif, "gif", "gif", &TaboraButton::ExportGif, &TaboraButton::ImportGif,
     &GifCodec::ReadData},
    {ImageFormat::Png, "png", "png", &TaboraButton::ExportPng, &TaboraButton::ImportPng,
     &PngCodec::ReadData},
    {ImageFormat::Jpeg, "jpg", "jpeg", &TaboraButton::ExportJpeg, &TaboraButton::ImportJpeg,
     &ReadJpegBlock},
    {ImageFormat::Bmp, "bmp", "bmp", &TaboraButton::ExportBmp, &TaboraButton::ImportBmp,
     &BmpCodec::ReadData},
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
    auto starts = [&](const char* magic, size_t n) {
        return count >= n && std::memcmp(head, magic, n) == 0;
    };
    if (starts("GIF8", 4)) return FindFormat(ImageFormat::Gif);
    if (starts("\x89PNG\r\n\x1A\n", 8)) return FindFormat(ImageFormat::Png);
    if (starts("\xFF\xD8\xFF", 3)) return FindFormat(ImageFormat::Jpeg);
    if (starts("BM", 2)) return FindFormat(ImageFormat::Bmp);
    return nullptr;
}

std::string SupportedExtensions() {
    std::string text;
    for (size_t i = 0; i < kFormats.size(); ++i) {
        if (i > 0) text += i + 1 == kFormats.size() ? " or " : ", ";
        text += kFormats[i].extension;
    }
    return text;
}

void ThrowUnknownExtension(std::string_view extension) {
    std::string shown = extension.empty() ? "no extension" : "\"." + std::string(extension) + "\"";
    throw TaboraError("Cannot save a button with " + shown +
                      ": the extension must be " + SupportedExtensions() + ", in any case");
}

void TaboraButton::ExportByExtension(File& file, const std::string& extension) {
    const FormatEntry* entry = FindFormat(extension);
    if (!entry) ThrowUnknownExtension(extension);
    FileMacStream stream(&file);
    (this->*entry->exportTo)(stream);
}

bool TaboraButton::ImportByExtension(File& file, const std::string& extension) {
    const FormatEntry* entry = FindFormat(extension);
    if (!entry) return false;
    FileMacStream stream(&file);
    return (this->*entry->importFrom)(stream);
}

void SaveButton(TaboraButton& button, const std::string& path, bool synced) {
    const std::string extension = ExtensionOf(path);
    // Refused before anything is created.
    if (!FindFormat(extension)) ThrowUnknownExtension(extension);
    // The codecs write in many small pieces; gathered in memory first, the
    // file gets one write instead of dozens of system calls.
    PtrMacStream image;
    (button.*FindFormat(extension)->exportTo)(image);
    SafeSave save(path);
    save.Output().Write(image.Data(), image.Length());
    save.Commit(synced ? SafeSave::Durability::Synced : SafeSave::Durability::Unsynced);
}

std::optional<OpenedButton> OpenButton(TaboraButton& button, const std::string& path) {
    File file(path, File::Mode::Read);
    const FormatEntry* entry = FindFormat(ExtensionOf(path));
    if (!entry) {
        uint8_t head[8] = {};
        uint32_t got = file.Read(head, sizeof head);
        entry = SniffFormat(head, got);
        if (!entry) return std::nullopt;
        file.Seek(0);
    }
    // The import of the format's row, with the payload version kept for the
    // caller on the way. The readers ask for a few bytes at a time; the
    // buffer turns those asks into few system calls.
    FileMacStream stream(&file);
    BufferedInStream buffered(stream);
    PtrMacStream block;
    if (!entry->readBlock(buffered, block)) return std::nullopt;
    const uint32_t payloadStart = block.Position();
    const int version = block.ReadShort();
    block.Seek(payloadStart);
    block.ClearTruncated();
    if (!button.ReadSettings(block)) return std::nullopt;
    return OpenedButton{entry->format, version};
}

}  // namespace tabora
