#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/Contrast.h"
#include "render/StatePictures.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

using namespace tabora;

namespace {

ButtonSettings Captioned(int16_t style, const std::string& caption) {
    ButtonSettings s;
    s.styleNumber = style;
    TaboraButton scratch(GetArchive());
    scratch.SetStyleNumber(style);
    s.buttonSize = scratch.DefaultButtonSize();
    s.caption = caption;
    s.fontStyle = kFontBold;
    return s;
}

int32_t Distance(const AlphaMask& body, int32_t x, int32_t y) {
    int32_t best = 1000;
    for (int32_t by = 0; by < body.Height(); ++by)
        for (int32_t bx = 0; bx < body.Width(); ++bx)
            if (body.At(bx, by) == 255) best = std::min(best, std::max(std::abs(bx - x), std::abs(by - y)));
    return best;
}

}  // namespace

// Nothing moves when the state changes: every picture is cut to one
// rectangle, which holds each state's own (the pressed one has no shadow,
// the focused one a ring beyond the body).
TEST(StatePictures, AllStatesShareOneRectangleHoldingEachOwn) {
    StateRenderer renderer(GetArchive());
    for (int16_t style : {12, 2, 620, 300}) {
        ButtonSettings normal = Captioned(style, "Go");
        normal.removeBackground = true;
        const StateSet set = renderer.Render(normal, ButtonStates{}, kAllStates, 1, true);
        ASSERT_EQ(set.pictures.size(), kStateCount);
        Rect all;
        for (const StatePicture& p : set.pictures) {
            EXPECT_EQ(p.rect.Union(set.rect), set.rect) << style << " " << StateName(p.state);
            all = all.Union(p.rect);
        }
        EXPECT_EQ(all, set.rect) << style;
        // The ring reaches beyond the normal picture's own rectangle.
        EXPECT_NE(set.pictures[0].rect, set.rect) << style;
        // The same set drawn again on the same renderer comes out the same.
        const StateSet again = renderer.Render(normal, ButtonStates{}, kAllStates, 1, true);
        EXPECT_EQ(again.rect, set.rect);
        for (size_t i = 0; i < kStateCount; ++i) {
            EXPECT_TRUE(std::equal(again.pictures[i].shown.Pixels(),
                                   again.pictures[i].shown.Pixels() + kCanvasWidth * kCanvasHeight,
                                   set.pictures[i].shown.Pixels()));
        }
    }
}

TEST(StatePictures, TheFocusRingHugsTheBodyFromOutside) {
    StateRenderer renderer(GetArchive());
    const ButtonSettings normal = Captioned(12, "Go");
    const ButtonState which[] = {ButtonState::Normal, ButtonState::Focus};
    const StateSet set = renderer.Render(normal, ButtonStates{}, which, 1, false);
    TaboraButton button(GetArchive());
    button.ApplySettings(normal);
    AlphaMask body;
    button.PlacedBodyAlpha(body);
    int changed = 0;
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            if (set.pictures[0].shown.At(x, y) == set.pictures[1].shown.At(x, y)) continue;
            ++changed;
            // Only outside the body's solid part, and within the ring's width.
            EXPECT_LT(body.At(x, y), 255) << x << "," << y;
            EXPECT_LE(Distance(body, x, y), kFocusRingWidth + 1) << x << "," << y;
        }
    }
    EXPECT_GT(changed, 100);
}

// The ring as its definition reads: at each pixel the most body within a
// round pen of the ring's width, less the body there.
AlphaMask PenRing(const AlphaMask& body, int32_t width) {
    AlphaMask ring(body.Width(), body.Height());
    // Farther than the pen from every bit of body there is no ring.
    const Rect area =
        body.Bounds().Inflate(width, width).Intersect({0, 0, body.Width(), body.Height()});
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            uint8_t spread = 0;
            for (int32_t dy = -width; dy <= width; ++dy) {
                for (int32_t dx = -width; dx <= width; ++dx) {
                    const int32_t sx = x + dx, sy = y + dy;
                    if (dx * dx + dy * dy > width * width + width || sx < 0 || sy < 0 ||
                        sx >= body.Width() || sy >= body.Height())
                        continue;
                    spread = std::max(spread, body.At(sx, sy));
                }
            }
            ring.At(x, y) = uint8_t(spread - std::min(spread, body.At(x, y)));
        }
    }
    return ring;
}

