#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "io/ButtonData.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

using namespace tabora;

namespace {

std::vector<uint8_t> Payload(const TaboraButton& button) {
    PtrMacStream out;
    WriteSettings(out, button.settings());
    return {out.Data(), out.Data() + out.Length()};
}

// Reads a payload over the button's settings and applies them, as opening a
// file does.
bool Read(TaboraButton& button, const std::vector<uint8_t>& bytes) {
    PtrMacStream in(bytes.data(), uint32_t(bytes.size()), false);
    ButtonSettings settings = button.settings();
    if (!ReadSettings(in, settings)) return false;
    button.ApplySettings(settings);
    button.Invalidate(TaboraButton::kAllLayers);
    return true;
}

void PutShort(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = uint8_t(v >> 8);
    b[at + 1] = uint8_t(v);
}
void PutLong(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    PutShort(b, at, uint16_t(v >> 16));
    PutShort(b, at + 2, uint16_t(v));
}
void PutFloat(std::vector<uint8_t>& b, size_t at, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    PutLong(b, at, bits);
}

// Default settings with the font "Arial" (n = 5) and no caption (m = 0).
constexpr size_t kFloatAt = 18;
constexpr size_t kFontSizeAt = 25 + 5;
constexpr size_t kOffsetAt = 30 + 5;
constexpr size_t kExactSizeAt = 46 + 5;

// The payload an older writer would have produced: the current one cut after
// its last field and relabelled.
std::vector<uint8_t> OlderPayload(const TaboraButton& button, uint16_t version) {
    std::vector<uint8_t> b = Payload(button);
    const size_t tail = button.settings().fontName.size() + button.settings().caption.size();
    const size_t length = version == 0x0100 ? 40 + tail : version == 0x0101 ? 46 + tail : 50 + tail;
    b.resize(length);
    PutShort(b, 0, version);
    return b;
}

}  // namespace

TEST(ButtonData, DefaultPayloadIs57BytesAnd61WithTheSignature) {
    TaboraButton button(GetArchive());
    std::vector<uint8_t> b = Payload(button);
    ASSERT_EQ(b.size(), 57u);
    const std::vector<uint8_t> head = {0x01, 0x03, 0x00, 0x00,              // version, style
                                       0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // white
                                       0, 0, 0, 0, 0, 0, 0, 0,              // hue, brightness
                                       0x3F, 0x80, 0x00, 0x00,              // scale 1.0
                                       0x00, 0x05,                          // shadow, text shadow
                                       5, 'A', 'r', 'i', 'a', 'l', 0x00, 12, 0x00, 0x00, 0};
    EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + head.size()), head);
    const std::vector<uint8_t> tail = {0, 0, 0, 0,  // offset
                                       0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // text white
                                       0, 0, 0, 100, 0, 0,  // remove background, quality, reserved
                                       0, 0, 0, 0xC8,       // exact size 200
                                       0, 0};               // include shadow area
    EXPECT_EQ(std::vector<uint8_t>(b.end() - tail.size(), b.end()), tail);

    const std::vector<uint8_t> block = SignedBlock(b);
    EXPECT_EQ(block.size(), 61u);
    EXPECT_EQ(std::memcmp(block.data(), "Tbra", 4), 0);
    EXPECT_EQ(std::string(SignatureText().data()), "Tbra");
}

TEST(ButtonData, TheReaderAloneKeepsValuesWithinWhatAnyStyleAllows) {
    TaboraButton writer(GetArchive());
    std::vector<uint8_t> bytes = Payload(writer);
    PutShort(bytes, 2, 931);
    PutLong(bytes, kExactSizeAt, 100000);
    ButtonSettings s;
    PtrMacStream in(bytes.data(), uint32_t(bytes.size()), false);
    ASSERT_EQ(ReadSettings(in, s), std::optional<int>(0x0103));
    EXPECT_EQ(s.styleNumber, 0);
    EXPECT_EQ(s.buttonSize, kLargestButtonSize);

    // The version is given back as stored, even one from a newer writer.
    PutShort(bytes, 0, 0x0107);
    PtrMacStream newer(bytes.data(), uint32_t(bytes.size()), false);
    EXPECT_EQ(ReadSettings(newer, s), std::optional<int>(0x0107));
}

