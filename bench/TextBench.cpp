#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/FontLookup.h"
#include "platform/Fonts.h"

extern char** environ;

using namespace tabora;

namespace {

constexpr char kCaption[] = "Click Me!";
const FontRecord kCaptionFont{-16, 400, false, "Arial"};       // 12 points
const FontRecord kLargeCaptionFont{-64, 400, false, "Arial"};  // 12 points at 4×
constexpr char kProbeVariable[] = "TABORA_TEXT_BENCH_PROBE";

int64_t NanosecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() -
                                                                start)
        .count();
}

// When started by BM_FirstFontInFreshProcess, this process only times its
// first Font::Create (font configuration loading included) and one plain
// caption, prints both, and leaves before the benchmarks run.
const bool kIsProbe = [] {
    if (!std::getenv(kProbeVariable)) return false;
    const auto start = std::chrono::steady_clock::now();
    auto font = Font::Create(kCaptionFont);
    const int64_t create = NanosecondsSince(start);
    const auto drawStart = std::chrono::steady_clock::now();
    std::vector<uint8_t> mask(174 * 74);
    const TextExtent extent = font->Extent(kCaption);
    font->DrawCoverage(kCaption, {0, (74 - extent.cy) / 2, 174, 74}, {mask.data(), 174, 74, 174},
                       false);
    std::printf("%lld %lld\n", static_cast<long long>(create),
                static_cast<long long>(NanosecondsSince(drawStart)));
    std::fflush(stdout);
    std::_Exit(0);
}();

void BM_FirstFontInFreshProcess(benchmark::State& state) {
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) environment.emplace_back(*e);
    environment.push_back(std::string(kProbeVariable) + "=1");
    std::vector<char*> envp;
    for (auto& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    char program[] = "/proc/self/exe";
    char* argv[] = {program, nullptr};
    double drawSeconds = 0;
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0) return state.SkipWithError("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        pid_t child = 0;
        const int spawned = posix_spawn(&child, program, &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        std::string output;
        char buffer[256];
        for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
            output.append(buffer, size_t(n));
        close(fds[0]);
        if (spawned != 0) return state.SkipWithError("spawn");
        waitpid(child, nullptr, 0);
        long long create = 0, draw = 0;
        if (std::sscanf(output.c_str(), "%lld %lld", &create, &draw) != 2) {
            return state.SkipWithError("probe gave no timing");
        }
        state.SetIterationTime(double(create) * 1e-9);
        drawSeconds += double(draw) * 1e-9;
    }
    state.counters["then_caption_us"] =
        benchmark::Counter(drawSeconds * 1e6 / double(state.iterations()));
}
BENCHMARK(BM_FirstFontInFreshProcess)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

void BM_ResolveFaceCached(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ResolveFace("Arial", 400, false));
}
BENCHMARK(BM_ResolveFaceCached);

void BM_FontCreateCached(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Font::Create(kCaptionFont));
}
BENCHMARK(BM_FontCreateCached)->Unit(benchmark::kMicrosecond);

void BM_Extent(benchmark::State& state) {
    auto font = Font::Create(kCaptionFont);
    for (auto _ : state) benchmark::DoNotOptimize(font->Extent(kCaption));
}
BENCHMARK(BM_Extent);

void BM_DrawCaptionPlain(benchmark::State& state) {
    auto font = Font::Create(kCaptionFont);
    std::vector<uint8_t> mask(174 * 74);
    for (auto _ : state) {
        const TextExtent e = font->Extent(kCaption);
        font->DrawCoverage(kCaption, {0, (74 - e.cy) / 2, 174, 74}, {mask.data(), 174, 74, 174},
                           false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawCaptionPlain)->Unit(benchmark::kMicrosecond);

void BM_DrawCaptionAntialiased4x(benchmark::State& state) {
    auto font = Font::Create(kLargeCaptionFont);
    std::vector<uint8_t> mask(696 * 296);
    for (auto _ : state) {
        const TextExtent e = font->Extent(kCaption);
        font->DrawCoverage(kCaption, {0, (296 - e.cy) / 2, 696, 296}, {mask.data(), 696, 296, 696},
                           true);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawCaptionAntialiased4x)->Unit(benchmark::kMicrosecond);

// What a caption costs when each render makes its font afresh.
void BM_CreateAndDrawCaptionPlain(benchmark::State& state) {
    std::vector<uint8_t> mask(174 * 74);
    for (auto _ : state) {
        auto font = Font::Create(kCaptionFont);
        const TextExtent e = font->Extent(kCaption);
        font->DrawCoverage(kCaption, {0, (74 - e.cy) / 2, 174, 74}, {mask.data(), 174, 74, 174},
                           false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CreateAndDrawCaptionPlain)->Unit(benchmark::kMicrosecond);

void BM_DrawLineBgr24(benchmark::State& state) {
    auto font = Font::Create(kCaptionFont);
    std::vector<uint8_t> bits(176 * 3 * 74, 255);
    for (auto _ : state) {
        font->DrawLine(kCaption, {0, 27, 174, 74}, {bits.data(), 174, 74, 176 * 3});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawLineBgr24)->Unit(benchmark::kMicrosecond);

void BM_DrawHugeFontClipped(benchmark::State& state) {
    auto font = Font::Create({-400000, 700, true, "Arial"});
    const TextExtent e = font->Extent(kCaption);
    std::vector<uint8_t> mask(696 * 296);
    for (auto _ : state) {
        // Centred like a caption, so the view lies inside the glyphs.
        font->DrawCoverage(kCaption, {0, (296 - e.cy) / 2, 696, 296}, {mask.data(), 696, 296, 696},
                           state.range(0) != 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawHugeFontClipped)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_EnumerateFontFamilies(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(EnumerateFontFamilies());
}
BENCHMARK(BM_EnumerateFontFamilies)->Unit(benchmark::kMicrosecond);

}  // namespace
