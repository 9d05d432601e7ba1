#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "io/ButtonStates.h"
#include "platform/Geometry.h"
#include "render/ArgbImage.h"
#include "render/ButtonStyle.h"
#include "render/ScaledPicture.h"

namespace tabora {

class TaboraButton;

// The largest scale states are drawn at: that of the finest art.
constexpr int kMaxStateScale = kMaxArtScale;

// One state of a button, drawn.
struct StatePicture {
    ButtonState state = ButtonState::Normal;
    ButtonSettings settings;  // the state's whole settings
    ArgbImage shown;          // the canvas as the preview shows it
    ArgbImage layers;         // without the background, when asked for
    Rect rect;                // the state's own export rectangle
    // The checks before shipping, measured at 1x (a finer picture carries
    // its 1x twin's): see TaboraButton::CaptionOverflow.
    int32_t captionOverflow = 0;
    double backdropLuminance = -1;  // under the caption; negative without one
};

// The states of one button, all to be cut to `rect`: the union of the
// states' own rectangles at 1x, times the scale. Nothing moves when the
// state changes, and a k x set lines up with the 1x one.
struct StateSet {
    ButtonSettings normal;  // the settings the states are made from
    std::vector<StatePicture> pictures;
    Rect rect;
    int scale = 1;
};

// An automatic caption colour for a button drawn in states: black or white,
// whichever reads better in the worst of the states that show the normal
// caption colour (a disabled state is not held to contrast, and a state with
// a colour of its own keeps it). Returns whether `normal` changed, so the
// states must be drawn again.
bool ChooseCaptionColorForStates(std::span<const StatePicture> pictures, ButtonSettings& normal);

// Draws the states of buttons, keeping its buttons (and their layers)
// between calls, as a batch worker does.
class StateRenderer {
public:
    explicit StateRenderer(const StyleSource& styles);
    ~StateRenderer();
    StateRenderer(const StateRenderer&) = delete;
    StateRenderer& operator=(const StateRenderer&) = delete;

    // The states `which` of the button whose normal settings are `normal`,
    // at `scale` (1 to kMaxStateScale) device pixels per CSS pixel; a finer
    // set is cut to exactly `scale` times the 1x rectangles, taken from
    // `oneTimes` when the caller has drawn that set already. `withLayers` also keeps each picture
    // without its background, for files that remove it.
    StateSet Render(const ButtonSettings& normal, const ButtonStates& states,
                    std::span<const ButtonState> which, int scale, bool withLayers,
                    const StateSet* oneTimes = nullptr);

private:
    TaboraButton& ButtonAt(int scale);

    const StyleSource& styles_;
    std::array<std::unique_ptr<TaboraButton>, kMaxStateScale> buttons_;
};

// Draws the state-only touches of `delta` on a rendered button's pictures:
// the focus ring around the body, then the opacity. `layers` may be empty.
// Returns the box the ring covers (empty without one).
Rect DrawStateTouches(TaboraButton& button, const StateDelta& delta, ArgbImage& shown,
                      ArgbImage& layers);

}  // namespace tabora
