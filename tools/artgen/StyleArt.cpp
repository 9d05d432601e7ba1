#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "imaging/JpegCodec.h"
#include "io/MacStream.h"
#include "styles/Catalogue.h"
#include "styles/ScaledArt.h"
#include "tools/artgen/ArtOutput.h"
#include "tools/artgen/StripArt.h"
#include "tools/artgen/StyleMaterials.h"

// The styles, their resources and the archive strip, all from the catalogue.
namespace tabora::art {

namespace {

using style::DrawStyle;

// Tiles are shown through a 24-bit bitmap at their own size; this quality
// keeps gradients and one-pixel borders clean at about 40 KB a tile (and
// about 90 and 160 KB at 2x and 3x).
constexpr int16_t kTileQuality = 90;
// Two workers: the machine that builds has two cores.
constexpr unsigned kWorkers = 2;

// Runs work(i) for every style item on all workers. Each result lands at its
// item's index whatever the order the workers finish in, so the output is
// the same every run.
template <class Work>
void ForEachStyle(std::span<const CatalogueItem> items, Work work) {
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t i; (i = next++) < items.size();)
            if (!items[i].IsHeading()) work(i);
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < kWorkers; ++t) threads.emplace_back(worker);
    worker();
    for (auto& t : threads) t.join();
}

std::vector<ArgbImage> DrawAllStyles(std::span<const CatalogueItem> items, int scale) {
    std::vector<ArgbImage> images(items.size());
    ForEachStyle(items, [&](size_t i) {
        // Each style's noise has its own seed, fixed by its number, the same
        // at every scale.
        images[i] = DrawStyle(items[i].recipe, uint32_t(i + 1) * 2654435761u, scale);
    });
    return images;
}

// The stretch column must sit where every column looks the same, or the
// widened button shows a seam; the catalogue and the drawing agree on that
// only if we check. At scale k the k columns of the CSS column repeat, and
// so must match each other and their neighbours on both sides.
void CheckStyle(const CatalogueItem& item, const ArgbImage& image, size_t number, int scale) {
    const StyleRecipe& r = item.recipe;
    auto fail = [&](const std::string& what) {
        throw std::runtime_error("style " + std::to_string(number) + " at " +
                                 std::to_string(scale) + "x: " + what);
    };
    if (image.Width() != r.width * scale || image.Height() != r.height * scale)
        fail("size differs from recipe");
    if (r.width > Archive::kMaxStyleWidth || r.height > Archive::kMaxStyleHeight)
        fail("larger than the canvas allows");
    if (item.entry.stretchColumn < 0) return;
    const int32_t c = item.entry.stretchColumn * scale;
    if (c < 1 || c + scale >= image.Width()) fail("stretch column at the edge");
    for (int32_t y = 0; y < image.Height(); ++y)
        for (int32_t x = c - 1; x <= c + scale; ++x)
            if (image.At(x, y) != image.At(c, y))
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

// The 1x resource keeps the design's scrambled format; the finer ones are
// deflated, which packs their smooth pixels some twenty times.
std::vector<uint8_t> StyleResource(const CatalogueItem& item, const ArgbImage& image, int scale) {
    if (scale > 1)
        return WriteScaledStyle(
            image, scale, item.entry.defaultStretch,
            int16_t(item.entry.stretchColumn < 0 ? -1 : item.entry.stretchColumn * scale));
    PtrMacStream stream;
    Archive::WriteStyle(stream, image, item.entry.defaultStretch, item.entry.stretchColumn);
    return {stream.Data(), stream.Data() + stream.Length()};
}

// Deflating at the best compression takes about as long as drawing; the
// workers share it too.
std::vector<std::vector<uint8_t>> StyleResources(std::span<const CatalogueItem> items,
                                                 const std::vector<ArgbImage>& images, int scale) {
    std::vector<std::vector<uint8_t>> resources(items.size());
    ForEachStyle(items,
                 [&](size_t i) { resources[i] = StyleResource(items[i], images[i], scale); });
    return resources;
}

void AddTiles(ArtOutput& out, const ArgbImage& strip, int scale) {
    JpegCodec codec(kTileQuality);
    const int32_t w = Archive::kStripWidth * scale, h = Archive::kTileHeight * scale;
    for (int32_t i = 0; i < Archive::kTileCount; ++i) {
        PtrMacStream stream;
        codec.Write(strip, stream, Rect{0, i * h, w, (i + 1) * h}, nullptr, 0);
        out.AddRaw(Archive::kTileResourceBase + i, scale,
                   {stream.Data(), stream.Data() + stream.Length()});
    }
}

// Three windows onto the strip side by side, as the view shows them: its
// top, where the dark-page styles start, and where the classics start.
ArgbImage StripExcerpts(std::span<const CatalogueItem> items, const ArgbImage& strip) {
    constexpr int32_t kHeight = 720, kGap = 12;
    int32_t tops[3] = {0, 0, 0};
    for (const CatalogueItem& item : items) {
        if (item.heading == "For dark pages") tops[1] = item.entry.top;
        if (item.heading == "Glossy gel") tops[2] = item.entry.top;
    }
    ArgbImage out(3 * Archive::kStripWidth + 2 * kGap, kHeight);
    for (int32_t y = 0; y < out.Height(); ++y)
        for (int32_t x = 0; x < out.Width(); ++x) out.At(x, y) = MakePixel(255, 255, 255, 255);
    for (int k = 0; k < 3; ++k)
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < Archive::kStripWidth; ++x)
                out.At(k * (Archive::kStripWidth + kGap) + x, y) = strip.At(x, tops[k] + y);
    return out;
}

