// The art drawn at 2x and 3x, as the programs carry it: every style, tile and
// interface picture is exactly k times its 1x twin, looks like it, and widens
// without a seam; and the readers turn damaged resources away cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/JpegCodec.h"
#include "io/CDib.h"
#include "io/MacStream.h"
#include "platform/Resources.h"
#include "styles/Catalogue.h"
#include "styles/ScaledArt.h"
#include "tests/support/ScaledImages.h"

using namespace tabora;
using tabora::test::MeanErrorOfReduction;

namespace {

// The k device columns of the CSS stretch column and their neighbours on
// both sides are one colour in every row: repeating them leaves no seam.
void ExpectWidensSeamlessly(const ArgbImage& image, int32_t column, int scale) {
    for (int32_t y = 0; y < image.Height(); ++y)
        for (int32_t x = column - 1; x <= column + scale; ++x)
            ASSERT_EQ(image.At(x, y), image.At(column, y)) << "column " << x << ", row " << y;
}

std::vector<uint8_t> ScaledStyleBytes(int32_t styleNumber, int scale) {
    const ResourceBytes bytes = Resources().FindRaw(
        Archive::kStyleResourceBase + GetArchive().Entry(styleNumber)->resourceNumber, scale);
    return {bytes.begin(), bytes.end()};
}

void Put16(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    bytes[at] = uint8_t(value >> 8);
    bytes[at + 1] = uint8_t(value);
}

// The width and height in a baseline JPEG's frame header.
Point JpegSize(ResourceBytes jpeg) {
    for (size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0)
            return {jpeg[i + 7] << 8 | jpeg[i + 8], jpeg[i + 5] << 8 | jpeg[i + 6]};
    return {};
}

// Every interface picture, by the 1x loader each takes: colour pictures with
// a mask, grey pictures whose darkness is their opacity, opaque colour ones.
const char* const kPairs[] = {"choosei",   "adjusti",   "bcolori",   "shadowi",    "typei",
                              "savei",     "orange1i",  "orange2i",  "orange3i",   "orange4i",
                              "orange5i",  "orange6i",  "gificoni",  "jpgiconi",   "pngiconi",
                              "bmpiconi",  "webpiconi", "TABORA16i", "TABORA32i",  "TABORA48i",
                              "TABORA256i", "wabacki",  "waoverlayi", "banner"};
const char* const kGreys[] = {"size",      "hue",     "bright",  "tcolor", "antialias", "shadow",
                              "placement", "zero",    "one",     "two",    "three",     "four",
                              "five",      "six",     "seven",   "eight",  "nine",      "lparen",
                              "rparen",    "decimal", "percent", "degree", "minus",     "plus"};
const char* const kColours[] = {"abback", "ttype"};

std::string MaskOf(std::string name) {
    if (name.starts_with("orange")) return "orangenm";
    if (name.back() == 'i') name.pop_back();
    return name + "m";
}

bool IsStepLabel(std::string_view name) {
    for (const char* label : {"choosei", "adjusti", "bcolori", "shadowi", "typei", "savei"})
        if (name == label) return true;
    return false;
}

// A finer picture may differ from its 1x twin only as much as sharper edges
// explain: in 8-bit steps, averaged over the picture (today at most 2.6 for a
// style, 4.9 for a picture). The step labels are all text, which the font
// hints to the pixel grid, so it is bolder at 11 pixels than at 22 or 33
// (today at most 10.4).
constexpr double kMaxStyleError = 4.0;
constexpr double kMaxPictureError = 6.0;
constexpr double kMaxTextPictureError = 13.0;

}  // namespace

