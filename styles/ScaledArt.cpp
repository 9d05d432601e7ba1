#include "styles/ScaledArt.h"

#include <algorithm>

#include "io/MacStream.h"
#include "platform/PackedPixels.h"
#include "styles/Catalogue.h"

namespace tabora {

namespace {

constexpr uint32_t kHeaderBytes = 12;  // version, scale, width, height, packed length

struct PictureLimits {
    int32_t maxWidth, maxHeight;  // in CSS pixels
};

// Reads the header and the pixels of a scaled picture; `end` is where the
// packed pixels end. Sizes must be whole multiples of the scale: a k-times
// picture has a 1x twin.
bool ReadPicture(std::span<const uint8_t> bytes, int scale, PictureLimits limits, ArgbImage& image,
                 uint32_t& end) {
    image.Allocate(0, 0);
    if (!IsArtScale(scale) || bytes.size() > PtrMacStream::kMaxCapacity) return false;
    PtrMacStream stream(bytes.data(), uint32_t(bytes.size()), false);
    const uint16_t version = stream.ReadUShort();
    const int32_t storedScale = stream.ReadUShort();
    const int32_t width = stream.ReadUShort();
    const int32_t height = stream.ReadUShort();
    const uint32_t packedBytes = stream.ReadULong();
    if (stream.Truncated() || version != kScaledArtVersion || storedScale != scale) return false;
    if (width < scale || width > limits.maxWidth * scale || width % scale != 0) return false;
    if (height < scale || height > limits.maxHeight * scale || height % scale != 0) return false;
    if (packedBytes > bytes.size() - kHeaderBytes) return false;
    image.Allocate(width, height);
    if (!InflatePixels(bytes.subspan(kHeaderBytes, packedBytes), image.Pixels(),
                       size_t(width) * size_t(height) * 4)) {
        image.Allocate(0, 0);
        return false;
    }
    end = kHeaderBytes + packedBytes;
    return true;
}

void WritePicture(const ArgbImage& image, int scale, PtrMacStream& stream) {
    const std::vector<uint8_t> packed =
        DeflatePixels(image.Pixels(), size_t(image.Width()) * size_t(image.Height()) * 4);
    stream.WriteShort(kScaledArtVersion);
    stream.WriteShort(scale);
    stream.WriteShort(image.Width());
    stream.WriteShort(image.Height());
    stream.WriteLong(uint32_t(packed.size()));
    stream.Write(packed.data(), uint32_t(packed.size()));
}

std::vector<uint8_t> Bytes(PtrMacStream& stream) {
    return {stream.Data(), stream.Data() + stream.Length()};
}

}  // namespace

std::unique_ptr<ButtonStyle> ReadScaledStyle(std::span<const uint8_t> bytes, int scale) {
    auto style = std::make_unique<ButtonStyle>();
    uint32_t end = 0;
    if (!ReadPicture(bytes, scale, {Archive::kMaxStyleWidth, Archive::kMaxStyleHeight},
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

bool ReadScaledPicture(std::span<const uint8_t> bytes, int scale, ArgbImage& image) {
    uint32_t end = 0;
    if (ReadPicture(bytes, scale, {kMaxPictureSide, kMaxPictureSide}, image, end) &&
        end == bytes.size())
        return true;
    image.Allocate(0, 0);
    return false;
}

std::vector<uint8_t> WriteScaledStyle(const ArgbImage& image, int scale, int16_t defaultStretch,
                                      int16_t stretchColumn) {
    PtrMacStream stream;
    WritePicture(image, scale, stream);
    stream.WriteShort(defaultStretch);
    stream.WriteShort(stretchColumn);
    return Bytes(stream);
}

std::vector<uint8_t> WriteScaledPicture(const ArgbImage& image, int scale) {
    PtrMacStream stream;
    WritePicture(image, scale, stream);
    return Bytes(stream);
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

bool LoadScaledPicturePair(ArgbImage& image, std::string_view colorName, std::string_view maskName,
                           int scale) {
    if (scale == 1) return image.LoadFromResources(colorName, maskName) == ArgbImage::Load::Loaded;
    return ReadScaledPicture(Resources().FindPicture(colorName, scale), scale, image);
}

bool LoadScaledPicture(ArgbImage& image, std::string_view name, bool greyAsAlpha, int scale) {
    if (scale == 1) return image.LoadFromResource(name, greyAsAlpha) == ArgbImage::Load::Loaded;
    return ReadScaledPicture(Resources().FindPicture(name, scale), scale, image);
}

ResourceBytes FindStripTile(int32_t tile, int scale) {
    if (tile < 0 || tile >= Archive::kTileCount || !IsArtScale(scale)) return {};
    return Resources().FindRaw(Archive::kTileResourceBase + tile, scale);
}

}  // namespace tabora
