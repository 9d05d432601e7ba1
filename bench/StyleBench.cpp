#include <benchmark/benchmark.h>

#include "styles/Archive.h"
#include "styles/Catalogue.h"
#include "styles/ScaledArt.h"

using namespace tabora;

namespace {

// The largest style of the catalogue: the worst case for one load.
int32_t LargestStyle() {
    auto items = CatalogueItems();
    int32_t best = 1, bestArea = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const int32_t area = int32_t(items[i].recipe.width) * items[i].recipe.height;
        if (!items[i].IsHeading() && area > bestArea) best = int32_t(i + 1), bestArea = area;
    }
    return best;
}

// Loading a style: find the resource, unscramble, read the pixels.
void BM_LoadStyle(benchmark::State& state) {
    const Archive& archive = GetArchive();
    const int32_t number = state.range(0) ? LargestStyle() : 1;
    for (auto _ : state) {
        auto style = archive.Load(number);
        benchmark::DoNotOptimize(style.get());
    }
}
BENCHMARK(BM_LoadStyle)->Arg(0)->Arg(1);

// Loading a style drawn at 2x or 3x: find the resource, inflate the pixels
// straight into the picture, check it against the catalogue. Arguments: the
// scale, and 0 for style 1 or 1 for the largest style.
void BM_LoadScaledStyle(benchmark::State& state) {
    const Archive& archive = GetArchive();
    const int scale = int(state.range(0));
    const int32_t number = state.range(1) ? LargestStyle() : 1;
    for (auto _ : state) {
        auto style = LoadScaledStyle(archive, number, scale);
        benchmark::DoNotOptimize(style.get());
    }
    auto style = LoadScaledStyle(archive, number, scale);
    state.SetLabel(std::to_string(style->image.Width()) + " x " +
                   std::to_string(style->image.Height()));
}
BENCHMARK(BM_LoadScaledStyle)->Args({2, 0})->Args({2, 1})->Args({3, 0})->Args({3, 1});

// The preview's frame, the picture the renderer loads with every button.
void BM_LoadScaledPicture(benchmark::State& state) {
    const int scale = int(state.range(0));
    ArgbImage image;
    for (auto _ : state) {
        LoadScaledPicturePair(image, "waoverlayi", "waoverlaym", scale);
        benchmark::DoNotOptimize(image.Pixels());
    }
}
BENCHMARK(BM_LoadScaledPicture)->Arg(1)->Arg(2)->Arg(3);

void BM_HitTestLastEntry(benchmark::State& state) {
    const Archive& archive = GetArchive();
    const ArchiveEntry* last = archive.Entry(Archive::kEntryCount);
    for (auto _ : state) benchmark::DoNotOptimize(archive.HitTest(last->left, last->top));
}
BENCHMARK(BM_HitTestLastEntry);

}  // namespace
