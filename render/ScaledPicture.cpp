#include "render/ScaledPicture.h"

#include "io/MacStream.h"
#include "platform/PackedPixels.h"
#include "platform/Resources.h"

namespace tabora {

namespace {
constexpr uint32_t kHeaderBytes = 12;  // version, scale, width, height, packed length
}  // namespace

bool ReadScaledPixels(std::span<const uint8_t> bytes, int scale, int32_t maxWidth,
                      int32_t maxHeight, ArgbImage& image, uint32_t& end) {
    image.Allocate(0, 0);
    if (!IsArtScale(scale) || bytes.size() > PtrMacStream::kMaxCapacity) return false;
    PtrMacStream stream(bytes.data(), uint32_t(bytes.size()), false);
    const uint16_t version = stream.ReadUShort();
    const int32_t storedScale = stream.ReadUShort();
    const int32_t width = stream.ReadUShort();
    const int32_t height = stream.ReadUShort();
    const uint32_t packedBytes = stream.ReadULong();
    if (stream.Truncated() || version != kScaledArtVersion || storedScale != scale) return false;
    if (width < scale || width > maxWidth * scale || width % scale != 0) return false;
    if (height < scale || height > maxHeight * scale || height % scale != 0) return false;
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

bool ReadScaledPicture(std::span<const uint8_t> bytes, int scale, ArgbImage& image) {
    uint32_t end = 0;
    if (ReadScaledPixels(bytes, scale, kMaxPictureSide, kMaxPictureSide, image, end) &&
        end == bytes.size())
        return true;
    image.Allocate(0, 0);
    return false;
}

std::vector<uint8_t> WriteScaledPicture(const ArgbImage& image, int scale) {
    const std::vector<uint8_t> packed =
        DeflatePixels(image.Pixels(), size_t(image.Width()) * size_t(image.Height()) * 4);
    PtrMacStream stream;
    stream.WriteShort(kScaledArtVersion);
    stream.WriteShort(scale);
    stream.WriteShort(image.Width());
    stream.WriteShort(image.Height());
    stream.WriteLong(uint32_t(packed.size()));
    stream.Write(packed.data(), uint32_t(packed.size()));
    return {stream.Data(), stream.Data() + stream.Length()};
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

}  // namespace tabora
