#include <gtest/gtest.h>

#include "imaging/StateFiles.h"
#include "io/ButtonData.h"
#include "io/MacStream.h"
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
