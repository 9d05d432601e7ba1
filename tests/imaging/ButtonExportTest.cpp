#include <gtest/gtest.h>
#include <webp/decode.h>

#include <csignal>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>

#include "imaging/ButtonFile.h"
#include "io/ButtonData.h"
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
    ExportButton(b, format, out);
    return BytesOf(out);
}

bool Import(TaboraButton& b, const FormatEntry& format, const Bytes& file) {
    PtrMacStream in(file.data(), uint32_t(file.size()), false);
    return ImportButton(b, format, in).opened();
}

}  // namespace

TEST(ButtonExport, RoundTripsRestoreEverySettingInAllFormats) {
    for (const FormatEntry& format : Formats()) {
        for (bool removeBackground : {false, true}) {
            TaboraButton a(GetArchive());
            Design(a, removeBackground);
            Bytes file = Export(a, format);
            TaboraButton b(GetArchive());
            ASSERT_TRUE(Import(b, format, file)) << format.extension;
            EXPECT_EQ(b.settings(), a.settings()) << format.extension;
            EXPECT_EQ(b.settings().fontStyle, kFontBold | kFontItalic);
            EXPECT_EQ(b.settings().jpegQuality, 87);
        }
    }
}

// A file may carry any quality word; the slider's ends are what comes back.
TEST(ButtonExport, AQualityBeyondTheSliderOpensAsItsEnd) {
    TaboraButton picture(GetArchive());
    picture.PrepareExport();
    for (const auto& [stored, expected] : {std::pair{150, 100}, std::pair{32767, 100},
                                           std::pair{-5, 0}, std::pair{100, 100}}) {
        ButtonSettings s;
        s.jpegQuality = int16_t(stored);
        PtrMacStream payload;
        WriteSettings(payload, s);
        for (const FormatEntry& format : Formats()) {
            const ExportJob job{picture.canvas(), nullptr, picture.exportRect(),
                                {payload.Data(), payload.Length()}, 90};
            PtrMacStream file;
            format.write(job, file);
            file.Seek(0);
            TaboraButton b(GetArchive());
            ASSERT_TRUE(ImportButton(b, format, file).opened()) << format.extension;
            EXPECT_EQ(b.settings().jpegQuality, expected) << format.extension << " " << stored;
        }
    }
}

