#include "imaging/ButtonFile.h"

#include <functional>
#include <vector>

#include "io/BufferedInStream.h"
#include "io/ButtonData.h"
#include "io/MacStream.h"
#include "platform/Error.h"
#include "platform/File.h"
#include "render/TaboraButton.h"

namespace tabora {

OpenResult ImportButton(TaboraButton& button, const FormatEntry& format, MacStream& in) {
    OpenResult result;
    result.format = &format;
    try {
        PtrMacStream block;
        if (!format.readBlock(in, block)) {
            result.outcome = OpenOutcome::NoBlock;
            if (format.missingBlockNote) result.detail = format.missingBlockNote;
            return result;
        }
        ButtonSettings settings = button.settings();
        ButtonStates states;
        const std::optional<int> version = ReadSettings(block, settings, states);
        if (!version) {
            result.outcome = OpenOutcome::CutShort;
            return result;
        }
        button.ApplySettings(settings);
        // Nothing of what was shown before is kept.
        button.Invalidate(TaboraButton::kAllLayers);
        result.outcome = OpenOutcome::Opened;
        result.payloadVersion = *version;
        result.states = std::move(states);
    } catch (const FileError& error) {
        result.outcome = OpenOutcome::Unreadable;
        result.detail = error.what();
    } catch (const TaboraError& error) {
        result.outcome = OpenOutcome::Damaged;
        result.detail = error.what();
    }
    return result;
}

OpenResult OpenButton(TaboraButton& button, const std::string& path) {
    try {
        File file(path, File::Mode::Read);
        const FormatEntry* format = FindFormat(ExtensionOf(path));
        if (!format) {
            std::vector<uint8_t> head(LongestMagic());
            const uint32_t got = file.Read(head.data(), uint32_t(head.size()));
            format = SniffFormat(head.data(), got);
            if (!format) return OpenResult{};
            file.Seek(0);
        }
        // The readers ask for a few bytes at a time; the buffer turns those
        // asks into few system calls.
        FileMacStream stream(&file);
        BufferedInStream buffered(stream);
        return ImportButton(button, *format, buffered);
    } catch (const FileError& error) {
        OpenResult result;
        result.outcome = OpenOutcome::Unreadable;
        result.detail = error.what();
        return result;
    }
}

void ExportButton(TaboraButton& button, const FormatEntry& format, MacStream& out,
                  const ButtonStates* states) {
    PtrMacStream payload;
    if (states) {
        WriteSettings(payload, button.settings(), *states);
    } else {
        WriteSettings(payload, button.settings());
    }
    button.PrepareExport();
    const bool transparent = format.keepsTransparency && button.settings().removeBackground;
    ArgbImage layers;
    if (transparent) button.ComposeLayers(layers);
    const ExportJob job{button.canvas(), transparent ? &layers : nullptr, button.exportRect(),
                        {payload.Data(), payload.Length()}, button.settings().jpegQuality,
                        button.settings().optimize, button.settings().lossy};
    format.write(job, out);
}

SaveResult SaveExported(const std::string& path, bool synced,
                        const std::function<void(const FormatEntry&, MacStream&)>& write) {
    const std::string extension = ExtensionOf(path);
    const FormatEntry* format = FindFormat(extension);
    // Refused before anything is created.
    if (!format) return {SaveOutcome::UnknownExtension, UnknownExtensionMessage(extension), path};
    try {
        // The codecs write in many small pieces; gathered in memory first, the
        // file gets one write instead of dozens of system calls.
        PtrMacStream image;
        write(*format, image);
        SafeSave save(path);
        save.Output().Write(image.Data(), image.Length());
        save.Commit(synced ? SafeSave::Durability::Synced : SafeSave::Durability::Unsynced);
    } catch (const TaboraError& error) {
        return {SaveOutcome::Failed, error.what(), path};
    }
    return {};
}

SaveResult SaveButton(TaboraButton& button, const std::string& path, bool synced,
                      const ButtonStates* states) {
    return SaveExported(path, synced, [&](const FormatEntry& format, MacStream& out) {
        ExportButton(button, format, out, states);
    });
}

std::string ScaledPath(const std::string& path, int scale) {
    return NameWithTail(path, ScaleSuffix(scale));
}

std::string ScaleSuffix(int scale) {
    if (scale <= 1) return {};
    // Built in place: g++ 12 warns wrongly about "@" + std::string.
    std::string suffix = std::to_string(scale);
    suffix.insert(suffix.begin(), '@');
    suffix += 'x';
    return suffix;
}

std::string NameWithTail(const std::string& path, const std::string& tail) {
    const std::string extension = ExtensionOf(path);
    const size_t stem = extension.empty() ? path.size() : path.size() - extension.size() - 1;
    std::string named = path;
    named.insert(stem, tail);
    return named;
}

std::string UnknownExtensionMessage(std::string_view extension) {
    const std::string shown =
        extension.empty() ? "no extension" : "\"." + std::string(extension) + "\"";
    return "Cannot save a button with " + shown + ": the extension must be " +
           SupportedExtensions() + ", in any case";
}

}  // namespace tabora
