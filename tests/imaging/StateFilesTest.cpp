#include <gtest/gtest.h>
#include <zlib.h>

#include "imaging/CodecTestSupport.h"
#include "imaging/PngRuns.h"
#include "imaging/StateFiles.h"
#include "io/ButtonData.h"
#include "io/MacStream.h"
#include "platform/Error.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

using namespace tabora;

namespace {

struct Written {
    std::vector<uint8_t> bytes;
    int32_t width = 0, height = 0;  // from the PNG header
};

template <typename Write>
Written WritePng(Write write) {
    PtrMacStream out;
    write(*FindFormat(ImageFormat::Png), out);
    Written w;
    w.bytes.assign(out.Data(), out.Data() + out.Length());
    auto at = [&](size_t i) { return int32_t(w.bytes[i]) << 24 | w.bytes[i + 1] << 16 | w.bytes[i + 2] << 8 | w.bytes[i + 3]; };
    w.width = at(16);
    w.height = at(20);
    return w;
}

OpenResult Open(const Written& file, TaboraButton& button) {
    PtrMacStream in(file.bytes.data(), uint32_t(file.bytes.size()), false);
    return ImportButton(button, *FindFormat(ImageFormat::Png), in);
}

ButtonSettings Normal() {
    ButtonSettings s;
    s.styleNumber = 12;
    s.buttonSize = 240;
    s.caption = "Home";
    s.fontStyle = kFontBold;  // regular reads back as 0
    return s;
}

}  // namespace

TEST(StateFiles, NamesFollowTheButtonsFile) {
    EXPECT_EQ(StateFileName("img/home.png", ButtonState::Normal, 1), "img/home.png");
    EXPECT_EQ(StateFileName("img/home.png", ButtonState::Active, 1), "img/home-active.png");
    EXPECT_EQ(StateFileName("img/home.PNG", ButtonState::Hover, 2), "img/home-hover@2x.PNG");
    EXPECT_EQ(SpriteFileName("a.b/home.gif", 1), "a.b/home-sprite.gif");
    EXPECT_EQ(SpriteFileName("home.gif", 3), "home-sprite@3x.gif");
    const ButtonState two[] = {ButtonState::Normal, ButtonState::Focus};
    EXPECT_EQ(StateFileNames(two, 1, "h.png", true, true),
              (std::vector<std::string>{"h.png", "h-focus.png", "h-sprite.png"}));
    EXPECT_EQ(StateFileNames(two, 1, "h.png", false, true),
              (std::vector<std::string>{"h.png", "h-sprite.png"}));
}

// Each state's file is the set's rectangle and carries that state's whole
// settings; the normal one and the sprite carry the normal settings with the
// button's own states, so either opens as the whole button again.
TEST(StateFiles, EachFileCarriesItsStateAndTheSpriteTheWholeButton) {
    ButtonStates states;
    StateDelta hover;
    hover.patch.Set(FieldNamed("textColor"), MakeColor(255, 238, 0));
    states.SetCustom(ButtonState::Hover, hover);
    StateRenderer renderer(GetArchive());
    const StateSet set = renderer.Render(Normal(), states, kAllStates, 1, false);

    TaboraButton button(GetArchive());
    for (const StatePicture& picture : set.pictures) {
        const Written file = WritePng([&](const FormatEntry& f, MacStream& out) {
            ExportStatePicture(set, picture, states, f, out);
        });
        EXPECT_EQ(file.width, set.rect.Width());
        EXPECT_EQ(file.height, set.rect.Height());
        const OpenResult opened = Open(file, button);
        ASSERT_TRUE(opened.opened());
        EXPECT_EQ(button.settings(), picture.settings) << StateName(picture.state);
        const bool normal = picture.state == ButtonState::Normal;
        EXPECT_EQ(opened.payloadVersion, normal ? kPayloadStates : kPayloadVersion);
        EXPECT_EQ(opened.states, normal ? states : ButtonStates{});
    }
    EXPECT_EQ(set.pictures[1].settings.textColor, MakeColor(255, 238, 0));

    const Written sprite = WritePng([&](const FormatEntry& f, MacStream& out) {
        ExportSprite(set, states, f, out);
    });
    EXPECT_EQ(sprite.width, set.rect.Width());
    EXPECT_EQ(sprite.height, set.rect.Height() * int32_t(kStateCount));
    const OpenResult opened = Open(sprite, button);
    ASSERT_TRUE(opened.opened());
    EXPECT_EQ(button.settings(), Normal());
    EXPECT_EQ(opened.states, states);
}

