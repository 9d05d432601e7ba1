#pragma once
#include <cstdint>

namespace tabora {
class TaboraButton;
}

namespace tabora::cli {

// Room between a fitted caption and the ends of the body's flat middle, so
// it never seems to touch a rounded cap.
constexpr int32_t kCaptionPadding = 3;

// The size at which a stretchable style's body holds the button's caption
// inside its flat middle with kCaptionPadding on each side: the run of columns
// like the repeated one is where a caption sits, and the ends beyond it
// (rounded caps, points, borders) are the style's own margins, kept whole.
// The body grows until the middle is wide enough and never shrinks below the
// style's own width. Other styles, and buttons without a caption, keep their
// size. Renders the button.
int32_t FittedSize(TaboraButton& button);

}  // namespace tabora::cli
