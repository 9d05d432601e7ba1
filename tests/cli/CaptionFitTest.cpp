// The size the batch's fitCaption gives a button: its caption sits in the
// body's flat middle with the padding promised on both sides.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "cli/CaptionFit.h"
#include "render/TaboraButton.h"
#include "tests/support/TestStyles.h"

using namespace tabora;

namespace {

// A 60 x 20 capsule: ten columns of cap at each end, shaded and rounded, and
// a flat middle of one colour from column 10 to 49; it widens at column 30.
constexpr int32_t kCap = 10;
constexpr int32_t kWidth = 60;

ButtonStyle Capsule() {
    ButtonStyle style;
    style.image.Allocate(kWidth, 20);
    for (int32_t y = 0; y < 20; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            const int32_t fromEnd = std::min(x, kWidth - 1 - x);
            const bool corner = fromEnd < 3 && (y < 3 - fromEnd || y > 16 + fromEnd);
            const uint8_t shade = fromEnd < kCap ? uint8_t(100 + 12 * fromEnd) : 230;
            style.image.At(x, y) = corner ? 0u : MakePixel(255, shade, 90, 40);
        }
    }
    style.stretchColumn = 30;
    return style;
}

}  // namespace

TEST(CaptionFit, TheCaptionKeepsItsPaddingFromBothCaps) {
    test::TestStyles styles;
    styles.Put(1, Capsule());
    for (const char* caption : {"A", "Home", "Products", "A much longer caption", "W i d e"}) {
        for (bool antialias : {false, true}) {
            TaboraButton button(styles);
            button.SetStyleNumber(1);
            button.SetFontName("DejaVu Sans");
            button.SetFontSize(12);
            button.SetAntialias(antialias);
            button.SetCaption(caption);
            button.SetButtonSize(cli::FittedSize(button));
            button.Render();

            const Rect body = button.bodyRect();
            const int32_t extra = body.Width() - kWidth;
            ASSERT_GE(extra, 0) << caption;
            const int32_t bodyLeft = (174 - body.Width()) / 2;
            const int32_t flatLeft = bodyLeft + kCap;
            const int32_t flatRight = bodyLeft + kWidth - 1 - kCap + extra;  // last flat column
            const Rect text = button.textBounds();
            ASSERT_FALSE(text.IsEmpty()) << caption;
            const int32_t leftRoom = text.left - flatLeft;
            const int32_t rightRoom = flatRight - (text.right - 1);
            SCOPED_TRACE(std::string(caption) + (antialias ? ", antialiased" : ""));
            if (button.settings().buttonSize == button.MaxButtonSize()) {
                // The canvas ends first: as wide as the body may be.
                EXPECT_EQ(body.Width(), 166);
                continue;
            }
            if (extra == 0) {
                // Short enough for the style as it is.
                EXPECT_GE(leftRoom + rightRoom, 2 * cli::kCaptionPadding);
                continue;
            }
            // Widened exactly by what the caption and its padding need. The
            // caption is centred by its advance and the ink may sit a pixel
            // to one side, so each side has the padding give or take one.
            EXPECT_EQ(leftRoom + rightRoom, 2 * cli::kCaptionPadding);
            EXPECT_GE(leftRoom, cli::kCaptionPadding - 1);
            EXPECT_GE(rightRoom, cli::kCaptionPadding - 1);
        }
    }
}