// A button whose states are all the defaults writes exactly what it wrote
// before states existed.
TEST(StateFiles, DefaultStatesSaveAsBefore) {
    TaboraButton button(GetArchive());
    button.ApplySettings(Normal());
    const Written plain = WritePng([&](const FormatEntry& f, MacStream& out) { ExportButton(button, f, out); });
    const ButtonStates none;
    const Written stated =
        WritePng([&](const FormatEntry& f, MacStream& out) { ExportButton(button, f, out, &none); });
    EXPECT_EQ(plain.bytes, stated.bytes);
}

namespace {

// The RGBA bytes a PNG of the part `r` of a picture must decode to: its
// alpha with the layers alone, opaque otherwise.
test::Bytes Expected(const ArgbImage& image, Rect r, bool alpha) {
    test::Bytes rgba;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        for (int32_t x = r.left; x < r.right; ++x) {
            const uint32_t p = image.At(x, y);
            rgba.insert(rgba.end(), {PixelRed(p), PixelGreen(p), PixelBlue(p),
                                     alpha ? PixelAlpha(p) : uint8_t(255)});
        }
    }
    return rgba;
}

// The image data inflated by zlib itself, which checks the stream's end and
// its check value; empty when either is wrong.
test::Bytes Inflated(const test::Bytes& file, size_t expected) {
    test::Bytes data;
    for (const test::PngChunk& chunk : test::PngChunks(file)) {
        if (chunk.type == "IDAT") data.insert(data.end(), chunk.data.begin(), chunk.data.end());
    }
    test::Bytes rows(expected + 1);
    uLongf length = uLongf(rows.size());
    if (uncompress(rows.data(), &length, data.data(), uLong(data.size())) != Z_OK) return {};
    rows.resize(length);
    return rows;
}

}  // namespace

