// A web button with all its states, as a batch makes it: the five states
// drawn in one rectangle, each written as a PNG file, the vertical sprite,
// and the button's rules in the style sheet. Files go to memory, so the
// figure is the processor's work, not the disk's.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "imaging/StateFiles.h"
#include "imaging/StyleSheet.h"
#include "io/MacStream.h"
#include "render/StatePictures.h"
#include "styles/Archive.h"

namespace tabora {
namespace {

ButtonSettings Normal(int n) {
    ButtonSettings s;
    s.styleNumber = 12;
    s.buttonSize = 240;
    s.fontStyle = kFontBold;
    s.antialias = true;
    // Another caption each time, as the next button of a batch has.
    s.caption = "Products " + std::to_string(n % 97);
    return s;
}

// As SaveStateFiles writes them, to memory: the pictures share their
// compressed rows with the sprite.
void WriteAll(const StateSet& set, bool files, bool sprite, size_t& bytes) {
    const FormatEntry& png = *FindFormat(ImageFormat::Png);
    const ButtonStates states;
    StateExporter exporter(set, states);
    if (files) {
        for (size_t i = 0; i < set.pictures.size(); ++i) {
            PtrMacStream out;
            exporter.Picture(i, png, out);
            bytes += out.Length();
        }
    }
    if (sprite) {
        PtrMacStream out;
        exporter.Sprite(png, out);
        bytes += out.Length();
    }
}

// The button's rules in the style sheet, from its 1x set.
std::string Rules(const StateSet& one, bool sprite, std::vector<int> scales) {
    WebButton web;
    web.output = "img/products.png";
    web.className = "products";
    web.width = one.rect.Width();
    web.height = one.rect.Height();
    web.states = {kAllStates.begin(), kAllStates.end()};
    web.sprite = sprite;
    web.scales = std::move(scales);
    return ButtonCss({web}, "nav.css");
}

// args: files (1/0), sprite (1/0), scales (1: 1x alone; 2: 1x and 2x, each
// state's file and the sprite at both, as a batch entry with "scales": [1, 2]).
void BM_ButtonWithFiveStates(benchmark::State& state) {
    const bool files = state.range(0) != 0, sprite = state.range(1) != 0;
    const bool twice = state.range(2) == 2;
    StateRenderer renderer(GetArchive());
    int n = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        const ButtonSettings normal = Normal(n++);
        const StateSet one = renderer.Render(normal, ButtonStates{}, kAllStates, 1, false);
        WriteAll(one, files, sprite, bytes);
        if (twice) {
            const StateSet two =
                renderer.Render(normal, ButtonStates{}, kAllStates, 2, false, &one);
            WriteAll(two, files, sprite, bytes);
        }
        benchmark::DoNotOptimize(
            Rules(one, sprite, twice ? std::vector<int>{1, 2} : std::vector<int>{1}));
    }
    state.counters["bytes"] = benchmark::Counter(double(bytes) / double(n));
}
BENCHMARK(BM_ButtonWithFiveStates)
    ->ArgNames({"files", "sprite", "scales"})
    ->Args({1, 0, 1})
    ->Args({0, 1, 1})
    ->Args({1, 1, 1})
    ->Args({1, 1, 2})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// Drawing alone: the five states, without writing them.
void BM_FiveStatesDrawn(benchmark::State& state) {
    StateRenderer renderer(GetArchive());
    int n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderer.Render(Normal(n++), ButtonStates{}, kAllStates, 1, false));
    }
}
BENCHMARK(BM_FiveStatesDrawn)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tabora
