// The button renderer's layer cache at work: a cold render, and the re-render
// after each kind of change the controls make while the user drags or types.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "render/TaboraButton.h"

namespace tabora {
namespace {

// A built-in style if the catalogue has one, else a body-like picture of a
// typical size (144 x 30, soft rim, transparent corners, stretchable).
std::unique_ptr<ButtonStyle> BenchStyle() {
    for (int32_t n = 1; n <= Archive::kEntryCount; ++n) {
        auto style = GetArchive().Load(n);
        if (style && style->image.Width() >= 100) return style;
    }
    auto style = std::make_unique<ButtonStyle>();
    const int32_t w = 144, h = 30;
    style->image.Allocate(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const int32_t edge = std::min({x, y, w - 1 - x, h - 1 - y});
            const uint8_t a = edge == 0 ? 0 : edge == 1 ? 128 : 255;
            style->image.At(x, y) = MakePixel(a, uint8_t(40 + y * 3), uint8_t(90 + x / 2), 200);
        }
    style->stretchColumn = 70;
    return style;
}

// Size 150, hue and brightness shifted, both shadows, a 12-point caption.
void Configure(TaboraButton& b, bool antialias) {
    b.SetStyleForTesting(BenchStyle());
    b.SetButtonSize(150);
    b.SetHueShift(1200);
    b.SetBrightness(60);
    b.SetShadow(true);
    b.SetTextShadow(true);
    b.SetAntialias(antialias);
    b.SetCaption("Download");
    b.Render();
}

// Every layer stale, as after opening a file (the caption font stays cached).
void BM_ColdRender(benchmark::State& state) {
    TaboraButton b;
    Configure(b, true);
    for (auto _ : state) {
        b.Invalidate(TaboraButton::kAllLayers);
        b.Render();
        benchmark::DoNotOptimize(b.canvas().Pixels());
    }
}
BENCHMARK(BM_ColdRender)->Unit(benchmark::kMicrosecond);

// A new button each time: allocation, font lookup and every layer.
void BM_NewButtonRender(benchmark::State& state) {
    auto style = BenchStyle();
    for (auto _ : state) {
        TaboraButton b;
        b.SetStyleForTesting(std::make_unique<ButtonStyle>(*style));
        b.SetButtonSize(150);
        b.SetHueShift(1200);
        b.SetBrightness(60);
        b.SetAntialias(true);
        b.SetCaption("Download");
        b.Render();
        benchmark::DoNotOptimize(b.canvas().Pixels());
    }
}
BENCHMARK(BM_NewButtonRender)->Unit(benchmark::kMicrosecond);

void BM_ColourChange(benchmark::State& state) {
    TaboraButton b;
    Configure(b, true);
    Color c = 0;
    for (auto _ : state) {
        b.SetTextColor(c ^= 0x00FF00);
        b.Render();
        benchmark::DoNotOptimize(b.canvas().Pixels());
    }
}
BENCHMARK(BM_ColourChange)->Unit(benchmark::kMicrosecond);

void BM_HueChange(benchmark::State& state) {
    TaboraButton b;
    Configure(b, true);
    int32_t hue = 0;
    for (auto _ : state) {
        b.SetHueShift(hue = (hue + 97) % 4096);
        b.Render();
        benchmark::DoNotOptimize(b.canvas().Pixels());
    }
}
BENCHMARK(BM_HueChange)->Unit(benchmark::kMicrosecond);

// One more or one fewer letter at the end, as typing and deleting do.
void CaptionKeystroke(benchmark::State& state, bool antialias) {
    TaboraButton b;
    Configure(b, antialias);
    bool longer = false;
    for (auto _ : state) {
        b.SetCaption((longer = !longer) ? "Downloads" : "Download");
        b.Render();
        benchmark::DoNotOptimize(b.canvas().Pixels());
    }
}
void BM_CaptionKeystrokePlain(benchmark::State& state) { CaptionKeystroke(state, false); }
void BM_CaptionKeystrokeAntialiased(benchmark::State& state) { CaptionKeystroke(state, true); }
BENCHMARK(BM_CaptionKeystrokePlain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaptionKeystrokeAntialiased)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tabora
