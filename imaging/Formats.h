#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"

namespace tabora {

class ArgbImage;
class MacStream;

enum class ImageFormat { Gif, Png, Jpeg, Bmp, Webp };

// What an exporter writes: plain pictures and bytes, nothing of the button,
// so the same settings can be written with other pictures of them.
struct ExportJob {
    // The picture as the preview shows it: background, frame and layers.
    const ArgbImage& shown;
    // The layers alone in straight alpha on transparent black, when the
    // background is to be removed (only for a format that keeps
    // transparency); null otherwise.
    const ArgbImage* layers = nullptr;
    Rect rect;                         // the part of the pictures to write
    std::span<const uint8_t> payload;  // the settings payload, no signature
    int16_t quality = 0;               // for a format with a quality
    bool optimize = false;             // the smallest file, for a format that offers it
    bool lossy = false;                // lossy rather than lossless, where a format has both
};

// One image format: everything about it, read by everyone who lists,
// chooses, writes or reads formats. Adding a format is a codec file pair and
// a row here.
struct FormatEntry {
    ImageFormat format;
    const char* extension;  // what a file name ends in, lower case
    // Another ending that names the format wherever a name is read (opening,
    // saving, the command line, batches); saving suggests `extension`.
    const char* otherExtension = nullptr;
    const char* name;       // how the command line reports it
    const char* label;      // how menus, icons and the options dialog call it
    const char* fileType;   // its entry in the file dialogs' filters
    // Where it stands in the Save As menu, the file dialogs' filters and the
    // row of format icons, from 0.
    int menuPosition;
    // The icon's picture and mask among the bitmap resources.
    const char* iconImage;
    const char* iconMask;
    // The first bytes of every file of the format.
    std::string_view magic;
    // What its options dialog offers besides the shadow area, which every
    // format has: removing the background (the format keeps transparency) and
    // a quality. A dialog with these has a close box.
    bool keepsTransparency;
    bool hasQuality;
    bool optionsCloseBox;
    // It can also write the smallest file of the same pixels (slower).
    bool offersSmallest = false;
    // It writes lossless by default and lossy at the quality on request:
    // the quality then matters only for a lossy file.
    bool offersLossy = false;
    // Writes the picture with the settings embedded. Throws TaboraError with
    // the format's words, or the stream's FileError.
    void (*write)(const ExportJob& job, MacStream& out);
    // Finds the settings block: on success `block` holds it and stands at
    // the first byte of the payload. False when the file carries none;
    // throws TaboraError for a file the library refuses.
    bool (*readBlock)(MacStream& in, MacStream& block);
    // What the reader says about a file of its format without a block, or
    // null when it says nothing.
    const char* missingBlockNote;
};

// The rows in the order the extension is matched.
std::span<const FormatEntry> Formats();
// The rows in menu order (menuPosition).
std::vector<const FormatEntry*> MenuFormats();
// The row of an extension (without the dot), compared without regard to case;
// null for anything else.
const FormatEntry* FindFormat(std::string_view extension);
const FormatEntry* FindFormat(ImageFormat format);
// The row whose file signature the first bytes carry, or null.
const FormatEntry* SniffFormat(const uint8_t* head, size_t count);
// The longest signature: how many first bytes SniffFormat may look at.
size_t LongestMagic();
// "gif, png, jpg, bmp or webp", for messages.
std::string SupportedExtensions();
// A list in words: "a, b or c" (`last` "or"), "a and b" (`last` "and").
std::string ListInWords(const std::vector<std::string>& items, const char* last);

}  // namespace tabora
