#include "imaging/StateFiles.h"

#include <algorithm>
#include <array>
#include <optional>

#include "imaging/PngRuns.h"
#include "io/ButtonData.h"
#include "io/Hex.h"
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

// The set as one picture, its pictures top to bottom, written whole.
void WriteSprite(const StateSet& set, bool withLayers, const PtrMacStream& payload,
                 const FormatEntry& format, MacStream& out) {
    const Rect r = set.rect;
    const int32_t rows = int32_t(set.pictures.size());
    ArgbImage shown(r.Width(), r.Height() * rows), layers;
    if (withLayers) layers.Allocate(r.Width(), r.Height() * rows);
    for (int32_t i = 0; i < rows; ++i) {
        const StatePicture& picture = set.pictures[size_t(i)];
        for (int32_t y = 0; y < r.Height(); ++y) {
            const int32_t row = i * r.Height() + y;
            const size_t from = size_t(r.top + y) * size_t(picture.shown.Width()) + size_t(r.left);
            std::copy_n(picture.shown.Pixels() + from, r.Width(), &shown.At(0, row));
            if (withLayers)
                std::copy_n(picture.layers.Pixels() + from, r.Width(), &layers.At(0, row));
        }
    }
    WritePicture(shown, withLayers ? &layers : nullptr, shown.Extent(), set.normal, payload, format,
                 out);
}

}  // namespace

std::string StateFileName(const std::string& path, ButtonState state, int scale) {
    const std::string name = state == ButtonState::Normal ? "" : std::string("-") + StateName(state);
    return NameWithTail(path, name + ScaleSuffix(scale));
}

std::string SpriteFileName(const std::string& path, int scale) {
    return NameWithTail(path, "-sprite" + ScaleSuffix(scale));
}

// The compressed pictures of a set, made as they are first asked for: each
// with and without its layers, as files and the sprite may differ in that.
struct StateExporter::Runs {
    std::vector<std::array<std::optional<PngRun>, 2>> made;
};

StateExporter::StateExporter(const StateSet& set, const ButtonStates& states)
    : set_(set), states_(states), runs_(std::make_unique<Runs>()) {
    runs_->made.resize(set.pictures.size());
}

StateExporter::~StateExporter() = default;

namespace {

bool Transparent(const FormatEntry& format, const ButtonSettings& settings,
                 const ArgbImage& layers) {
    return format.keepsTransparency && settings.removeBackground && layers.Width() > 0;
}

// PNG files other than the smallest come from the shared runs.
bool FromRuns(const FormatEntry& format, const ButtonSettings& settings) {
    return format.format == ImageFormat::Png && !settings.optimize;
}

}  // namespace

void StateExporter::Picture(size_t index, const FormatEntry& format, MacStream& out) {
    const StatePicture& picture = set_.pictures.at(index);
    PtrMacStream payload;
    if (picture.state == ButtonState::Normal) {
        WriteSettings(payload, picture.settings, states_);
    } else {
        WriteSettings(payload, picture.settings);
    }
    if (!FromRuns(format, picture.settings)) {
        WritePicture(picture.shown, picture.layers.Width() ? &picture.layers : nullptr, set_.rect,
                     picture.settings, payload, format, out);
        return;
    }
    const PngRun* run = &RunOf(index, Transparent(format, picture.settings, picture.layers));
    WritePngOfRuns({&run, 1}, SignatureText().data(), HexEncode(payload.Data(), payload.Length()),
                   out);
}

void StateExporter::Sprite(const FormatEntry& format, MacStream& out) {
    PtrMacStream payload;
    WriteSettings(payload, set_.normal, states_);
    const bool withLayers = !set_.pictures.empty() && set_.pictures.front().layers.Width() > 0;
    if (!FromRuns(format, set_.normal)) {
        WriteSprite(set_, withLayers, payload, format, out);
        return;
    }
    const bool transparent =
        withLayers && Transparent(format, set_.normal, set_.pictures.front().layers);
    std::vector<const PngRun*> runs;
    for (size_t i = 0; i < set_.pictures.size(); ++i) runs.push_back(&RunOf(i, transparent));
    WritePngOfRuns(runs, SignatureText().data(), HexEncode(payload.Data(), payload.Length()), out);
}

const PngRun& StateExporter::RunOf(size_t index, bool transparent) {
    std::optional<PngRun>& run = runs_->made[index][transparent ? 1 : 0];
    if (!run) {
        const StatePicture& picture = set_.pictures[index];
        run = MakePngRun(transparent ? picture.layers : picture.shown, set_.rect, transparent);
    }
    return *run;
}

void ExportStatePicture(const StateSet& set, const StatePicture& picture,
                        const ButtonStates& states, const FormatEntry& format, MacStream& out) {
    // A picture of the set itself, or a copy of one, in a set of its own.
    const auto at = std::find_if(set.pictures.begin(), set.pictures.end(),
                                 [&](const StatePicture& p) { return &p == &picture; });
    if (at != set.pictures.end()) {
        StateExporter(set, states).Picture(size_t(at - set.pictures.begin()), format, out);
        return;
    }
    StateSet alone{set.normal, {picture}, set.rect, set.scale};
    StateExporter(alone, states).Picture(0, format, out);
}

void ExportSprite(const StateSet& set, const ButtonStates& states, const FormatEntry& format,
                  MacStream& out) {
    StateExporter(set, states).Sprite(format, out);
}

SaveResult SaveStateFiles(const StateSet& set, const ButtonStates& states, const std::string& path,
                          bool everyState, bool sprite, bool synced) {
    StateExporter exporter(set, states);
    for (size_t i = 0; i < set.pictures.size(); ++i) {
        const StatePicture& picture = set.pictures[i];
        if (!everyState && picture.state != ButtonState::Normal) continue;
        SaveResult saved = SaveExported(
            StateFileName(path, picture.state, set.scale), synced,
            [&](const FormatEntry& format, MacStream& out) { exporter.Picture(i, format, out); });
        if (!saved.saved()) return saved;
    }
    if (sprite) {
        return SaveExported(
            SpriteFileName(path, set.scale), synced,
            [&](const FormatEntry& format, MacStream& out) { exporter.Sprite(format, out); });
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
