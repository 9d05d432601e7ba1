#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>

#include "imaging/Formats.h"
#include "platform/DialogHost.h"
#include "platform/Error.h"
#include "platform/File.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/imaging/CodecTestSupport.h"

using namespace tabora;
using namespace tabora::test;
namespace fs = std::filesystem;

namespace {

// The first catalogue style that has data, or 0.
int16_t SomeStyle() {
    for (int32_t n = 1; n <= Archive::kEntryCount; ++n) {
        if (GetArchive().HasStyleData(n)) return int16_t(n);
    }
    return 0;
}

// A button with every setting away from its default.
void Design(TaboraButton& b, bool removeBackground) {
    b.SetStyleNumber(SomeStyle());
    b.SetBackgroundColor(MakeColor(30, 140, 200));
    b.SetHueShift(700);
    b.SetBrightness(-40);
    b.SetButtonSize(230);
    b.SetShadow(true);
    b.SetAntialias(true);
    b.SetTextShadow(false);
    b.SetFontName("DejaVu Sans");
    b.SetFontSize(11);
    b.SetFontStyle(kFontBold | kFontItalic);
    b.SetCaption("Contact us");
    b.SetTextOffset({2, -1});
    b.SetTextColor(MakeColor(255, 250, 10));
    b.SetRemoveBackground(removeBackground);
    b.SetIncludeShadowArea(true);
    b.SetJpegQuality(87);
}

Bytes Export(TaboraButton& b, const FormatEntry& format) {
    PtrMacStream out;
    (b.*format.exportTo)(out);
    return BytesOf(out);
}

bool Import(TaboraButton& b, const FormatEntry& format, const Bytes& file) {
    ScriptedDialogHost host;
    DialogHost* previous = SetDialogHost(&host);
    PtrMacStream in(file.data(), uint32_t(file.size()), false);
    bool ok = (b.*format.importFrom)(in);
    SetDialogHost(previous);
    return ok;
}

}  // namespace

TEST(ButtonExport, RoundTripsRestoreEverySettingInAllFormats) {
    for (const FormatEntry& format : Formats()) {
        for (bool removeBackground : {false, true}) {
            TaboraButton a;
            Design(a, removeBackground);
            Bytes file = Export(a, format);
            TaboraButton b;
            ASSERT_TRUE(Import(b, format, file)) << format.extension;
            EXPECT_EQ(b.settings(), a.settings()) << format.extension;
            EXPECT_EQ(b.settings().fontStyle, kFontBold | kFontItalic);
            EXPECT_EQ(b.settings().jpegQuality, 87);
        }
    }
}

