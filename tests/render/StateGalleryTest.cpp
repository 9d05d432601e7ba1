// One button of each shape of the catalogue in its five states, with the
// default deltas. Every state must look different from the normal one; with
// TABORA_STATE_GALLERY=<file.png> in the environment the sheet is written
// out for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "render/StatePictures.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/support/ReviewPicture.h"
#include "styles/Catalogue.h"

using namespace tabora;

namespace {

constexpr int32_t kCellWidth = kCanvasWidth, kCellHeight = 56;
constexpr Color kPage = MakeColor(0xF4, 0xF4, 0xF0);

// The first style of each shape and material pair, in strip order.
std::vector<int16_t> OnePerFamily() {
    std::vector<int16_t> styles;
    std::set<std::pair<int, int>> seen;
    const std::span<const CatalogueItem> items = CatalogueItems();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].IsHeading() || items[i].recipe.icon != StyleIcon::None) continue;
        const auto key = std::make_pair(int(items[i].recipe.shape), int(items[i].recipe.material));
        if (seen.insert(key).second && seen.size() % 3 == 1) styles.push_back(int16_t(i + 1));
    }
    return styles;
}

}  // namespace

TEST(StateGallery, EveryStateShowsOnEveryFamily) {
    const std::vector<int16_t> styles = OnePerFamily();
    ASSERT_GT(styles.size(), 8u);
    ArgbImage sheet(int32_t(kStateCount) * kCellWidth, int32_t(styles.size()) * kCellHeight);
    sheet.Fill(kPage);
    StateRenderer renderer(GetArchive());
    TaboraButton scratch(GetArchive());
    int32_t row = 0;
    for (int16_t style : styles) {
        ButtonSettings normal;
        normal.styleNumber = style;
        scratch.SetStyleNumber(style);
        normal.buttonSize = scratch.DefaultButtonSize();
        normal.caption = "Home";
        normal.fontStyle = kFontBold;
        normal.antialias = true;
        normal.backgroundColor = kPage;
        // The caption colour the catalogue gives the style.
        normal.textColor = CatalogueItems()[size_t(style - 1)].caption.colour;
        const StateSet set = renderer.Render(normal, ButtonStates{}, kAllStates, 1, false);
        const Rect r = set.rect;
        for (size_t s = 0; s < kStateCount; ++s) {
            const StatePicture& picture = set.pictures[s];
            if (s > 0) {
                bool differs = false;
                for (int32_t y = r.top; y < r.bottom && !differs; ++y)
                    for (int32_t x = r.left; x < r.right && !differs; ++x)
                        differs = picture.shown.At(x, y) != set.pictures[0].shown.At(x, y);
                EXPECT_TRUE(differs) << "style " << style << " " << StateName(picture.state);
            }
            const int32_t x = int32_t(s) * kCellWidth + (kCellWidth - r.Width()) / 2;
            const int32_t y = row * kCellHeight + std::max(0, (kCellHeight - r.Height()) / 2);
            const Rect into{x, y, x + r.Width(), y + std::min(r.Height(), kCellHeight)};
            picture.shown.CompositeOver(sheet, Rect{r.left, r.top, r.right, r.top + into.Height()}, into);
        }
        ++row;
    }
    tabora::test::WriteReviewPicture(sheet, "TABORA_STATE_GALLERY");
}