// The ring drawn from the body row by row is the pen's ring exactly, on
// round, pointed and square bodies, shrunk and widened, at 1x and 2x, and on a body that touches
// the canvas's edges.
TEST(StatePictures, TheFocusRingIsThePensRing) {
    StateDelta focus;
    focus.focusRing = MakeColor(255, 136, 0);
    for (int16_t style : {12, 20, 300, 611, 900}) {
        for (int scale : {1, 2}) {
            for (int32_t size : {0, 60, 1000}) {
                ButtonSettings s = Captioned(style, "");
                if (size) s.buttonSize = size;
                TaboraButton button(GetArchive(), scale);
                button.ApplySettings(s);
                button.PrepareExport();
                ArgbImage drawn = button.canvas(), layers;
                DrawStateTouches(button, focus, drawn, layers);
                AlphaMask body;
                button.PlacedBodyAlpha(body);
                ArgbImage expected = button.canvas();
                expected.Fill(*focus.focusRing, PenRing(body, kFocusRingWidth * scale));
                const size_t count = size_t(drawn.Width()) * size_t(drawn.Height());
                EXPECT_TRUE(std::equal(drawn.Pixels(), drawn.Pixels() + count, expected.Pixels()))
                    << "style " << style << " at " << scale << "x, size " << s.buttonSize;
            }
        }
    }
}

TEST(StatePictures, DisabledIsSeenAtHalfOpacityAndHoverIsBrighter) {
    StateRenderer renderer(GetArchive());
    ButtonSettings normal = Captioned(12, "Go");
    normal.removeBackground = true;
    const StateSet set = renderer.Render(normal, ButtonStates{}, kAllStates, 1, true);
    const ArgbImage& full = set.pictures[0].layers;
    const ArgbImage& faded = set.pictures[4].layers;
    double lit = 0, hovered = 0;
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            const int a = PixelAlpha(full.At(x, y));
            EXPECT_NEAR(PixelAlpha(faded.At(x, y)), a / 2.0, 0.51);
            lit += PixelLuminance(set.pictures[0].shown.At(x, y));
            hovered += PixelLuminance(set.pictures[1].shown.At(x, y));
        }
    }
    EXPECT_GT(hovered, lit);
    // The pressed state draws no drop shadow and moves the caption.
    EXPECT_FALSE(set.pictures[2].settings.shadow);
    EXPECT_EQ(set.pictures[2].settings.textOffset, (Point{1, 1}));
}

TEST(StatePictures, ACaptionWiderThanItsBodyIsMeasured) {
    TaboraButton button(GetArchive());
    ButtonSettings s = Captioned(12, "Services & Support");
    s.fontSize = 20;
    button.ApplySettings(s);
    const int32_t overflow = button.CaptionOverflow();
    EXPECT_GT(overflow, 10);
    // Widened until it fits, it no longer runs past.
    s.buttonSize = button.MaxButtonSize();
    s.fontSize = 12;
    button.ApplySettings(s);
    EXPECT_EQ(button.CaptionOverflow(), 0);
    s.caption.clear();
    button.ApplySettings(s);
    EXPECT_EQ(button.CaptionOverflow(), 0);
    EXPECT_LT(button.CaptionBackdropLuminance(), 0);
}

TEST(Contrast, RatiosFollowTheWebMeasure) {
    const Color black = MakeColor(0, 0, 0), white = MakeColor(255, 255, 255);
    EXPECT_NEAR(ContrastRatio(ColorLuminance(black), ColorLuminance(white)), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(ColorLuminance(white), ColorLuminance(white)), 1.0, 1e-9);
    // #777777 on white is the well-known 4.48:1, just short of 4.5.
    EXPECT_NEAR(ContrastRatio(ColorLuminance(MakeColor(0x77, 0x77, 0x77)), 1.0), 4.48, 0.01);
    EXPECT_EQ(RequiredContrast(12, false), 4.5);
    EXPECT_EQ(RequiredContrast(14, true), 3.0);
    EXPECT_EQ(RequiredContrast(14, false), 4.5);
    EXPECT_EQ(RequiredContrast(18, false), 3.0);
    EXPECT_EQ(BetterCaptionColor(0.9), black);
    EXPECT_EQ(BetterCaptionColor(0.02), white);
    // Over several backdrops the worst one decides: white reads better on
    // the mid body alone, but black holds up better once the lighter one
    // comes in; backdrops without a caption count for nothing.
    const double mid = 0.16, light = 0.4;
    EXPECT_EQ(BetterCaptionColor(mid), white);
    EXPECT_EQ(BetterCaptionColor(std::vector<double>{mid, -1}), white);
    EXPECT_EQ(BetterCaptionColor(std::vector<double>{mid, light}), black);

    // A white caption with no body lies over the white background.
    TaboraButton button(GetArchive());
    ButtonSettings s;
    s.caption = "Go";
    button.ApplySettings(s);
    EXPECT_NEAR(button.CaptionBackdropLuminance(), 1.0, 1e-9);
}

