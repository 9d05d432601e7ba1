#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tabora {

class MacStream;
class TaboraButton;

enum class ImageFormat { Gif, Png, Jpeg, Bmp };

// One image format: the extension that chooses it and the button's export
// and import methods. Adding a format is adding a codec and a row.
struct FormatEntry {
    ImageFormat format;
    const char* extension;  // what a file name ends in, lower case
    const char* name;       // how the command line reports it
    void (TaboraButton::*exportTo)(MacStream& out);
    bool (TaboraButton::*importFrom)(MacStream& in);
    // The codec's block extraction alone: on success `block` stands at the
    // first byte of the settings payload.
    bool (*readBlock)(MacStream& in, MacStream& block);
};

// The rows in the order the extension is matched.
std::span<const FormatEntry> Formats();
// The row of an extension (without the dot), compared without regard to case;
// null for anything else, "jpeg" included.
const FormatEntry* FindFormat(std::string_view extension);
const FormatEntry* FindFormat(ImageFormat format);
// The row whose file signature the first bytes carry, or null.
const FormatEntry* SniffFormat(const uint8_t* head, size_t count);
// "gif, png, jpg or bmp", for messages.
std::string SupportedExtensions();

// The error for a name whose extension is none of the four. Saving refuses
// such a name rather than create a file it would leave empty.
[[noreturn]] void ThrowUnknownExtension(std::string_view extension);

// Saves the button under `path` in the format its extension names. The new
// file replaces the old one only when it is complete: on any failure (an
// unknown extension, a codec error, a full disk) the previous file is
// untouched and no temporary file is left. Throws TaboraError or FileError.
// `synced` waits for the disk before the rename (the desktop application);
// the command line skips that wait.
void SaveButton(TaboraButton& button, const std::string& path, bool synced = true);

struct OpenedButton {
    ImageFormat format;
    int payloadVersion;  // as the file stores it, 0x0100..0x0103
};

// Reads the settings embedded in the image at `path` into the button. The
// extension chooses the reader; a name with another extension is recognised
// by its first bytes. Returns what was read when the settings were applied;
// nothing when the file carries no button settings, in which case the button
// is unchanged. Throws TaboraError/FileError for a file that cannot be read
// or that a library rejects ("error reading PNG file", "fatal JPEG error").
std::optional<OpenedButton> OpenButton(TaboraButton& button, const std::string& path);

}  // namespace tabora
