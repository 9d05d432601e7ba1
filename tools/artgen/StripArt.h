#pragma once
#include <span>
#include <vector>

#include "render/ArgbImage.h"
#include "styles/Catalogue.h"
#include "tools/artgen/StyleRaster.h"

// The archive strip and the review sheets of the style art.
namespace tabora::art::style {

// The whole 196 x 15,600 strip: every style at its catalogue rectangle with
// its drop shadow, the headings between the families, on a light backdrop.
// `styles[i]` is the picture of item i (empty for headings).
ArgbImage DrawArchiveStrip(std::span<const CatalogueItem> items,
                           const std::vector<ArgbImage>& styles);

// Every style at full size on a checker, for review.
ArgbImage DrawContactSheet(std::span<const CatalogueItem> items,
                           const std::vector<ArgbImage>& styles);
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

// Blends a premultiplied picture onto an opaque image at (x, y).
void CompositeOnto(ArgbImage& dest, int32_t x, int32_t y, const FloatImage& src);
// The drop shadow the renderer gives a body: its silhouette one pixel right
// and two down, softened by a 5 x 5 box, at 40 % black.
void DrawDropShadow(ArgbImage& dest, int32_t x, int32_t y, const FloatImage& body);
// A light grey checker that shows transparency without shouting.
void FillChecker(ArgbImage& dest, Rect rect, int32_t cell);

}  // namespace tabora::art::style