TEST(ButtonExport, LosslessFormatsCarryTheExportRectangleOfTheCanvas) {
    TaboraButton b;
    Design(b, false);
    b.PrepareExport();
    const Rect r = b.exportRect();
    const ArgbImage& canvas = b.canvas();
    ASSERT_FALSE(r.IsEmpty());

    int32_t w = 0, h = 0;
    Bytes rgba;
    ASSERT_TRUE(DecodePng(Export(b, *FindFormat("png")), w, h, rgba));
    ASSERT_EQ(w, r.Width());
    ASSERT_EQ(h, r.Height());
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint32_t p = canvas.At(r.left + x, r.top + y);
            const uint8_t* q = &rgba[4 * size_t(y * w + x)];
            ASSERT_EQ(MakePixel(q[3], q[0], q[1], q[2]), MakePixel(255, PixelRed(p), PixelGreen(p), PixelBlue(p)));
        }
    }

    Bytes bmp = Export(b, *FindFormat("bmp"));
    const uint32_t offset = Le32(&bmp[10]);
    const int32_t bw = int32_t(Le32(&bmp[18])), bh = int32_t(Le32(&bmp[22]));
    ASSERT_EQ(bw, r.Width());
    ASSERT_EQ(bh, r.Height());
    const size_t rowBytes = (3 * size_t(bw) + 3) / 4 * 4;
    for (int32_t y = 0; y < bh; ++y) {
        const uint8_t* line = &bmp[offset + size_t(bh - 1 - y) * rowBytes];
        for (int32_t x = 0; x < bw; ++x) {
            uint32_t p = canvas.At(r.left + x, r.top + y);
            ASSERT_EQ(line[3 * x], PixelBlue(p));
            ASSERT_EQ(line[3 * x + 1], PixelGreen(p));
            ASSERT_EQ(line[3 * x + 2], PixelRed(p));
        }
    }

    Bytes rgb;
    b.SetJpegQuality(100);
    ASSERT_TRUE(DecodeJpeg(Export(b, *FindFormat("jpg")), w, h, rgb));
    ASSERT_EQ(w, r.Width());
    // Brightness is kept almost exactly at quality 100; colour detail is kept
    // at half resolution, so a saturated caption's colour edges differ more.
    auto luma = [](double r, double g, double bl) { return 0.299 * r + 0.587 * g + 0.114 * bl; };
    double lumaError = 0, colourError = 0;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint32_t p = canvas.At(r.left + x, r.top + y);
            const uint8_t* q = &rgb[3 * size_t(y * w + x)];
            lumaError += std::abs(luma(q[0], q[1], q[2]) - luma(PixelRed(p), PixelGreen(p), PixelBlue(p)));
            colourError += std::abs(q[0] - PixelRed(p)) + std::abs(q[1] - PixelGreen(p)) +
                           std::abs(q[2] - PixelBlue(p));
        }
    }
    EXPECT_LT(lumaError / (w * h), 1.5);
    EXPECT_LT(colourError / (3.0 * w * h), 12.0);
}

TEST(ButtonExport, TransparentPngAndGifShowOnlyTheLayers) {
    TaboraButton b;
    Design(b, true);
    b.PrepareExport();
    const Rect r = b.exportRect();
    ArgbImage layers;
    b.ComposeLayers(layers);

    int32_t w = 0, h = 0;
    Bytes rgba;
    ASSERT_TRUE(DecodePng(Export(b, *FindFormat("png")), w, h, rgba));
    size_t clear = 0;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint32_t p = layers.At(r.left + x, r.top + y);
            const uint8_t* q = &rgba[4 * size_t(y * w + x)];
            ASSERT_EQ(MakePixel(q[3], q[0], q[1], q[2]), p);
            if (q[3] == 0) {
                ++clear;
                ASSERT_EQ(q[0] | q[1] | q[2], 0);
            }
        }
    }
    EXPECT_GT(clear, 0u);

    Bytes indices, table;
    Bytes gif = Export(b, *FindFormat("gif"));
    GifLayout layout;
    ASSERT_TRUE(ParseGif(gif, layout));
    ASSERT_EQ(layout.extensions.size(), 2u);
    const uint8_t k = layout.extensions[1].subBlocks[0][3];
    ASSERT_TRUE(DecodeGif(gif, w, h, indices, table));
    ASSERT_EQ(w, r.Width());
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const bool untouched = PixelAlpha(layers.At(r.left + x, r.top + y)) == 0;
            const uint8_t index = indices[size_t(y * w + x)];
            ASSERT_EQ(index == k, untouched) << x << "," << y;
            if (untouched) continue;
            // Opaque pixels show the preview's colours, quantised.
            uint32_t p = b.canvas().At(r.left + x, r.top + y);
            ASSERT_NEAR(table[3 * index], PixelRed(p), 48);
            ASSERT_NEAR(table[3 * index + 1], PixelGreen(p), 48);
            ASSERT_NEAR(table[3 * index + 2], PixelBlue(p), 48);
        }
    }
}

TEST(ButtonExport, DispatchIgnoresCaseAndKnowsOnlyFourExtensions) {
    ASSERT_EQ(Formats().size(), 4u);
    for (const char* ext : {"gif", "GIF", "Png", "pNG", "jpg", "JPG", "bmp", "BmP"}) {
        EXPECT_NE(FindFormat(ext), nullptr) << ext;
    }
    for (const char* ext : {"jpeg", "JPEG", "tif", "", "pn", "pngg", "gif "}) {
        EXPECT_EQ(FindFormat(ext), nullptr) << ext;
    }
    EXPECT_EQ(FindFormat("JPG")->format, ImageFormat::Jpeg);
    EXPECT_STREQ(FindFormat("jpg")->name, "jpeg");
    EXPECT_EQ(SupportedExtensions(), "gif, png, jpg or bmp");
}

