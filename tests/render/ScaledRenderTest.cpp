// Buttons at 2x and 3x: the 1x layout decides every rectangle, so a k x
// export is exactly k times the 1x export and a page can swap one for the
// other; the finer body looks like the 1x body and widens without a seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "render/ScaledPicture.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/support/ScaledImages.h"
#include "tests/support/TestStyles.h"

using namespace tabora;
using tabora::test::MeanErrorOfReduction;

namespace {

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.IsEmpty() || (inner.left >= outer.left && inner.top >= outer.top &&
                               inner.right <= outer.right && inner.bottom <= outer.bottom);
}

std::string Describe(const ButtonSettings& s, int scale) {
    return "style " + std::to_string(s.styleNumber) + " size " + std::to_string(s.buttonSize) +
           " at " + std::to_string(scale) + "x, shadow " + std::to_string(s.shadow) + " area " +
           std::to_string(s.includeShadowArea) + " caption \"" + s.caption + "\"";
}

// The reduced k x body may differ from the 1x body as much as sharper edges
// explain, in 8-bit steps averaged over the body: the styles themselves
// differ by at most 2.6, and a shrunk body is reduced once more at each
// scale (today at most 4.9). A body shrunk to a third is little but edge
// (today at most 10.7).
constexpr double kMaxBodyError = 6.0;
constexpr double kMaxSmallBodyError = 13.0;
constexpr int32_t kSmallBodySize = 50;

// The sizes around each change of the body's rule: shrunk to a third, to
// about half, a little, by one pixel, natural, widened by a pixel, the
// style's default and its largest.
constexpr int kSizeCount = 8;

struct Findings {
    std::string failure;  // the first case that broke a rule, if any
    int cases = 0;
    double worst[2] = {};  // small bodies, the others
    std::string worstCase[2];
};

// One button of each scale serves every case, as in a batch; the cases
// rotate through the shadow drawn, only its room kept, or neither, the
// background kept or removed, captions plain or antialiased, with or without
// their shadow and nudge, and the two finer scales.
void CheckStyles(int32_t first, int32_t step, Findings& found) {
    const Archive& archive = GetArchive();
    TaboraButton one(archive);
    TaboraButton two(archive, 2), three(archive, 3);
    TaboraButton* scaled[] = {&two, &three};
    auto fail = [&](const std::string& what, const std::string& rule) {
        if (found.failure.empty()) found.failure = what + ": " + rule;
    };
    for (int32_t n = first; n <= Archive::kEntryCount && found.failure.empty(); n += step) {
        if (!archive.HasStyleData(n)) continue;
        one.SetStyleNumber(int16_t(n));
        const int32_t sizes[kSizeCount] = {20, 57, 150, 199, 200, 201, one.DefaultButtonSize(),
                                           one.MaxButtonSize()};
        for (int i = 0; i < kSizeCount; ++i) {
            const int variant = int(n + i);
            ButtonSettings s = one.settings();
            s.buttonSize = sizes[i];
            s.shadow = variant % 3 == 0;
            s.includeShadowArea = variant % 3 == 1;
            s.removeBackground = variant % 2 == 0;
            s.caption = variant % 4 == 0 ? "" : variant % 4 == 1 ? "Go" : "Home page";
            s.textShadow = variant % 5 < 2;
            s.antialias = variant % 7 != 0;
            s.textOffset = variant % 6 == 0 ? Point{3, -2} : Point{};
            one.ApplySettings(s);
            one.PrepareExport();
            TaboraButton& b = *scaled[(variant / 2) % 2];
            const int k = b.scale();
            b.ApplySettings(s);
            b.PrepareExport();
            ++found.cases;
            const std::string what = Describe(s, k);
            if (b.exportRect() != ScaleRect(one.exportRect(), k))
                return fail(what, "the export rectangle is not k times the 1x one");
            if (b.bodyRect() != ScaleRect(one.bodyRect(), k))
                return fail(what, "the body rectangle is not k times the 1x one");
            // Nothing of the finer picture is cut off by the rectangle the
            // 1x picture decided.
            const Rect body = b.bodyBounds().Offset((kCanvasWidth - one.bodyRect().Width()) / 2 * k,
                                                    (kCanvasHeight - one.bodyRect().Height()) / 2 * k);
            if (!Inside(body, b.exportRect())) return fail(what, "the body sticks out");
            if ((s.shadow || s.includeShadowArea) && !Inside(b.shadowMask().Bounds(), b.exportRect()))
                return fail(what, "the shadow sticks out");
            if (!s.caption.empty()) {
                // The caption sits where the 1x caption sits, to a CSS pixel.
                const Rect t1 = one.textBounds(), tk = b.textBounds();
                if (t1.IsEmpty() != tk.IsEmpty() || !Inside(tk, b.exportRect()))
                    return fail(what, "the caption is missing or sticks out");
                if (std::abs((tk.left + tk.right) - k * (t1.left + t1.right)) > 2 * k ||
                    std::abs((tk.top + tk.bottom) - k * (t1.top + t1.bottom)) > 2 * k)
                    return fail(what, "the caption moved");
            }
            // The body looks like the 1x body.
            if (!one.bodyRect().IsEmpty()) {
                const double error =
                    MeanErrorOfReduction(one.bodyImage(), b.bodyImage(), k, one.bodyRect());
                const int kind = sizes[i] < kSmallBodySize ? 0 : 1;
                if (error > found.worst[kind]) found.worst[kind] = error, found.worstCase[kind] = what;
            }
            // Widened, the k x body repeats the k identical columns of the
            // stretch column: every column from there to its copy is the same.
            const ButtonStyle& style = *b.style();
            if (s.buttonSize > kNaturalButtonSize && style.stretchColumn >= 0) {
                const int32_t from = style.stretchColumn;
                const int32_t to = from + (b.bodyRect().Width() - style.image.Width()) + k;
                for (int32_t y = 0; y < b.bodyRect().Height(); ++y)
                    for (int32_t x = from; x < to; ++x)
                        if (b.bodyImage().At(x, y) != b.bodyImage().At(from, y))
                            return fail(what, "a seam at column " + std::to_string(x));
            }
        }
    }
}

}  // namespace

// Every style at every size of the list, on two threads.
TEST(ScaledRender, EveryStyleExportsExactlyKTimesItsOneTimesRectangle) {
    Findings found[2];
    std::thread other(CheckStyles, 2, 2, std::ref(found[1]));
    CheckStyles(1, 2, found[0]);
    other.join();
    int cases = 0;
    for (const Findings& f : found) {
        EXPECT_EQ(f.failure, "");
        cases += f.cases;
        EXPECT_LT(f.worst[0], kMaxSmallBodyError) << f.worstCase[0];
        EXPECT_LT(f.worst[1], kMaxBodyError) << f.worstCase[1];
    }
    EXPECT_GT(cases, 7000);
}