// Each picture is compressed once for its own file and the sprite. Every
// file, and every state's band of the sprite, must still be exactly what
// that state looks like drawn on its own by another renderer, at 1x and 2x,
// with and without the background; and each still opens as its state.
TEST(StateFiles, FilesAndSpriteSharingCompressionHoldEachStatesOwnPixels) {
    ButtonStates states;
    StateDelta hover;
    hover.patch.Set(FieldNamed("textColor"), MakeColor(255, 238, 0));
    states.SetCustom(ButtonState::Hover, hover);
    for (bool transparent : {false, true}) {
        ButtonSettings normal = Normal();
        normal.antialias = true;
        normal.removeBackground = transparent;
        StateRenderer renderer(GetArchive());
        const StateSet one = renderer.Render(normal, states, kAllStates, 1, transparent);
        for (int scale : {1, 2}) {
            SCOPED_TRACE(testing::Message()
                         << "scale " << scale << (transparent ? " transparent" : ""));
            const StateSet fine =
                scale == 1 ? StateSet{}
                           : renderer.Render(normal, states, kAllStates, scale, transparent, &one);
            const StateSet& set = scale == 1 ? one : fine;
            const Rect r = set.rect;
            StateExporter exporter(set, states);
            test::Bytes spriteExpected;
            TaboraButton button(GetArchive());
            for (size_t i = 0; i < set.pictures.size(); ++i) {
                // The state drawn alone by a renderer of its own.
                StateRenderer alone(GetArchive());
                const ButtonState which[] = {set.pictures[i].state};
                const StateSet own = alone.Render(normal, states, which, scale, transparent);
                const StatePicture& picture = own.pictures[0];
                const test::Bytes expected =
                    Expected(transparent ? picture.layers : picture.shown, r, transparent);
                spriteExpected.insert(spriteExpected.end(), expected.begin(), expected.end());

                const Written file = WritePng(
                    [&](const FormatEntry& f, MacStream& out) { exporter.Picture(i, f, out); });
                int32_t w = 0, h = 0;
                test::Bytes rgba;
                ASSERT_TRUE(test::DecodePng(file.bytes, w, h, rgba)) << StateName(picture.state);
                EXPECT_EQ(w, r.Width());
                EXPECT_EQ(h, r.Height());
                EXPECT_TRUE(rgba == expected) << StateName(picture.state);
                EXPECT_FALSE(
                    Inflated(file.bytes, size_t(h) * (1 + size_t(w) * (transparent ? 4 : 3)))
                        .empty());
                ASSERT_TRUE(Open(file, button).opened());
                EXPECT_EQ(button.settings(), picture.settings) << StateName(picture.state);
            }
            const Written sprite =
                WritePng([&](const FormatEntry& f, MacStream& out) { exporter.Sprite(f, out); });
            int32_t w = 0, h = 0;
            test::Bytes rgba;
            ASSERT_TRUE(test::DecodePng(sprite.bytes, w, h, rgba));
            EXPECT_EQ(h, r.Height() * int32_t(kStateCount));
            EXPECT_TRUE(rgba == spriteExpected);
            EXPECT_FALSE(Inflated(sprite.bytes, size_t(h) * (1 + size_t(w) * (transparent ? 4 : 3)))
                             .empty());
            ASSERT_TRUE(Open(sprite, button).opened());
            EXPECT_EQ(button.settings(), normal);

            // The same bytes whichever way a file is asked for.
            const Written alone = WritePng([&](const FormatEntry& f, MacStream& out) {
                ExportStatePicture(set, set.pictures[2], states, f, out);
            });
            const Written shared = WritePng(
                [&](const FormatEntry& f, MacStream& out) { exporter.Picture(2, f, out); });
            EXPECT_EQ(alone.bytes, shared.bytes);
        }
    }
}

// Runs join only when they are one kind of row; a picture or a sprite with
// nothing to write is refused rather than written empty.
TEST(StateFiles, RunsOfDifferentRowsDoNotJoin) {
    const ArgbImage picture = test::Gradient(9, 5);
    const PngRun rgb = MakePngRun(picture, picture.Extent(), false);
    const PngRun rgba = MakePngRun(picture, picture.Extent(), true);
    const PngRun narrower = MakePngRun(picture, {0, 0, 8, 5}, false);
    PtrMacStream out;
    for (const PngRun* other : {&rgba, &narrower}) {
        const PngRun* both[] = {&rgb, other};
        EXPECT_THROW(WritePngOfRuns(both, "Tbra", "", out), TaboraError);
    }
    EXPECT_THROW(MakePngRun(picture, {20, 20, 30, 30}, false), TaboraError);
    const StateSet empty;
    EXPECT_THROW(StateExporter(empty, ButtonStates{}).Sprite(*FindFormat(ImageFormat::Png), out),
                 TaboraError);

    const PngRun* twice[] = {&rgba, &rgba};
    WritePngOfRuns(twice, "Tbra", "00", out);
    const test::Bytes file(out.Data(), out.Data() + out.Length());
    int32_t w = 0, h = 0;
    test::Bytes decoded;
    ASSERT_TRUE(test::DecodePng(file, w, h, decoded));
    const test::Bytes once = Expected(picture, picture.Extent(), true);
    test::Bytes expected = once;
    expected.insert(expected.end(), once.begin(), once.end());
    EXPECT_EQ(h, 10);
    EXPECT_TRUE(decoded == expected);
}
