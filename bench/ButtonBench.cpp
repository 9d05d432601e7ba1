// The button renderer's layer cache at work: a cold render, and the re-render
// after each kind of change the controls make while the user drags or types.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "render/TaboraButton.h"
#include "styles/Archive.h"

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

// The bench style under every number.
class BenchStyleSource : public StyleSource {
public:
    std::unique_ptr<ButtonStyle> Load(int32_t) const override {
        return std::make_unique<ButtonStyle>(*style_);
    }

private:
    std::unique_ptr<ButtonStyle> style_ = BenchStyle();
};

const StyleSource& BenchStyles() {
    static const BenchStyleSource styles;
    return styles;
}

// Size 150, hue and brightness shifted, both shadows, a 12-point caption.
void Configure(TaboraButton& b, bool antialias) {
    b.SetStyleNumber(1);
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
    TaboraButton b(BenchStyles());
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
    for (auto _ : state) {
        TaboraButton b(BenchStyles());
        b.SetStyleNumber(1);
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
    TaboraButton b(BenchStyles());
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
    TaboraButton b(BenchStyles());
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
void CaptionKeystroke(benchmark::State& state, bool antialias, const std::string& caption,
                      const std::string& letter) {
    TaboraButton b(BenchStyles());
    Configure(b, antialias);
    const std::string longer = caption + letter;
    bool grow = false;
    for (auto _ : state) {
        b.SetCaption((grow = !grow) ? longer : caption);
        b.Render();
        benchmark::DoNotOptimize(b.canvas().Pixels());
    }
}
void BM_CaptionKeystrokePlain(benchmark::State& state) {
    CaptionKeystroke(state, false, "Download", "s");
}
void BM_CaptionKeystrokeAntialiased(benchmark::State& state) {
    CaptionKeystroke(state, true, "Download", "s");
}
BENCHMARK(BM_CaptionKeystrokePlain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaptionKeystrokeAntialiased)->Unit(benchmark::kMicrosecond);

// Shaped captions of 20 characters in the default font, which draws none of
// them itself: bidirectional levels, fallback faces and shaping at every
// keystroke. Arabic (joined, right to left), Devanagari (clusters), and a
// mixed-direction caption with an emoji.
const std::string kArabic20 =
    "\u0645\u0631\u062D\u0628\u0627 \u0628\u0643\u0645 \u0641\u064A "
    "\u0645\u062A\u062C\u0631\u0646\u0627!";
const std::string kDevanagari20 =
    "\u0928\u092E\u0938\u094D\u0924\u0947, \u0906\u092A\u0915\u093E "
    "\u0938\u094D\u0935\u093E\u0917\u0924\u092E";
const std::string kMixed20 =
    "Buy \u0639\u0631\u0628\u064A now \u05E9\u05DC\u05D5\u05DD \U0001F389!";
BENCHMARK_CAPTURE(CaptionKeystroke, ShapedArabicPlain, false, kArabic20, "\u064A")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CaptionKeystroke, ShapedArabicAntialiased, true, kArabic20, "\u064A")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CaptionKeystroke, ShapedDevanagariPlain, false, kDevanagari20, "\u0947")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CaptionKeystroke, ShapedDevanagariAntialiased, true, kDevanagari20, "\u0947")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CaptionKeystroke, ShapedMixedEmojiPlain, false, kMixed20, "!")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CaptionKeystroke, ShapedMixedEmojiAntialiased, true, kMixed20, "!")
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tabora
