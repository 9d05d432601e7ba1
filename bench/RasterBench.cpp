// The raster operations at the sizes the renderer uses them: the 174 x 74
// canvas, the 696 x 296 caption mask, a 144 x 30 button body.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "render/AlphaMask.h"
#include "render/ArgbImage.h"

namespace tabora {
namespace {

constexpr int32_t kW = 174, kH = 74;

// A mask like a caption's: mostly 0, solid strokes of 255, soft edges.
AlphaMask CaptionLikeMask(int32_t w, int32_t h) {
    AlphaMask m(w, h);
    std::mt19937 rng(1);
    for (int32_t y = h / 3; y < 2 * h / 3; ++y)
        for (int32_t x = w / 8; x < 7 * w / 8; ++x) {
            uint32_t r = rng() % 8;
            m.At(x, y) = uint8_t(r < 4 ? 0 : r < 7 ? 255 : rng());
        }
    return m;
}

// A body-like picture: opaque middle, transparent corners, a soft rim.
ArgbImage BodyLike(int32_t w, int32_t h) {
    ArgbImage img(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            int32_t edge = std::min({x, y, w - 1 - x, h - 1 - y});
            uint8_t a = edge == 0 ? 0 : edge == 1 ? 128 : 255;
            img.At(x, y) = MakePixel(a, uint8_t(40 + y * 3), uint8_t(90 + x / 2), 200);
        }
    return img;
}

void BM_Clear(benchmark::State& st) {
    ArgbImage img(kW, kH);
    for (auto _ : st) {
        img.Clear();
        benchmark::DoNotOptimize(img.Pixels());
    }
}
BENCHMARK(BM_Clear);

void BM_FillColour(benchmark::State& st) {
    ArgbImage img(kW, kH);
    for (auto _ : st) {
        img.Fill(MakeColor(10, 20, 30));
        benchmark::DoNotOptimize(img.Pixels());
    }
}
BENCHMARK(BM_FillColour);

void BM_FillThroughMask(benchmark::State& st) {
    ArgbImage img(kW, kH);
    AlphaMask mask = CaptionLikeMask(kW, kH);
    img.Fill(MakeColor(10, 20, 30));  // the opaque canvas the caption goes on
    for (auto _ : st) {
        img.Fill(MakeColor(200, 0, 0), mask);
        benchmark::DoNotOptimize(img.Pixels());
    }
}
BENCHMARK(BM_FillThroughMask);

void BM_CompositeOverCanvas(benchmark::State& st) {
    ArgbImage src(kW, kH), dst(kW, kH);
    BodyLike(144, 30).CompositeOver(src, std::nullopt, Rect{15, 22, kW, kH});
    dst.Fill(MakeColor(255, 255, 255));
    for (auto _ : st) {
        src.CompositeOver(dst);
        benchmark::DoNotOptimize(dst.Pixels());
    }
}
BENCHMARK(BM_CompositeOverCanvas);

void BM_CopyAlphaTo(benchmark::State& st) {
    ArgbImage src = BodyLike(kW, kH);
    AlphaMask dst(kW, kH);
    for (auto _ : st) {
        src.CopyAlphaTo(dst);
        benchmark::DoNotOptimize(dst.Bytes());
    }
}
BENCHMARK(BM_CopyAlphaTo);

void BM_StretchMiddle(benchmark::State& st) {
    ArgbImage body = BodyLike(144, 30), dst(kW, kH);
    for (auto _ : st) {
        body.StretchMiddle(dst, Rect{0, 0, kW, 30}, 72);
        benchmark::DoNotOptimize(dst.Pixels());
    }
}
BENCHMARK(BM_StretchMiddle);

void BM_ReduceMaskCaption(benchmark::State& st) {
    AlphaMask big = CaptionLikeMask(4 * kW, 4 * kH), small(kW, kH);
    for (auto _ : st) {
        big.ReduceInto(small);
        benchmark::DoNotOptimize(small.Bytes());
    }
}
BENCHMARK(BM_ReduceMaskCaption);

void BM_ReduceImageWhole(benchmark::State& st) {
    ArgbImage big = BodyLike(4 * kW, 4 * kH), small(kW, kH);
    for (auto _ : st) {
        big.ReduceInto(small);
        benchmark::DoNotOptimize(small.Pixels());
    }
}
BENCHMARK(BM_ReduceImageWhole);

void BM_ReduceImageBody(benchmark::State& st) {  // button size 100: ratio ~1.41
    ArgbImage body = BodyLike(144, 30), dst(kW, kH);
    for (auto _ : st) {
        body.ReduceInto(dst, Rect{0, 0, 101, 21});
        benchmark::DoNotOptimize(dst.Pixels());
    }
}
BENCHMARK(BM_ReduceImageBody);

void BM_ShiftHueBrightness(benchmark::State& st) {
    const ArgbImage body = BodyLike(144, 30);
    ArgbImage work(144, 30);
    for (auto _ : st) {
        st.PauseTiming();
        work = body;
        st.ResumeTiming();
        work.ShiftHueBrightness(work.Extent(), 1200, 60);
        benchmark::DoNotOptimize(work.Pixels());
    }
}
BENCHMARK(BM_ShiftHueBrightness);

void BM_ShiftHueBrightnessNoise(benchmark::State& st) {  // worst case: no two alike
    ArgbImage noise(144, 30);
    std::mt19937 rng(2);
    for (int32_t i = 0; i < 144 * 30; ++i) noise.Pixels()[i] = rng();
    for (auto _ : st) {
        noise.ShiftHueBrightness(noise.Extent(), 7, 0);
        benchmark::DoNotOptimize(noise.Pixels());
    }
}
BENCHMARK(BM_ShiftHueBrightnessNoise);

void BM_BlurShadow(benchmark::State& st) {
    AlphaMask src(kW, kH), dst(kW, kH);
    BodyLike(kW, kH).CopyAlphaTo(src);
    for (auto _ : st) {
        src.BlurInto(dst, 2, 40, 100);
        benchmark::DoNotOptimize(dst.Bytes());
    }
}
BENCHMARK(BM_BlurShadow);

void BM_BlurTextShadow(benchmark::State& st) {
    AlphaMask src = CaptionLikeMask(kW, kH), dst(kW, kH);
    for (auto _ : st) {
        src.BlurInto(dst, 1, 60, 100, Rect{1, 2, kW, kH});
        benchmark::DoNotOptimize(dst.Bytes());
    }
}
BENCHMARK(BM_BlurTextShadow);

void BM_BoundsImage(benchmark::State& st) {
    ArgbImage img(kW, kH);
    BodyLike(144, 30).CompositeOver(img, std::nullopt, Rect{15, 22, kW, kH});
    for (auto _ : st) benchmark::DoNotOptimize(img.Bounds());
}
BENCHMARK(BM_BoundsImage);

void BM_BoundsMask(benchmark::State& st) {
    AlphaMask mask = CaptionLikeMask(kW, kH);
    for (auto _ : st) benchmark::DoNotOptimize(mask.Bounds());
}
BENCHMARK(BM_BoundsMask);

void BM_DrawOnto(benchmark::State& st) {
    ArgbImage img = BodyLike(kW, kH);
    std::vector<uint32_t> screen(size_t(kW) * kH, 0xFFC0C0C0u);
    for (auto _ : st) {
        img.DrawOnto(RgbSurface{screen.data(), kW, kH, kW}, img.Extent());
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_DrawOnto);

}  // namespace
}  // namespace tabora
