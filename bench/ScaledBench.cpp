// Buttons for high-density screens: a cold render and a colour change at 2x
// and 3x, and a batch of captioned buttons at 1x and 2x on two threads.
#include <benchmark/benchmark.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "imaging/ButtonFile.h"
#include "imaging/Formats.h"
#include "io/MacStream.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

namespace tabora {
namespace {

// The first catalogue style of a typical width (about 100 pixels or more).
int16_t WideStyle() {
    for (int16_t n = 1; n <= Archive::kEntryCount; ++n) {
        auto style = GetArchive().Load(n);
        if (style && style->image.Width() >= 100) return n;
    }
    return 1;
}

// Size 150, hue and brightness shifted, both shadows, an antialiased
// 12-point caption: the cold-render case of the 1x benchmarks.
void Configure(TaboraButton& b) {
    b.SetStyleNumber(WideStyle());
    b.SetButtonSize(150);
    b.SetHueShift(1200);
    b.SetBrightness(60);
    b.SetShadow(true);
    b.SetTextShadow(true);
    b.SetAntialias(true);
    b.SetCaption("Download");
    b.PrepareExport();
}

// Every layer stale, the 1x layout's as well, as after opening a file; then
// the picture and the export rectangle an export writes.
void BM_ScaledColdRender(benchmark::State& state) {
    TaboraButton b(GetArchive(), int(state.range(0)));
    Configure(b);
    for (auto _ : state) {
        b.Invalidate(TaboraButton::kAllLayers);
        b.PrepareExport();
        benchmark::DoNotOptimize(b.canvas().Pixels());
    }
}
BENCHMARK(BM_ScaledColdRender)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_ScaledColourChange(benchmark::State& state) {
    TaboraButton b(GetArchive(), int(state.range(0)));
    Configure(b);
    Color c = 0;
    for (auto _ : state) {
        b.SetTextColor(c ^= 0x00FF00);
        b.Render();
        benchmark::DoNotOptimize(b.canvas().Pixels());
    }
}
BENCHMARK(BM_ScaledColourChange)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

// 1,000 captioned buttons of many styles, each written as a PNG into memory
// at the scale of the argument: the work of a batch without the file system,
// one button per thread on two threads.
void BM_Batch1000(benchmark::State& state) {
    const int scale = int(state.range(0));
    constexpr int kButtons = 1000;
    constexpr int kThreads = 2;
    std::vector<int16_t> styles;
    for (int16_t n = 1; n <= Archive::kEntryCount; ++n)
        if (GetArchive().HasStyleData(n)) styles.push_back(n);
    std::vector<ButtonSettings> jobs(kButtons);
    for (int i = 0; i < kButtons; ++i) {
        jobs[size_t(i)].styleNumber = styles[size_t(i * 37) % styles.size()];
        jobs[size_t(i)].caption = "Page " + std::to_string(i);
        jobs[size_t(i)].antialias = true;
        jobs[size_t(i)].shadow = i % 2 == 0;
    }
    const FormatEntry& png = *FindFormat("png");
    for (auto _ : state) {
        std::atomic<int> next{0};
        auto worker = [&] {
            TaboraButton button(GetArchive(), scale);
            for (int i = next++; i < kButtons; i = next++) {
                button.ApplySettings(jobs[size_t(i)]);
                PtrMacStream out;
                ExportButton(button, png, out);
            }
        };
        std::vector<std::thread> pool;
        for (int t = 1; t < kThreads; ++t) pool.emplace_back(worker);
        worker();
        for (std::thread& t : pool) t.join();
    }
}
BENCHMARK(BM_Batch1000)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tabora