TEST(ScaledStyles, EveryStyleIsExactlyKTimesItsOneTimesStyleAndLooksLikeIt) {
    const Archive& archive = GetArchive();
    for (int scale : {2, 3}) {
        std::vector<std::pair<double, int32_t>> errors;
        for (int32_t n = 1; n <= Archive::kEntryCount; ++n) {
            if (!archive.HasStyleData(n)) continue;
            SCOPED_TRACE("style " + std::to_string(n) + " at " + std::to_string(scale) + "x");
            const auto one = archive.Load(n);
            const auto scaled = LoadScaledStyle(archive, n, scale);
            ASSERT_NE(one, nullptr);
            ASSERT_NE(scaled, nullptr);
            ASSERT_EQ(scaled->image.Width(), one->image.Width() * scale);
            ASSERT_EQ(scaled->image.Height(), one->image.Height() * scale);
            EXPECT_EQ(scaled->defaultStretch, one->defaultStretch);
            if (one->stretchColumn < 0) {
                EXPECT_EQ(scaled->stretchColumn, -1);
            } else {
                ASSERT_EQ(scaled->stretchColumn, one->stretchColumn * scale);
                ExpectWidensSeamlessly(scaled->image, scaled->stretchColumn, scale);
            }
            const double error = MeanErrorOfReduction(one->image, scaled->image, scale);
            EXPECT_LT(error, kMaxStyleError);
            errors.push_back({error, n});
        }
        std::sort(errors.rbegin(), errors.rend());
        std::printf("%dx: worst mean errors after reduction:", scale);
        for (size_t i = 0; i < 5 && i < errors.size(); ++i)
            std::printf(" style %d %.2f;", errors[i].second, errors[i].first);
        std::printf("\n");
    }
}