TEST(ButtonData, RoundTripsEverythingItCarries) {
    TaboraButton a(GetArchive());
    a.SetBackgroundColor(MakeColor(0x99, 0x66, 0x33));
    a.SetHueShift(4096);
    a.SetBrightness(-205);
    a.SetShadow(false);
    a.SetAntialias(true);
    a.SetFontName("DejaVu Sans");
    a.SetFontSize(-13);
    a.SetFontStyle(kFontBold | kFontItalic);
    a.SetCaption("Grüße ✓");
    a.SetTextOffset({-3, 7});
    a.SetTextColor(MakeColor(1, 2, 3));
    a.SetRemoveBackground(true);
    a.SetJpegQuality(42);
    a.SetIncludeShadowArea(true);

    TaboraButton b(GetArchive());
    b.SetButtonSize(150);
    ASSERT_TRUE(Read(b, Payload(a)));
    ButtonSettings expected = a.settings();
    EXPECT_EQ(b.settings(), expected);
    EXPECT_EQ(b.validLayers(), 0);

    // Bold italic is stored as font flags 3; regular as 0 and reads back as 0.
    std::vector<uint8_t> bytes = Payload(a);
    const size_t fontFlagsAt = 27 + a.settings().fontName.size();
    EXPECT_EQ(bytes[fontFlagsAt + 1], 3);
    a.SetFontStyle(kFontRegular);
    bytes = Payload(a);
    EXPECT_EQ(bytes[fontFlagsAt + 1], 0);
    ASSERT_TRUE(Read(b, bytes));
    EXPECT_EQ(b.settings().fontStyle, 0u);
}

TEST(ButtonData, OlderVersionsKeepTheFieldsTheyLack) {
    TaboraButton writer(GetArchive());
    writer.SetCaption("Go");
    writer.SetHueShift(100);
    writer.SetRemoveBackground(true);
    writer.SetJpegQuality(10);
    writer.SetIncludeShadowArea(true);

    // 0x0100 ends after the text colour.
    TaboraButton reader(GetArchive());
    reader.SetJpegQuality(77);
    std::vector<uint8_t> v100 = OlderPayload(writer, 0x0100);
    ASSERT_TRUE(Read(reader, v100));
    EXPECT_EQ(reader.settings().caption, "Go");
    EXPECT_EQ(reader.settings().hueShift, 100);
    EXPECT_EQ(reader.settings().buttonSize, 200);
    EXPECT_FALSE(reader.settings().removeBackground);
    EXPECT_EQ(reader.settings().jpegQuality, 77);
    EXPECT_FALSE(reader.settings().includeShadowArea);

    // 0x0101 is six bytes longer; its third added word is skipped.
    std::vector<uint8_t> v101 = OlderPayload(writer, 0x0101);
    EXPECT_EQ(v101.size(), v100.size() + 6);
    PutShort(v101, v101.size() - 2, 0xBEEF);
    TaboraButton reader2(GetArchive());
    ASSERT_TRUE(Read(reader2, v101));
    EXPECT_TRUE(reader2.settings().removeBackground);
    EXPECT_EQ(reader2.settings().jpegQuality, 10);
    EXPECT_FALSE(reader2.settings().includeShadowArea);

    // 0x0102 carries the size exactly but not the shadow area.
    TaboraButton reader3(GetArchive());
    ASSERT_TRUE(Read(reader3, OlderPayload(writer, 0x0102)));
    EXPECT_FALSE(reader3.settings().includeShadowArea);
}

