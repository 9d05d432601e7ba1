#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "imaging/JpegCodec.h"
#include "io/MacStream.h"
#include "styles/Catalogue.h"
#include "tools/artgen/ArtOutput.h"
#include "tools/artgen/StripArt.h"
#include "tools/artgen/StyleMaterials.h"

// The styles, their resources and the archive strip, all from the catalogue.
namespace tabora::art {

namespace {

using style::DrawStyle;

// Tiles are shown through a 24-bit bitmap at their own size; this quality
// keeps gradients and one-pixel borders clean at about 40 KB a tile.
constexpr int16_t kTileQuality = 90;
// Two workers: the machine that builds has two cores.
constexpr unsigned kWorkers = 2;

// Draws every style; pictures land at their item's index whatever the
// order the workers finish in, so the output is the same every run.
std::vector<ArgbImage> DrawAllStyles(std::span<const CatalogueItem> items) {
    std::vector<ArgbImage> images(items.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i; (i = next++) < items.size();) {
            if (items[i].IsHeading()) continue;
            // Each style's noise has its own seed, fixed by its number.
            images[i] = DrawStyle(items[i].recipe, uint32_t(i + 1) * 2654435761u);
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < kWorkers; ++t) threads.emplace_back(work);
    work();
    for (auto& t : threads) t.join();
    return images;
}

// The stretch column must sit where every column looks the same, or the
// widened button shows a seam; the catalogue and the drawing agree on that
// only if we check.
void CheckStyle(const CatalogueItem& item, const ArgbImage& image, size_t number) {
    const StyleRecipe& r = item.recipe;
    auto fail = [&](const std::string& what) {
        throw std::runtime_error("style " + std::to_string(number) + ": " + what);
    };
    if (image.Width() != r.width || image.Height() != r.height) fail("size differs from recipe");
    if (r.width > Archive::kMaxStyleWidth || r.height > Archive::kMaxStyleHeight)
        fail("larger than the canvas allows");
    const int32_t c = item.entry.stretchColumn;
    if (c < 0) return;
    if (c < 1 || c + 1 >= image.Width()) fail("stretch column at the edge");
    for (int32_t y = 0; y < image.Height(); ++y)
        if (image.At(c - 1, y) != image.At(c, y) || image.At(c + 1, y) != image.At(c, y))
            fail("stretch column " + std::to_string(c) + " is not uniform at row " +
                 std::to_string(y));
}

// The strip must hold the whole catalogue where the view can scroll to it.
void CheckCatalogue(std::span<const CatalogueItem> items) {
    if (CataloguePlan().size() != size_t(Archive::kEntryCount))
        throw std::runtime_error("the catalogue plan has " +
                                 std::to_string(CataloguePlan().size()) + " entries");
    for (size_t i = 0; i < items.size(); ++i) {
        const Rect r = items[i].StripRect();
        if (r.IsEmpty() || r.left < 0 || r.right > Archive::kStripWidth || r.top < 0 ||
            r.bottom > Archive::kVisibleStripHeight)
            throw std::runtime_error("entry " + std::to_string(i + 1) + " lies outside the strip");
    }
}

std::vector<uint8_t> StyleResource(const CatalogueItem& item, const ArgbImage& image) {
    PtrMacStream stream;
    Archive::WriteStyle(stream, image, item.entry.defaultStretch, item.entry.stretchColumn);
    return {stream.Data(), stream.Data() + stream.Length()};
}

void AddTiles(ArtOutput& out, const ArgbImage& strip) {
    JpegCodec codec(kTileQuality);
    for (int32_t i = 0; i < Archive::kTileCount; ++i) {
        const Rect tile{0, i * Archive::kTileHeight, Archive::kStripWidth,
                        (i + 1) * Archive::kTileHeight};
        PtrMacStream stream;
        codec.Write(strip, stream, tile, nullptr, 0);
        out.AddRaw(Archive::kTileResourceBase + i,
                   {stream.Data(), stream.Data() + stream.Length()});
    }
}

}  // namespace

void GenerateStyleArt(ArtOutput& out) {
    const auto items = CatalogueItems();
    CheckCatalogue(items);
    const std::vector<ArgbImage> images = DrawAllStyles(items);
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].IsHeading()) continue;
        CheckStyle(items[i], images[i], i + 1);
        out.AddRaw(Archive::kStyleResourceBase + items[i].entry.resourceNumber,
                   StyleResource(items[i], images[i]));
    }
    const ArgbImage strip = style::DrawArchiveStrip(items, images);
    AddTiles(out, strip);
    out.Review("archive-strip.png", strip);
    out.Review("styles.png", style::DrawContactSheet(items, images));
    out.Review("styles-widened.png", style::DrawStretchSheet(items, images));
    out.Review("styles-backgrounds.png", style::DrawBackgroundSheet(items, images));
    out.Review("styles-showcase.png", style::DrawShowcase(items, images));
}

}  // namespace tabora::art
