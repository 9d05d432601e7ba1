#include <gtest/gtest.h>

#include <vector>

#include "cli/CaptionChecks.h"
#include "render/StatePictures.h"

using namespace tabora;
using namespace tabora::cli;

namespace {

StatePicture Picture(ButtonState state, Color text, double backdrop) {
    StatePicture p;
    p.state = state;
    p.settings.textColor = text;
    p.backdropLuminance = backdrop;
    return p;
}

}  // namespace

// "auto" over a button's states: white reads better on the mid body alone,
// but a lighter hover turns the worst case round, unless that state is
// disabled (not held to contrast) or keeps a caption colour of its own.
TEST(CaptionChecks, AutoColourWeighsTheWorstStateThatShowsTheCaption) {
    const Color white = MakeColor(255, 255, 255), black = MakeColor(0, 0, 0);
    const double mid = 0.16, light = 0.4;
    ButtonSettings normal;
    normal.textColor = white;

    std::vector<StatePicture> pictures = {Picture(ButtonState::Normal, white, mid),
                                          Picture(ButtonState::Hover, white, light)};
    EXPECT_TRUE(ChooseCaptionColorForStates(pictures, normal));
    EXPECT_EQ(normal.textColor, black);
    // Chosen again over the same states, nothing changes.
    pictures = {Picture(ButtonState::Normal, black, mid), Picture(ButtonState::Hover, black, light)};
    EXPECT_FALSE(ChooseCaptionColorForStates(pictures, normal));
    EXPECT_EQ(normal.textColor, black);

    normal.textColor = white;
    pictures = {Picture(ButtonState::Normal, white, mid), Picture(ButtonState::Disabled, white, light)};
    EXPECT_FALSE(ChooseCaptionColorForStates(pictures, normal));
    EXPECT_EQ(normal.textColor, white);

    const Color own = MakeColor(0xFF, 0xEE, 0x00);
    pictures = {Picture(ButtonState::Normal, white, mid), Picture(ButtonState::Hover, own, light)};
    EXPECT_FALSE(ChooseCaptionColorForStates(pictures, normal));
    EXPECT_EQ(normal.textColor, white);

    // No caption anywhere: the colour stays as it was.
    pictures = {Picture(ButtonState::Normal, white, -1), Picture(ButtonState::Hover, white, -1)};
    EXPECT_FALSE(ChooseCaptionColorForStates(pictures, normal));
    EXPECT_EQ(normal.textColor, white);
}