TEST(ButtonExport, UnknownExtensionIsRefusedWithoutTouchingAnything) {
    TempDir dir;
    TaboraButton b;
    Design(b, false);
    const std::string path = dir / "button.jpeg";
    try {
        SaveButton(b, path);
        FAIL() << "saved under an unknown extension";
    } catch (const TaboraError& e) {
        EXPECT_NE(std::string(e.what()).find("gif, png, jpg or bmp"), std::string::npos) << e.what();
    }
    EXPECT_EQ(dir.Count(), 0u);
    File file;
    EXPECT_THROW(b.ExportByExtension(file, "tiff"), TaboraError);
    EXPECT_FALSE(b.ImportByExtension(file, "tiff"));
}

TEST(ButtonExport, SaveAndOpenByPath) {
    TempDir dir;
    TaboraButton a;
    Design(a, true);
    for (const char* name : {"a.gif", "b.PNG", "c.Jpg", "d.bmp"}) {
        SaveButton(a, dir / name);
        TaboraButton b;
        ScriptedDialogHost host;
        DialogHost* previous = SetDialogHost(&host);
        std::optional<OpenedButton> opened = OpenButton(b, dir / name);
        SetDialogHost(previous);
        ASSERT_TRUE(opened.has_value()) << name;
        EXPECT_EQ(opened->format, FindFormat(ExtensionOf(name))->format);
        EXPECT_EQ(opened->payloadVersion, 0x0103);
        EXPECT_EQ(b.settings(), a.settings()) << name;
    }
    EXPECT_EQ(dir.Count(), 4u);  // no temporary file left behind

    // A JPEG under the four-letter name is still recognised when opening.
    fs::copy_file(dir / "c.Jpg", dir / "e.jpeg");
    TaboraButton b;
    ScriptedDialogHost host;
    DialogHost* previous = SetDialogHost(&host);
    ASSERT_TRUE(OpenButton(b, dir / "e.jpeg").has_value());
    EXPECT_EQ(OpenButton(b, dir / "e.jpeg")->format, ImageFormat::Jpeg);
    SetDialogHost(previous);
}

TEST(ButtonExport, OpeningAFileWithoutABlockChangesNothing) {
    TempDir dir;
    WriteWholeFile(dir / "plain.gif", "GIF89a\1\0\1\0\0\0\0;", 14);
    Bytes png = MakePng({});
    WriteWholeFile(dir / "plain.png", png.data(), png.size());
    WriteWholeFile(dir / "plain.txt", "hello", 5);
    TaboraButton b;
    Design(b, false);
    const ButtonSettings before = b.settings();
    for (const char* name : {"plain.gif", "plain.png", "plain.txt"}) {
        EXPECT_FALSE(OpenButton(b, dir / name).has_value()) << name;
        EXPECT_EQ(b.settings(), before);
    }
    EXPECT_THROW(OpenButton(b, dir / "missing.png"), FileError);
}

TEST(ButtonExport, AFailedSaveKeepsThePreviousFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir / "nav.png";
    const std::string old = "the previous file, byte for byte";
    WriteWholeFile(path, old.data(), old.size());
    TaboraButton b;
    Design(b, false);

    // Files may grow to 100 bytes: the export runs out of room half-way.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        SaveButton(b, path);
    } catch (const FileError&) {
        threw = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(threw);
    EXPECT_EQ(ReadWholeFile(path), old);
    EXPECT_EQ(dir.Count(), 1u);

    // Into a folder that does not exist: an error, nothing created.
    EXPECT_THROW(SaveButton(b, dir / "no/such/folder.png"), FileError);
    EXPECT_EQ(dir.Count(), 1u);
}
