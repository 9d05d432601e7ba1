#pragma once
#include <array>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/Fonts.h"

#include "render/ArgbImage.h"
#include "styles/Catalogue.h"
#include "tools/artgen/StyleRaster.h"

// The archive strip and the review sheets of the style art.
namespace tabora::art::style {

// The whole 196 x 15,600 strip: every style at its catalogue rectangle with
// its drop shadow, the headings between the families, on a light backdrop.
// `styles[i]` is the picture of item i (empty for headings) drawn at
// `scale`, and so is the strip: `scale` times the size in both directions.
ArgbImage DrawArchiveStrip(std::span<const CatalogueItem> items,
                           const std::vector<ArgbImage>& styles, int scale);

// Every style, section by section under the strip's headings, each
// numbered, over a cell that is white, mid grey and near-black in thirds;
// `styles` drawn at `scale`, and so is the sheet.
struct PagesSheetOptions {
    bool widened = true;        // at the width each starts at, else its picture's
    bool onePerFamily = false;  // only the first colourway of each family
};
ArgbImage DrawPagesSheet(std::span<const CatalogueItem> items,
                         const std::vector<ArgbImage>& styles, int scale,
                         const PagesSheetOptions& options);

// For each family of today's buttons, a sheet of its styles at 40 pixels
// (all of the chips) captioned by the renderer in the colour the catalogue
// records, plain and antialiased; named for the family.
std::vector<std::pair<std::string, ArgbImage>> DrawFamilySheets(
    std::span<const CatalogueItem> items, const std::vector<ArgbImage>& styles);

// Every widenable style widened to the full 166 pixels as the renderer
// widens it, for checking that no seam shows.
ArgbImage DrawStretchSheet(std::span<const CatalogueItem> items,
                           const std::vector<ArgbImage>& styles);

// One style of every family (and a second colour) on white, mid grey and
// black, with the drop shadow: edges must look clean on all three.
ArgbImage DrawBackgroundSheet(std::span<const CatalogueItem> items,
                              const std::vector<ArgbImage>& styles);

// One style of every family, each in a different colourway: the catalogue
// at a glance.
ArgbImage DrawShowcase(std::span<const CatalogueItem> items, const std::vector<ArgbImage>& styles);

// Twelve families, six of today's and six classics, two to a row at the
// width each starts at, at `scale` (`styles` drawn at that scale), with their
// drop shadows on the strip's checker: a gallery for the README.
ArgbImage DrawGallery(std::span<const CatalogueItem> items, const std::vector<ArgbImage>& styles,
                      int scale);

// One style of every family at 1x, 2x and 3x side by side (`scales[k - 1]`
// holds the pictures at k), with the 3x picture widened: do they look alike,
// are the finer ones sharp, and does the widening hold at 3x?
ArgbImage DrawScalesSheet(std::span<const CatalogueItem> items,
                          std::array<const std::vector<ArgbImage>*, 3> scales);

// Blends a premultiplied picture onto an opaque image at (x, y).
void CompositeOnto(ArgbImage& dest, int32_t x, int32_t y, const FloatImage& src);
// The drop shadow the renderer gives a body: its silhouette one CSS pixel
// right and two down, softened by a 5 x 5 CSS pixel box, at 40 % black; the
// body is drawn at `scale`.
void DrawDropShadow(ArgbImage& dest, int32_t x, int32_t y, const FloatImage& body, int scale);
// The bold face of the strip's headings at `em` pixels, and one line of it
// in `ink` (0xRRGGBB) with its cell's top left at (x, y); returns its width.
std::unique_ptr<Font> HeadingFont(int32_t em);
int32_t DrawLabel(ArgbImage& dest, Font& font, const std::string& text, int32_t x, int32_t y,
                  uint32_t ink);
// A light grey checker that shows transparency without shouting.
void FillChecker(ArgbImage& dest, Rect rect, int32_t cell);
// Widens a style picture by `extra` CSS pixels the way the renderer does:
// the `scale` device columns of CSS column `column` repeat.
ArgbImage Widen(const ArgbImage& style, int32_t column, int32_t extra, int scale);

}  // namespace tabora::art::style
