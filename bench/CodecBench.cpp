// Export and block extraction per format, for a button of about 150 x 40
// pixels: style 1 (144 x 30) with a caption and its shadows.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "imaging/ButtonFile.h"
#include "io/MacStream.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

using namespace tabora;

namespace {

void Design(TaboraButton& button, bool removeBackground) {
    button.SetStyleNumber(1);
    button.SetButtonSize(206);
    button.SetCaption("Products");
    button.SetFontName("DejaVu Sans");
    button.SetFontSize(12);
    button.SetFontStyle(kFontBold);
    button.SetHueShift(600);
    button.SetRemoveBackground(removeBackground);
}

void BM_Export(benchmark::State& state, const char* extension, bool removeBackground) {
    TaboraButton button(GetArchive());
    Design(button, removeBackground);
    button.PrepareExport();
    const FormatEntry& format = *FindFormat(extension);
    PtrMacStream out;
    for (auto _ : state) {
        out.Seek(0);
        ExportButton(button, format, out);
        benchmark::DoNotOptimize(out.Data());
    }
    state.counters["width"] = button.exportRect().Width();
    state.counters["height"] = button.exportRect().Height();
    state.counters["bytes"] = out.Length();
}

void BM_ReadBlock(benchmark::State& state, const char* extension) {
    TaboraButton button(GetArchive());
    Design(button, false);
    const FormatEntry& format = *FindFormat(extension);
    PtrMacStream file;
    ExportButton(button, format, file);
    std::vector<uint8_t> bytes(file.Data(), file.Data() + file.Length());
    for (auto _ : state) {
        PtrMacStream in(bytes.data(), uint32_t(bytes.size()), false);
        PtrMacStream block;
        bool ok = format.readBlock(in, block);
        benchmark::DoNotOptimize(ok);
        if (!ok) state.SkipWithError("no block");
    }
}

// Block extraction and the settings applied, as File > Open does it.
void BM_Import(benchmark::State& state, const char* extension) {
    TaboraButton button(GetArchive());
    Design(button, false);
    const FormatEntry& format = *FindFormat(extension);
    PtrMacStream file;
    ExportButton(button, format, file);
    std::vector<uint8_t> bytes(file.Data(), file.Data() + file.Length());
    TaboraButton target(GetArchive());
    for (auto _ : state) {
        PtrMacStream in(bytes.data(), uint32_t(bytes.size()), false);
        const bool ok = ImportButton(target, format, in).opened();
        benchmark::DoNotOptimize(ok);
    }
}

// One button of a batch: the same style and settings as the last, a new
// caption, rendered and written as a PNG in memory (the file is the kernel's
// part). Captions cycle through "Item 0".."Item 999" as a navigation bar's do.
void BM_BatchButtonPng(benchmark::State& state) {
    TaboraButton button(GetArchive());
    button.SetStyleNumber(1);
    button.SetFontName("DejaVu Sans");
    button.SetFontSize(12);
    button.SetHueShift(600);
    button.SetBrightness(20);
    const FormatEntry& format = *FindFormat("png");
    PtrMacStream out;
    int i = 0;
    for (auto _ : state) {
        button.SetCaption("Item " + std::to_string(i++ % 1000));
        out.Seek(0);
        ExportButton(button, format, out);
        benchmark::DoNotOptimize(out.Data());
    }
}

}  // namespace

BENCHMARK_CAPTURE(BM_Export, png, "png", false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Export, png_transparent, "png", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Export, jpg, "jpg", false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Export, bmp, "bmp", false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Export, gif, "gif", false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Export, gif_transparent, "gif", true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BatchButtonPng)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadBlock, png, "png")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadBlock, jpg, "jpg")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadBlock, bmp, "bmp")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadBlock, gif, "gif")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Import, png, "png")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Import, jpg, "jpg")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Import, bmp, "bmp")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Import, gif, "gif")->Unit(benchmark::kMicrosecond);
