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

void BM_Export(benchmark::State& state, const FormatEntry* row, bool removeBackground) {
    TaboraButton button(GetArchive());
    Design(button, removeBackground);
    button.PrepareExport();
    const FormatEntry& format = *row;
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

// The smallest file of a format that offers it, and a lossy WebP: the same
// button, the options on.
void BM_ExportOption(benchmark::State& state, const FormatEntry* row, bool removeBackground,
                     bool optimize, bool lossy) {
    TaboraButton button(GetArchive());
    Design(button, removeBackground);
    button.SetOptimize(optimize);
    button.SetLossy(lossy);
    button.PrepareExport();
    PtrMacStream out;
    for (auto _ : state) {
        out.Seek(0);
        ExportButton(button, *row, out);
        benchmark::DoNotOptimize(out.Data());
    }
    state.counters["bytes"] = out.Length();
}

void BM_ReadBlock(benchmark::State& state, const FormatEntry* row) {
    TaboraButton button(GetArchive());
    Design(button, false);
    const FormatEntry& format = *row;
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
void BM_Import(benchmark::State& state, const FormatEntry* row) {
    TaboraButton button(GetArchive());
    Design(button, false);
    const FormatEntry& format = *row;
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

// Each kind for every format of the registry ("BM_Export/png"), with and
// without the background where the format can remove it.
const bool kRegistered = [] {
    for (const FormatEntry& format : Formats()) {
        const std::string ext = format.extension;
        benchmark::RegisterBenchmark(("BM_Export/" + ext).c_str(), BM_Export, &format, false)
            ->Unit(benchmark::kMicrosecond);
        if (format.keepsTransparency) {
            benchmark::RegisterBenchmark(("BM_Export/" + ext + "_transparent").c_str(), BM_Export,
                                         &format, true)
                ->Unit(benchmark::kMicrosecond);
        }
        for (bool removeBackground : {false, true}) {
            if (removeBackground && !format.keepsTransparency) continue;
            const std::string kind = removeBackground ? "_transparent" : "";
            if (format.offersSmallest) {
                benchmark::RegisterBenchmark(("BM_ExportSmallest/" + ext + kind).c_str(),
                                             BM_ExportOption, &format, removeBackground, true,
                                             false)
                    ->Unit(benchmark::kMicrosecond);
            }
            if (format.offersLossy) {
                benchmark::RegisterBenchmark(("BM_ExportLossy/" + ext + kind).c_str(),
                                             BM_ExportOption, &format, removeBackground, false,
                                             true)
                    ->Unit(benchmark::kMicrosecond);
            }
        }
        benchmark::RegisterBenchmark(("BM_ReadBlock/" + ext).c_str(), BM_ReadBlock, &format)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_Import/" + ext).c_str(), BM_Import, &format)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

}  // namespace

BENCHMARK(BM_BatchButtonPng)->Unit(benchmark::kMicrosecond);