TEST(ScaledStyles, EdgesStayOneDevicePixelSoft) {
    // Across the middle row and the middle column of a flat body each edge
    // leaves at most one partly covered pixel, at every scale: the finer
    // picture is sharper, not the 1x picture enlarged.
    const auto items = CatalogueItems();
    int checked = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const StyleRecipe& r = items[i].recipe;
        if (items[i].IsHeading() || r.material != StyleMaterial::Flat || r.icon != StyleIcon::None)
            continue;
        for (int scale : {2, 3}) {
            const auto style = LoadScaledStyle(GetArchive(), int32_t(i + 1), scale);
            ASSERT_NE(style, nullptr);
            const ArgbImage& image = style->image;
            auto soft = [&](int32_t x, int32_t y) {
                const uint8_t a = PixelAlpha(image.At(x, y));
                return a > 0 && a < 255 ? 1 : 0;
            };
            int across = 0, down = 0;
            for (int32_t x = 0; x < image.Width(); ++x) across += soft(x, image.Height() / 2);
            for (int32_t y = 0; y < image.Height(); ++y) down += soft(image.Width() / 2, y);
            EXPECT_LE(across, 2) << "style " << i + 1 << " at " << scale << "x";
            EXPECT_LE(down, 2) << "style " << i + 1 << " at " << scale << "x";
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

TEST(ScaledStyles, ScaleOneIsTheOneTimesStyleAndOtherScalesHaveNone) {
    const Archive& archive = GetArchive();
    const auto one = archive.Load(1);
    const auto same = LoadScaledStyle(archive, 1, 1);
    ASSERT_NE(same, nullptr);
    EXPECT_TRUE(std::equal(one->image.Pixels(),
                           one->image.Pixels() + one->image.Width() * one->image.Height(),
                           same->image.Pixels()));
    EXPECT_EQ(same->stretchColumn, one->stretchColumn);
    for (int scale : {-1, 0, 4, 255}) EXPECT_EQ(LoadScaledStyle(archive, 1, scale), nullptr);
    for (int32_t n : {0, -5, Archive::kEntryCount + 1})
        EXPECT_EQ(LoadScaledStyle(archive, n, 2), nullptr);
}

TEST(ScaledStyleResource, RoundTripsAndKeepsItsStretchOnTheGrid) {
    ArgbImage image(8, 4);
    for (int32_t i = 0; i < 32; ++i)
        image.Pixels()[i] = MakePixel(uint8_t(i * 8), 1, 2, uint8_t(i));
    auto read = [&](int16_t stretch, int16_t column) {
        return ReadScaledStyle(WriteScaledStyle(image, 2, stretch, column), 2);
    };
    const auto style = read(12, 4);
    ASSERT_NE(style, nullptr);
    EXPECT_TRUE(std::equal(image.Pixels(), image.Pixels() + 32, style->image.Pixels()));
    EXPECT_EQ(style->defaultStretch, 12);
    EXPECT_EQ(style->stretchColumn, 4);
    // A column off the CSS grid, or whose k columns leave the picture, cannot
    // be repeated; widening may not push the body past the canvas.
    EXPECT_EQ(read(0, 3)->stretchColumn, -1);
    EXPECT_EQ(read(0, 7)->stretchColumn, -1);
    EXPECT_EQ(read(0, 6)->stretchColumn, 6);
    EXPECT_EQ(read(-4, 0)->defaultStretch, 0);
    EXPECT_EQ(read(500, 0)->defaultStretch, Archive::kMaxStyleWidth - 4);
}

TEST(ScaledStyleResource, DamageOfEveryKindFailsCleanly) {
    const std::vector<uint8_t> good = ScaledStyleBytes(1, 2);
    ASSERT_GT(good.size(), 16u);
    ASSERT_NE(ReadScaledStyle(good, 2), nullptr);
    EXPECT_EQ(ReadScaledStyle(good, 3), nullptr) << "read at another scale";
    EXPECT_EQ(ReadScaledStyle({}, 2), nullptr);

    const int32_t width = good[4] << 8 | good[5], height = good[6] << 8 | good[7];
    auto damaged = [&](auto change) {
        std::vector<uint8_t> bytes = good;
        change(bytes);
        return ReadScaledStyle(bytes, 2);
    };
    EXPECT_EQ(damaged([](auto& b) { Put16(b, 0, 2); }), nullptr) << "unknown version";
    EXPECT_EQ(damaged([](auto& b) { Put16(b, 2, 3); }), nullptr) << "scale differs";
    EXPECT_EQ(damaged([&](auto& b) { Put16(b, 4, width + 1); }), nullptr) << "odd width";
    EXPECT_EQ(damaged([](auto& b) { Put16(b, 4, 2 * (Archive::kMaxStyleWidth + 1)); }), nullptr)
        << "wider than the canvas";
    EXPECT_EQ(damaged([](auto& b) { Put16(b, 6, 0); }), nullptr) << "no rows";
    EXPECT_EQ(damaged([&](auto& b) { Put16(b, 6, height - 2); }), nullptr) << "fewer rows";
    EXPECT_EQ(damaged([&](auto& b) { Put16(b, 6, height + 2); }), nullptr) << "more rows";
    EXPECT_EQ(damaged([](auto& b) { b[8] = 0x7F; }), nullptr) << "packed length past the end";
    EXPECT_EQ(damaged([](auto& b) { b[b.size() / 2] ^= 0x10; }), nullptr) << "pixels damaged";
    EXPECT_EQ(damaged([](auto& b) { b.push_back(0); }), nullptr) << "trailing bytes";
    // Cut short anywhere: refused, never half a picture.
    for (size_t cut = 0; cut < good.size(); cut += 1 + cut / 8) {
        const std::vector<uint8_t> part(good.begin(), good.begin() + ptrdiff_t(cut));
        EXPECT_EQ(ReadScaledStyle(part, 2), nullptr) << "cut at " << cut;
    }
}

TEST(ScaledStyleResource, AStyleThatDoesNotFitItsCatalogueEntryIsNotLoaded) {
    // A resource table in which style 1 at 2x is a (well-formed) picture of
    // another size, and style 2 is missing.
    const ArchiveEntry& entry = *GetArchive().Entry(1);
    ArgbImage wrong(2 * 20, 2 * 10);
    ResourceBlobWriter writer;
    writer.AddRaw(Archive::kStyleResourceBase + entry.resourceNumber, 2,
                  WriteScaledStyle(wrong, 2, 0, -1));
    const std::vector<uint8_t> blob = writer.Finish();
    const ResourceTable table(blob.data(), blob.size());
    SetResourcesForTesting(&table);
    EXPECT_EQ(LoadScaledStyle(GetArchive(), 1, 2), nullptr);
    EXPECT_EQ(LoadScaledStyle(GetArchive(), 2, 2), nullptr);
    SetResourcesForTesting(nullptr);
}

TEST(ScaledPictures, EveryPictureIsExactlyKTimesItsOneTimesPictureAndLooksLikeIt) {
    auto check = [](const char* name, auto load) {
        ArgbImage one;
        ASSERT_TRUE(load(one, 1)) << name;
        for (int scale : {2, 3}) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(scale) + "x");
            ArgbImage scaled;
            ASSERT_TRUE(load(scaled, scale));
            ASSERT_EQ(scaled.Width(), one.Width() * scale);
            ASSERT_EQ(scaled.Height(), one.Height() * scale);
            EXPECT_LT(MeanErrorOfReduction(one, scaled, scale),
                      IsStepLabel(name) ? kMaxTextPictureError : kMaxPictureError);
        }
    };
    for (const char* name : kPairs)
        check(name, [&](ArgbImage& image, int scale) {
            return LoadScaledPicturePair(image, name, MaskOf(name), scale);
        });
    for (const char* name : kGreys)
        check(name, [&](ArgbImage& image, int scale) {
            return LoadScaledPicture(image, name, true, scale);
        });
    for (const char* name : kColours)
        check(name, [&](ArgbImage& image, int scale) {
            return LoadScaledPicture(image, name, false, scale);
        });
}

