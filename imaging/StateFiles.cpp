#include "imaging/StateFiles.h"

#include <algorithm>

#include "io/ButtonData.h"
#include "io/MacStream.h"
#include "platform/File.h"

namespace tabora {

namespace {

void WritePicture(const ArgbImage& shown, const ArgbImage* layers, Rect rect,
                  const ButtonSettings& settings, const PtrMacStream& payload,
                  const FormatEntry& format, MacStream& out) {
    const bool transparent = format.keepsTransparency && settings.removeBackground && layers;
    const ExportJob job{shown, transparent ? layers : nullptr, rect,
                        {payload.Data(), payload.Length()}, settings.jpegQuality,
                        settings.optimize, settings.lossy};
    format.write(job, out);
}

}  // namespace

std::string StateFileName(const std::string& path, ButtonState state, int scale) {
    const std::string name = state == ButtonState::Normal ? "" : std::string("-") + StateName(state);
    return NameWithTail(path, name + ScaleSuffix(scale));
}

std::string SpriteFileName(const std::string& path, int scale) {
    return NameWithTail(path, "-sprite" + ScaleSuffix(scale));
}

void ExportStatePicture(const StateSet& set, const StatePicture& picture,
                        const ButtonStates& states, const FormatEntry& format, MacStream& out) {
    PtrMacStream payload;
    if (picture.state == ButtonState::Normal) {
        WriteSettings(payload, picture.settings, states);
    } else {
        WriteSettings(payload, picture.settings);
    }
    WritePicture(picture.shown, picture.layers.Width() ? &picture.layers : nullptr, set.rect,
                 picture.settings, payload, format, out);
}

void ExportSprite(const StateSet& set, const ButtonStates& states, const FormatEntry& format,
                  MacStream& out) {
    const Rect r = set.rect;
    const int32_t rows = int32_t(set.pictures.size());
    ArgbImage shown(r.Width(), r.Height() * rows), layers;
    const bool withLayers = !set.pictures.empty() && set.pictures.front().layers.Width() > 0;
    if (withLayers) layers.Allocate(r.Width(), r.Height() * rows);
    for (int32_t i = 0; i < rows; ++i) {
        const StatePicture& picture = set.pictures[size_t(i)];
        for (int32_t y = 0; y < r.Height(); ++y) {
            const int32_t row = i * r.Height() + y;
            const size_t from = size_t(r.top + y) * size_t(picture.shown.Width()) + size_t(r.left);
            std::copy_n(picture.shown.Pixels() + from, r.Width(), &shown.At(0, row));
            if (withLayers) std::copy_n(picture.layers.Pixels() + from, r.Width(), &layers.At(0, row));
        }
    }
    PtrMacStream payload;
    WriteSettings(payload, set.normal, states);
    WritePicture(shown, withLayers ? &layers : nullptr, shown.Extent(), set.normal, payload,
                 format, out);
}

SaveResult SaveStateFiles(const StateSet& set, const ButtonStates& states, const std::string& path,
                          bool everyState, bool sprite, bool synced) {
    for (const StatePicture& picture : set.pictures) {
        if (!everyState && picture.state != ButtonState::Normal) continue;
        {
            SaveResult saved = SaveExported(StateFileName(path, picture.state, set.scale), synced,
                                            [&](const FormatEntry& format, MacStream& out) {
                                                ExportStatePicture(set, picture, states, format, out);
                                            });
            if (!saved.saved()) return saved;
        }
    }
    if (sprite) {
        return SaveExported(SpriteFileName(path, set.scale), synced,
                            [&](const FormatEntry& format, MacStream& out) {
                                ExportSprite(set, states, format, out);
                            });
    }
    return {};
}

}  // namespace tabora

namespace tabora {

std::vector<std::string> StateFileNames(std::span<const ButtonState> which, int scale,
                                        const std::string& path, bool everyState, bool sprite) {
    std::vector<std::string> names;
    for (ButtonState state : which) {
        if (everyState || state == ButtonState::Normal) {
            names.push_back(StateFileName(path, state, scale));
        }
    }
    if (sprite) names.push_back(SpriteFileName(path, scale));
    return names;
}

}  // namespace tabora