TEST(ButtonExport, LosslessFormatsCarryTheExportRectangleOfTheCanvas) {
    TaboraButton b(GetArchive());
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
    TaboraButton b(GetArchive());
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

TEST(ButtonExport, DispatchIgnoresCaseAndKnowsOnlyFiveFormats) {
    ASSERT_EQ(Formats().size(), 5u);
    for (const char* ext : {"gif", "GIF", "Png", "pNG", "jpg", "JPG", "bmp", "BmP", "webp", "WebP",
                            "jpeg", "JPEG", "Jpeg"}) {
        EXPECT_NE(FindFormat(ext), nullptr) << ext;
    }
    EXPECT_EQ(FindFormat("jpeg"), FindFormat(ImageFormat::Jpeg));
    for (const char* ext : {"tif", "", "pn", "pngg", "gif ", "jpe", "jpegg"}) {
        EXPECT_EQ(FindFormat(ext), nullptr) << ext;
    }
    EXPECT_EQ(FindFormat("JPG")->format, ImageFormat::Jpeg);
    EXPECT_STREQ(FindFormat("jpg")->name, "jpeg");
    EXPECT_EQ(SupportedExtensions(), "gif, png, jpg, bmp or webp");
}

TEST(ButtonExport, UnknownExtensionIsRefusedWithoutTouchingAnything) {
    TempDir dir;
    TaboraButton b(GetArchive());
    Design(b, false);
    const SaveResult result = SaveButton(b, dir / "button.tiff");
    EXPECT_EQ(result.outcome, SaveOutcome::UnknownExtension);
    EXPECT_EQ(result.detail, "Cannot save a button with \".tiff\": the extension must be "
                             "gif, png, jpg, bmp or webp, in any case");
    EXPECT_EQ(SaveButton(b, dir / "button").detail,
              "Cannot save a button with no extension: the extension must be "
              "gif, png, jpg, bmp or webp, in any case");
    EXPECT_EQ(dir.Count(), 0u);
}

TEST(ButtonExport, SaveAndOpenByPath) {
    TempDir dir;
    TaboraButton a(GetArchive());
    Design(a, true);
    for (const char* name : {"a.gif", "b.PNG", "c.Jpg", "d.bmp"}) {
        ASSERT_TRUE(SaveButton(a, dir / name).saved()) << name;
        TaboraButton b(GetArchive());
        const OpenResult opened = OpenButton(b, dir / name);
        ASSERT_TRUE(opened.opened()) << name;
        EXPECT_EQ(opened.format, FindFormat(ExtensionOf(name)));
        EXPECT_EQ(opened.payloadVersion, 0x0103);
        EXPECT_EQ(b.settings(), a.settings()) << name;
    }
    EXPECT_EQ(dir.Count(), 4u);  // no temporary file left behind

    // A JPEG under the four-letter name is still recognised when opening.
    fs::copy_file(dir / "c.Jpg", dir / "e.jpeg");
    TaboraButton b(GetArchive());
    const OpenResult opened = OpenButton(b, dir / "e.jpeg");
    ASSERT_TRUE(opened.opened());
    EXPECT_EQ(opened.format->format, ImageFormat::Jpeg);
}

TEST(ButtonExport, TheExtensionIsWhatFollowsTheLastDot) {
    TempDir dir;
    TaboraButton a(GetArchive());
    Design(a, false);
    ASSERT_TRUE(SaveButton(a, dir / "v1.2.png").saved());
    EXPECT_EQ(ReadWholeFile(dir / "v1.2.png").substr(0, 8), "\x89PNG\r\n\x1A\n");
    ASSERT_TRUE(SaveButton(a, dir / "menu.gif.jpg").saved());
    EXPECT_EQ(ReadWholeFile(dir / "menu.gif.jpg").substr(0, 3), "\xFF\xD8\xFF");
}

TEST(ButtonExport, OpeningAFileWithoutABlockChangesNothing) {
    TempDir dir;
    WriteWholeFile(dir / "plain.gif", "GIF89a\1\0\1\0\0\0\0;", 14);
    Bytes png = MakePng({});
    WriteWholeFile(dir / "plain.png", png.data(), png.size());
    WriteWholeFile(dir / "plain.txt", "hello", 5);
    TaboraButton b(GetArchive());
    Design(b, false);
    const ButtonSettings before = b.settings();
    for (const char* name : {"plain.gif", "plain.png", "plain.txt"}) {
        EXPECT_FALSE(OpenButton(b, dir / name).opened()) << name;
        EXPECT_EQ(b.settings(), before);
    }
}

// Each kind of file that does not open has its own outcome, and the words
// the front ends need; none of them touches the button.
TEST(ButtonExport, EachWayOfNotOpeningHasItsOwnOutcome) {
    TempDir dir;
    TaboraButton a(GetArchive());
    Design(a, false);
    ASSERT_TRUE(SaveButton(a, dir / "good.jpg").saved());
    ASSERT_TRUE(SaveButton(a, dir / "good.bmp").saved());
    const Bytes png = MakePng({});
    WriteWholeFile(dir / "plain.png", png.data(), png.size());
    WriteWholeFile(dir / "plain.txt", "hello", 5);
    const std::string jpeg = ReadWholeFile(dir / "good.jpg");
    WriteWholeFile(dir / "cut.jpg", jpeg.data(), 40);
    // A JPEG whose only APP12 marker is somebody else's.
    std::string foreign = jpeg;
    foreign[25] = 'X';
    WriteWholeFile(dir / "foreign.jpg", foreign.data(), foreign.size());
    // The BMP's block loses its last bytes: the pixel offset says so.
    std::string bmp = ReadWholeFile(dir / "good.bmp");
    const uint32_t offset = Le32(reinterpret_cast<const uint8_t*>(&bmp[10]));
    bmp.erase(offset - 20, 20);
    const uint32_t shorter = offset - 20;
    std::memcpy(&bmp[10], &shorter, 4);
    WriteWholeFile(dir / "short.bmp", bmp.data(), bmp.size());
    fs::create_directory(dir / "folder.png");

    const ExpectedOpen cases[] = {
        {"missing.png", OpenOutcome::Unreadable, "Cannot open"},
        {"plain.txt", OpenOutcome::NotOurs, ""},
        {"plain.png", OpenOutcome::NoBlock, ""},
        {"foreign.jpg", OpenOutcome::NoBlock, "sig != Tbra"},
        {"cut.jpg", OpenOutcome::Damaged, "fatal JPEG error"},
        {"folder.png", OpenOutcome::Unreadable, "Cannot open"},
        {"short.bmp", OpenOutcome::CutShort, ""},
    };
    TaboraButton b(GetArchive());
    for (const ExpectedOpen& c : cases) {
        const OpenResult result = CheckOpen(b, dir / c.name, c);
        EXPECT_EQ(result.holdsNoSettings(), result.outcome == OpenOutcome::NotOurs ||
                                                result.outcome == OpenOutcome::NoBlock ||
                                                result.outcome == OpenOutcome::CutShort);
    }
}

TEST(ButtonExport, AFailedSaveKeepsThePreviousFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir / "nav.png";
    const std::string old = "the previous file, byte for byte";
    WriteWholeFile(path, old.data(), old.size());
    TaboraButton b(GetArchive());
    Design(b, false);

    // Files may grow to 100 bytes: the export runs out of room half-way.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const SaveResult result = SaveButton(b, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result.outcome, SaveOutcome::Failed);
    EXPECT_NE(result.detail.find("File too large"), std::string::npos) << result.detail;
    EXPECT_EQ(ReadWholeFile(path), old);
    EXPECT_EQ(dir.Count(), 1u);

    // Into a folder that does not exist: an error, nothing created.
    EXPECT_EQ(SaveButton(b, dir / "no/such/folder.png").outcome, SaveOutcome::Failed);
    EXPECT_EQ(dir.Count(), 1u);
}

// A button at 2x and 3x in every format, with and without its background:
// the picture is exactly k times the 1x picture and the file carries the
// very settings block of the 1x file, so opening it edits the same button.
TEST(ButtonExport, FinerScalesAreKTimesTheOneTimesPictureWithTheSameSettings) {
    auto size = [](const FormatEntry& format, const Bytes& file) {
        int32_t w = 0, h = 0;
        Bytes pixels, table;
        switch (format.format) {
        case ImageFormat::Png: DecodePng(file, w, h, pixels); break;
        case ImageFormat::Gif: DecodeGif(file, w, h, pixels, table); break;
        case ImageFormat::Jpeg: DecodeJpeg(file, w, h, pixels); break;
        case ImageFormat::Bmp: w = int32_t(Le32(&file[18])), h = int32_t(Le32(&file[22])); break;
        case ImageFormat::Webp: {
            int ww = 0, hh = 0;
            if (WebPGetInfo(file.data(), file.size(), &ww, &hh)) w = ww, h = hh;
            break;
        }
        }
        return std::make_pair(w, h);
    };
    for (bool transparent : {false, true}) {
        TaboraButton one(GetArchive());
        Design(one, transparent);
        for (int k : {2, 3}) {
            TaboraButton fine(GetArchive(), k);
            fine.ApplySettings(one.settings());
            for (const FormatEntry& format : Formats()) {
                const Bytes a = Export(one, format), b = Export(fine, format);
                const auto [w, h] = size(format, a);
                ASSERT_GT(w, 0) << format.name;
                EXPECT_EQ(size(format, b), std::make_pair(k * w, k * h)) << format.name << " " << k;
                TaboraButton opened(GetArchive());
                ASSERT_TRUE(Import(opened, format, b)) << format.name;
                EXPECT_EQ(opened.settings(), one.settings()) << format.name;
            }
        }
    }
}

TEST(ButtonExport, FinerFilesAreNamedBesideTheOneTimesFile) {
    EXPECT_EQ(ScaledPath("home.png", 1), "home.png");
    EXPECT_EQ(ScaledPath("home.png", 2), "home@2x.png");
    EXPECT_EQ(ScaledPath("site/nav.bar/home.PNG", 3), "site/nav.bar/home@3x.PNG");
    EXPECT_EQ(ScaledPath("site/nav.bar/home", 2), "site/nav.bar/home@2x");
    EXPECT_EQ(ScaledPath("a.b.gif", 2), "a.b@2x.gif");
}