TEST(ButtonData, SizeFromTheFloatAloneIsWidenedBeforeSquaring) {
    // 20 is stored as a scale whose square, in double, falls just below 20.
    EXPECT_EQ(SizeFromScale(SizeScale(20), 1, 532), 19);
    EXPECT_EQ(SizeFromScale(SizeScale(200), 1, 532), 200);
    EXPECT_EQ(SizeScale(200), 1.0f);

    TaboraButton writer(GetArchive());
    ASSERT_TRUE(writer.SetButtonSize(20));
    for (uint16_t version : {0x0100, 0x0101}) {
        TaboraButton reader(GetArchive());
        ASSERT_TRUE(Read(reader, OlderPayload(writer, version)));
        EXPECT_EQ(reader.settings().buttonSize, 19) << version;
    }
    // From 0x0102 on the exact size wins.
    TaboraButton reader(GetArchive());
    ASSERT_TRUE(Read(reader, Payload(writer)));
    EXPECT_EQ(reader.settings().buttonSize, 20);
    // A 19 that came from an old file is saved and read back as it is.
    ASSERT_TRUE(Read(reader, OlderPayload(writer, 0x0100)));
    TaboraButton again(GetArchive());
    ASSERT_TRUE(Read(again, Payload(reader)));
    EXPECT_EQ(again.settings().buttonSize, 19);
}

TEST(ButtonData, PayloadThatEndsEarlyChangesNothing) {
    TaboraButton writer(GetArchive());
    writer.SetCaption("Truncated");
    std::vector<uint8_t> bytes = Payload(writer);
    TaboraButton reader(GetArchive());
    reader.SetCaption("Kept");
    const ButtonSettings before = reader.settings();
    for (size_t cut : {size_t(0), size_t(1), size_t(20), bytes.size() - 1}) {
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + cut);
        EXPECT_FALSE(Read(reader, part)) << cut;
        EXPECT_EQ(reader.settings(), before) << cut;
    }
}

TEST(ButtonData, TextIsUtf8AndOlderSingleByteTextIsWindows1252) {
    EXPECT_EQ(SettingText("Caf\xE9 \x80 \x9F"), "Café € Ÿ");
    EXPECT_EQ(SettingText("\x81"), "\xC2\x81");  // unassigned: the C1 control
    EXPECT_EQ(SettingText("Grüße"), "Grüße");
    EXPECT_EQ(SettingText(std::string("ab\0cd", 5)), "ab");

    // 255 bytes cut at a character boundary: 127 two-byte letters.
    std::string accents;
    for (int i = 0; i < 200; ++i) accents += "é";
    EXPECT_EQ(SettingText(accents).size(), 254u);
    // 255 single bytes of 0xE9 become 510 bytes of UTF-8, cut the same way.
    EXPECT_EQ(SettingText(std::string(255, '\xE9')).size(), 254u);
    // A three-byte character straddling byte 255 is dropped whole.
    std::string edge = std::string(253, 'a') + "€";
    EXPECT_EQ(SettingText(edge), std::string(253, 'a'));

    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));      // overlong NUL
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));  // cut short
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));

    // A caption stored by a single-byte writer.
    TaboraButton writer(GetArchive());
    writer.SetCaption("Cafe");
    std::vector<uint8_t> bytes = Payload(writer);
    const size_t captionAt = 29 + 5;
    ASSERT_EQ(bytes[captionAt], 4);
    bytes[captionAt + 4] = 0xE9;
    TaboraButton reader(GetArchive());
    ASSERT_TRUE(Read(reader, bytes));
    EXPECT_EQ(reader.settings().caption, "Café");
}