// At 2x and 3x every state is cut to exactly k times the 1x rectangles, so
// a finer picture is k times its 1x twin and nothing moves between states;
// nothing drawn (shadow, focus ring) falls outside the shared rectangle.
TEST(StatePictures, FinerScalesAreExactlyKTimesTheOneTimesSet) {
    StateRenderer renderer(GetArchive());
    for (int16_t style : {12, 620}) {
        ButtonSettings normal = Captioned(style, "Go");
        normal.removeBackground = true;
        const StateSet one = renderer.Render(normal, ButtonStates{}, kAllStates, 1, true);
        for (int k : {2, 3}) {
            const StateSet set = renderer.Render(normal, ButtonStates{}, kAllStates, k, true);
            ASSERT_EQ(set.scale, k);
            ASSERT_EQ(set.pictures.size(), kStateCount);
            const Rect& r = one.rect;
            EXPECT_EQ(set.rect, (Rect{r.left * k, r.top * k, r.right * k, r.bottom * k})) << style;
            for (size_t i = 0; i < kStateCount; ++i) {
                const StatePicture& p = set.pictures[i];
                EXPECT_EQ(p.rect.Width(), one.pictures[i].rect.Width() * k) << style << " " << k;
                EXPECT_EQ(p.rect.Height(), one.pictures[i].rect.Height() * k) << style << " " << k;
                ASSERT_EQ(p.layers.Width(), kCanvasWidth * k);
                int32_t outside = 0;
                for (int32_t y = 0; y < p.layers.Height(); ++y)
                    for (int32_t x = 0; x < p.layers.Width(); ++x)
                        if (!set.rect.Contains(x, y) && PixelAlpha(p.layers.At(x, y)) != 0) ++outside;
                EXPECT_EQ(outside, 0) << style << " " << k << " " << StateName(p.state);
            }
        }
    }
}

namespace {

StatePicture PictureOf(ButtonState state, Color text, double backdrop) {
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
TEST(Contrast, AutoColourWeighsTheWorstStateThatShowsTheCaption) {
    const Color white = MakeColor(255, 255, 255), black = MakeColor(0, 0, 0);
    const double mid = 0.16, light = 0.4;
    ButtonSettings normal;
    normal.textColor = white;

    std::vector<StatePicture> pictures = {PictureOf(ButtonState::Normal, white, mid),
                                          PictureOf(ButtonState::Hover, white, light)};
    EXPECT_TRUE(ChooseCaptionColorForStates(pictures, normal));
    EXPECT_EQ(normal.textColor, black);
    // Chosen again over the same states, nothing changes.
    pictures = {PictureOf(ButtonState::Normal, black, mid),
                PictureOf(ButtonState::Hover, black, light)};
    EXPECT_FALSE(ChooseCaptionColorForStates(pictures, normal));
    EXPECT_EQ(normal.textColor, black);

    normal.textColor = white;
    pictures = {PictureOf(ButtonState::Normal, white, mid),
                PictureOf(ButtonState::Disabled, white, light)};
    EXPECT_FALSE(ChooseCaptionColorForStates(pictures, normal));
    EXPECT_EQ(normal.textColor, white);

    const Color own = MakeColor(0xFF, 0xEE, 0x00);
    pictures = {PictureOf(ButtonState::Normal, white, mid),
                PictureOf(ButtonState::Hover, own, light)};
    EXPECT_FALSE(ChooseCaptionColorForStates(pictures, normal));
    EXPECT_EQ(normal.textColor, white);

    // No caption anywhere: the colour stays as it was.
    pictures = {PictureOf(ButtonState::Normal, white, -1),
                PictureOf(ButtonState::Hover, white, -1)};
    EXPECT_FALSE(ChooseCaptionColorForStates(pictures, normal));
    EXPECT_EQ(normal.textColor, white);
}