TEST(ScaledPictures, MissingOrDamagedPicturesLeaveAnEmptyImage) {
    ArgbImage image(3, 3);
    EXPECT_FALSE(LoadScaledPicturePair(image, "nosuchpicture", "nosuchmask", 2));
    EXPECT_EQ(image.Width(), 0);
    EXPECT_FALSE(LoadScaledPicturePair(image, "banner", "bannerm", 4));
    EXPECT_FALSE(LoadScaledPicture(image, "hue", true, 0));

    const ResourceBytes stored = Resources().FindPicture("hue", 2);
    std::vector<uint8_t> bytes(stored.begin(), stored.end());
    ASSERT_TRUE(ReadScaledPicture(bytes, 2, image));
    bytes.pop_back();
    EXPECT_FALSE(ReadScaledPicture(bytes, 2, image));
    EXPECT_EQ(image.Width(), 0);
    // Larger than any interface picture may be.
    std::vector<uint8_t> huge(stored.begin(), stored.end());
    Put16(huge, 4, 2 * (kMaxPictureSide + 1));
    EXPECT_FALSE(ReadScaledPicture(huge, 2, image));
}

TEST(ScaledStripTiles, EveryTileIsKTimesItsOneTimesTileAndDecodes) {
    JpegCodec codec(100);
    for (int scale = kMinArtScale; scale <= kMaxArtScale; ++scale) {
        CDib dib(Archive::kStripWidth * scale, Archive::kTileHeight * scale, 24);
        ASSERT_TRUE(dib.AllocateImage());
        for (int32_t tile = 0; tile < Archive::kTileCount; ++tile) {
            SCOPED_TRACE("tile " + std::to_string(tile) + " at " + std::to_string(scale) + "x");
            const ResourceBytes jpeg = FindStripTile(tile, scale);
            ASSERT_FALSE(jpeg.empty());
            const Point size = JpegSize(jpeg);
            EXPECT_EQ(size.x, Archive::kStripWidth * scale);
            EXPECT_EQ(size.y, Archive::kTileHeight * scale);
            PtrMacStream stream(jpeg.data(), uint32_t(jpeg.size()), false);
            codec.Decode(stream, dib, {0, 0, size.x, size.y});
        }
        EXPECT_TRUE(FindStripTile(Archive::kTileCount, scale).empty());
        EXPECT_TRUE(FindStripTile(-1, scale).empty());
    }
    EXPECT_EQ(FindStripTile(0, 1).data(), Resources().FindRaw(Archive::kTileResourceBase).data());
}

// Drawing the finer art must leave the 1x art exactly as it was. Given the
// tabora.res of an earlier build (TABORA_BASELINE_RES=path), every resource in
// it must be here with the same bytes; without it the test has nothing to do.
TEST(OneTimesArt, IsByteForByteTheBaselines) {
    const char* path = std::getenv("TABORA_BASELINE_RES");
    if (!path) GTEST_SKIP() << "set TABORA_BASELINE_RES to an earlier tabora.res";
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> blob((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    const ResourceTable baseline(blob.data(), blob.size());
    ASSERT_GT(baseline.Count(), 0u) << path;
    auto get32 = [&](size_t at) {
        return uint32_t(blob[at]) | uint32_t(blob[at + 1]) << 8 | uint32_t(blob[at + 2]) << 16 |
               uint32_t(blob[at + 3]) << 24;
    };
    for (size_t i = 0; i < baseline.Count(); ++i) {
        const size_t entry = 12 + i * ResourceTable::kEntrySize;
        const uint32_t kind = get32(entry), id = get32(entry + 4);
        const std::string name(reinterpret_cast<const char*>(&blob[entry + 16]));
        const ResourceBytes old =
            kind == ResourceTable::kRaw ? baseline.FindRaw(int(id)) : baseline.FindBitmap(name);
        const ResourceBytes now = kind == ResourceTable::kRaw ? Resources().FindRaw(int(id))
                                                              : Resources().FindBitmap(name);
        EXPECT_TRUE(std::equal(old.begin(), old.end(), now.begin(), now.end()))
            << "kind " << kind << " id " << id << " " << name;
    }
}
