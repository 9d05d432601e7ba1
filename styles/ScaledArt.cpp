#include "styles/ScaledArt.h"

#include <algorithm>

#include "io/MacStream.h"
#include "styles/Catalogue.h"

namespace tabora {

std::unique_ptr<ButtonStyle> ReadScaledStyle(std::span<const uint8_t> bytes, int scale) {
    auto style = std::make_unique<ButtonStyle>();
    uint32_t end = 0;
    if (!ReadScaledPixels(bytes, scale, Archive::kMaxStyleWidth, Archive::kMaxStyleHeight,
                          style->image, end))
        return nullptr;
    PtrMacStream stream(bytes.data() + end, uint32_t(bytes.size() - end), false);
    const int32_t defaultStretch = stream.ReadShort();
    const int32_t stretchColumn = stream.ReadShort();
    if (stream.Truncated() || stream.Position() != stream.GetLength()) return nullptr;
    // As at 1x, foreign values are made harmless rather than trusted: the k
    // repeated columns must lie inside the picture on the CSS pixel grid.
    const int32_t width = style->image.Width();
    const bool inside =
        stretchColumn >= 0 && stretchColumn % scale == 0 && stretchColumn + scale <= width;
    style->stretchColumn = int16_t(inside ? stretchColumn : -1);
    style->defaultStretch =
        int16_t(std::clamp(defaultStretch, 0, Archive::kMaxStyleWidth - width / scale));
    return style;
}

std::vector<uint8_t> WriteScaledStyle(const ArgbImage& image, int scale, int16_t defaultStretch,
                                      int16_t stretchColumn) {
    std::vector<uint8_t> bytes = WriteScaledPicture(image, scale);
    PtrMacStream tail;
    tail.WriteShort(defaultStretch);
    tail.WriteShort(stretchColumn);
    bytes.insert(bytes.end(), tail.Data(), tail.Data() + tail.Length());
    return bytes;
}

std::unique_ptr<ButtonStyle> LoadScaledStyle(const Archive& archive, int32_t styleNumber,
                                             int scale) {
    if (scale == 1) return archive.Load(styleNumber);
    if (!IsArtScale(scale) || !archive.HasStyleData(styleNumber)) return nullptr;
    const ArchiveEntry& entry = *archive.Entry(styleNumber);
    const int id = Archive::kStyleResourceBase + entry.resourceNumber;
    auto style = ReadScaledStyle(Resources().FindRaw(id, scale), scale);
    if (!style) return nullptr;
    // The renderer lays the button out at 1x and draws k times that, so a
    // scaled picture that is not exactly k times its 1x style is no use.
    const StyleRecipe& recipe = CatalogueItems()[size_t(styleNumber - 1)].recipe;
    const int32_t column = entry.stretchColumn < 0 ? -1 : entry.stretchColumn * scale;
    if (style->image.Width() != recipe.width * scale ||
        style->image.Height() != recipe.height * scale || style->stretchColumn != column)
        return nullptr;
    return style;
}

ResourceBytes FindStripTile(int32_t tile, int scale) {
    if (tile < 0 || tile >= Archive::kTileCount || !IsArtScale(scale)) return {};
    return Resources().FindRaw(Archive::kTileResourceBase + tile, scale);
}

std::unique_ptr<ButtonStyle> Archive::LoadScaled(int32_t styleNumber, int scale) const {
    return LoadScaledStyle(*this, styleNumber, scale);
}

}  // namespace tabora