TEST(ButtonData, HostileValuesAreClampedToWhatTheControlsProduce) {
    TaboraButton writer(GetArchive());
    writer.SetCaption("X");
    const std::vector<uint8_t> good = Payload(writer);
    const size_t shift = 1;  // the caption moves everything after it by one
    auto with = [&](auto edit) {
        std::vector<uint8_t> b = good;
        edit(b);
        TaboraButton reader(GetArchive());
        EXPECT_TRUE(Read(reader, b));
        reader.PrepareExport();  // must render without trouble
        return reader.settings();
    };

    for (uint16_t n : {uint16_t(931), uint16_t(0x7FFF), uint16_t(0x8000), uint16_t(0xFFFF)}) {
        ButtonSettings s = with([&](auto& b) { PutShort(b, 2, n); });
        EXPECT_EQ(s.styleNumber, 0) << n;
    }
    EXPECT_EQ(with([](auto& b) { PutLong(b, 10, 0x80000000u); }).hueShift, 0);
    EXPECT_EQ(with([](auto& b) { PutLong(b, 10, 0x7FFFFFFFu); }).hueShift, 4096);
    EXPECT_EQ(with([](auto& b) { PutLong(b, 14, 0x80000000u); }).brightness, -205);
    EXPECT_EQ(with([](auto& b) { PutLong(b, 14, 0x7FFFFFFFu); }).brightness, 205);

    // Without a style the size stays within 20..200.
    EXPECT_EQ(with([&](auto& b) { PutLong(b, kExactSizeAt + shift, 0x7FFFFFFFu); }).buttonSize,
              200);
    EXPECT_EQ(with([&](auto& b) { PutLong(b, kExactSizeAt + shift, 0x80000000u); }).buttonSize,
              19);
    EXPECT_EQ(with([&](auto& b) { PutLong(b, kExactSizeAt + shift, 0); }).buttonSize, 19);

    const float floats[] = {std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(), -1.0f, 0.0f, 1e30f};
    const int32_t sizes[] = {200, 200, 200, 200, 19, 200};
    for (size_t i = 0; i < std::size(floats); ++i) {
        std::vector<uint8_t> b = OlderPayload(writer, 0x0101);
        PutFloat(b, kFloatAt, floats[i]);
        TaboraButton reader(GetArchive());
        ASSERT_TRUE(Read(reader, b));
        EXPECT_EQ(reader.settings().buttonSize, sizes[i]) << floats[i];
    }

    EXPECT_EQ(with([](auto& b) { PutShort(b, kFontSizeAt, 0); }).fontSize, 0);
    EXPECT_EQ(with([](auto& b) { PutShort(b, kFontSizeAt, 0x7FFF); }).fontSize, 300);
    EXPECT_EQ(with([](auto& b) { PutShort(b, kFontSizeAt, 0x8000); }).fontSize, -300);
    ButtonSettings far = with([&](auto& b) {
        PutShort(b, kOffsetAt + shift, 0x8000);
        PutShort(b, kOffsetAt + shift + 2, 0x7FFF);
    });
    EXPECT_EQ(far.textOffset, (Point{-1000, 1000}));
}

TEST(ButtonData, AnyCaptionBytesRenderSafely) {
    // 255 bytes of everything, in both caption modes and at the largest size.
    TaboraButton writer(GetArchive());
    writer.SetCaption("x");
    std::vector<uint8_t> b = Payload(writer);
    const size_t captionAt = 29 + 5;
    b.erase(b.begin() + captionAt, b.begin() + captionAt + 2);
    std::vector<uint8_t> text(255);
    uint32_t seed = 12345;
    for (auto& c : text) c = uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
    text.insert(text.begin(), 255);
    b.insert(b.begin() + captionAt, text.begin(), text.end());
    PutShort(b, kFontSizeAt, 300);
    for (bool antialias : {false, true}) {
        TaboraButton reader(GetArchive());
        ASSERT_TRUE(Read(reader, b));
        reader.SetAntialias(antialias);
        EXPECT_LE(reader.settings().caption.size(), 255u);
        EXPECT_TRUE(IsValidUtf8(reader.settings().caption));
        reader.PrepareExport();
        EXPECT_EQ(reader.validLayers() & TaboraButton::kTextLayer, TaboraButton::kTextLayer);
    }
}
