#include <benchmark/benchmark.h>

#include "styles/Archive.h"
#include "styles/Catalogue.h"

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

void BM_HitTestLastEntry(benchmark::State& state) {
    const Archive& archive = GetArchive();
    const ArchiveEntry* last = archive.Entry(Archive::kEntryCount);
    for (auto _ : state) benchmark::DoNotOptimize(archive.HitTest(last->left, last->top));
}
BENCHMARK(BM_HitTestLastEntry);

}  // namespace
