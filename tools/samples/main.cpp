// tabora-samples OUTDIR: a few pictures made with the raster operations,
// written as BMP files, for a quick look without a display.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "io/CDib.h"
#include "io/MacStream.h"
#include "platform/File.h"
#include "render/AlphaMask.h"
#include "render/ArgbImage.h"

using namespace tabora;

namespace {

void WriteBmp(const ArgbImage& img, const std::string& path) {
    CDib dib(img.Width(), img.Height(), 24);
    if (!dib.AllocateImage()) throw std::runtime_error("cannot allocate " + path);
    for (int32_t y = 0; y < img.Height(); ++y) {
        uint8_t* row = dib.Bits() + size_t(img.Height() - 1 - y) * dib.GetRowBytes();
        for (int32_t x = 0; x < img.Width(); ++x) {
            const uint32_t p = img.At(x, y);
            row[3 * x] = PixelBlue(p), row[3 * x + 1] = PixelGreen(p), row[3 * x + 2] = PixelRed(p);
        }
    }
    File file(path, File::Mode::Create);
    FileMacStream out(&file);
    dib.Write(out, nullptr, 0);
}

// A rounded, shaded button body: a vertical gradient with a light rim.
ArgbImage Body(int32_t w, int32_t h) {
    ArgbImage body(w, h);
    AlphaMask big(4 * w, 4 * h), mask(w, h);
    const double r = 4.0 * h / 2;
    for (int32_t y = 0; y < 4 * h; ++y)
        for (int32_t x = 0; x < 4 * w; ++x) {
            double cx = std::clamp(x + 0.5, r, 4.0 * w - r), dx = x + 0.5 - cx, dy = y + 0.5 - r;
            big.At(x, y) = dx * dx + dy * dy <= r * r ? 255 : 0;
        }
    big.ReduceInto(mask);  // 4 x 4 antialiasing
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const int shade = 230 - 150 * y / h + (y < h / 4 ? 20 : 0);
            body.At(x, y) = MakePixel(mask.At(x, y), uint8_t(shade / 3), uint8_t(shade * 2 / 3),
                                      uint8_t(shade));
        }
    return body;
}

// The body on a white canvas over its blurred shadow, as the preview shows it.
ArgbImage OnCanvas(const ArgbImage& body) {
    ArgbImage canvas(174, 74);
    AlphaMask silhouette(174, 74), shadow(174, 74);
    const int32_t left = (174 - body.Width()) / 2, top = (74 - body.Height()) / 2;
    body.CopyAlphaTo(silhouette, std::nullopt, Rect{left + 1, top + 2, 174, 74});
    silhouette.BlurInto(shadow, 2, 40, 100);
    canvas.Fill(MakeColor(255, 255, 255));
    canvas.Fill(MakeColor(0, 0, 0), shadow);
    body.CompositeOver(canvas, std::nullopt, Rect{left, top, 174, 74});
    return canvas;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tabora-samples OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    try {
        const ArgbImage body = Body(144, 30);
        WriteBmp(OnCanvas(body), dir + "/body.bmp");
        // Widened by repeating the middle column, and reduced to 70 %.
        ArgbImage wide(170, 30), small(100, 21);
        body.StretchMiddle(wide, wide.Extent(), 72);
        WriteBmp(OnCanvas(wide), dir + "/body-wide.bmp");
        body.ReduceInto(small);
        WriteBmp(OnCanvas(small), dir + "/body-small.bmp");
        // A strip of hue and brightness shifts, one row per step.
        ArgbImage strip(174, 8 * 34);
        strip.Fill(MakeColor(255, 255, 255));
        for (int32_t k = 0; k < 8; ++k) {
            ArgbImage tinted = body;
            tinted.ShiftHueBrightness(tinted.Extent(), k * 512, (k - 4) * 40);
            tinted.CompositeOver(strip, std::nullopt, Rect{15, 2 + 34 * k, 174, 8 * 34});
        }
        WriteBmp(strip, dir + "/hues.bmp");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tabora-samples: %s\n", e.what());
        return 1;
    }
    std::printf("sample pictures written to %s\n", dir.c_str());
    return 0;
}