// Everything of one scale: the styles, their resources and the strip tiles.
std::vector<ArgbImage> GenerateScale(ArtOutput& out, std::span<const CatalogueItem> items,
                                     int scale) {
    std::vector<ArgbImage> images = DrawAllStyles(items, scale);
    for (size_t i = 0; i < items.size(); ++i)
        if (!items[i].IsHeading()) CheckStyle(items[i], images[i], i + 1, scale);
    auto resources = StyleResources(items, images, scale);
    for (size_t i = 0; i < items.size(); ++i)
        if (!items[i].IsHeading())
            out.AddRaw(Archive::kStyleResourceBase + items[i].entry.resourceNumber, scale,
                       std::move(resources[i]));
    const ArgbImage strip = style::DrawArchiveStrip(items, images, scale);
    AddTiles(out, strip, scale);
    if (scale == 1) {
        out.Review("archive-strip.png", strip);
        out.ReviewSmall("archive-strip-excerpts.png", StripExcerpts(items, strip));
    } else {
        // The top of the strip is enough to judge the finer tiles by.
        ArgbImage top(strip.Width(), Archive::kTileHeight * scale);
        std::copy_n(strip.Pixels(), size_t(top.Width()) * size_t(top.Height()), top.Pixels());
        out.Review("archive-strip@" + std::to_string(scale) + "x.png", top);
    }
    return images;
}

}  // namespace

void GenerateStyleArt(ArtOutput& out) {
    const auto items = CatalogueItems();
    CheckCatalogue(items);
    const std::vector<ArgbImage> images = GenerateScale(out, items, 1);
    const ArgbImage pages = style::DrawPagesSheet(items, images, 1, {});
    out.ReviewSmall("styles-on-pages.png", pages);
    out.Review("styles-on-pages-full.png", pages);
    for (const auto& [name, sheet] : style::DrawFamilySheets(items, images))
        out.ReviewSmall(name, sheet);
    out.Review("styles-widened.png", style::DrawStretchSheet(items, images));
    out.Review("styles-backgrounds.png", style::DrawBackgroundSheet(items, images));
    out.Review("styles-showcase.png", style::DrawShowcase(items, images));
    const std::vector<ArgbImage> twice = GenerateScale(out, items, 2);
    const std::vector<ArgbImage> thrice = GenerateScale(out, items, 3);
    out.Review("styles-scales.png", style::DrawScalesSheet(items, {&images, &twice, &thrice}));
    out.Review("styles-gallery.png", style::DrawGallery(items, images, 1));
    out.Review("styles-gallery@2x.png", style::DrawGallery(items, twice, 2));
    // Every style at 2x makes a large picture even paletted; the one kept in
    // the repository has one style of each family.
    out.ReviewSmall("styles-on-pages@2x.png", style::DrawPagesSheet(items, twice, 2, {false}));
    out.ReviewSmall("styles-on-pages-families@2x.png",
                    style::DrawPagesSheet(items, twice, 2, {true, true}));
}

}  // namespace tabora::art
