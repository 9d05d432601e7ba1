#pragma once
#include <optional>
#include <string>
#include <vector>

#include "io/ButtonStates.h"

namespace tabora {
class TaboraButton;
struct StatePicture;
}  // namespace tabora

namespace tabora::cli {

// What the checks before shipping found for one picture of a button.
struct CaptionCheck {
    std::optional<ButtonState> state;  // none for a button without states
    int32_t overflow = 0;              // pixels of caption beyond the body
    double contrast = 0;               // caption against what lies under it; 0 without caption
    double required = 0;               // what its size needs
};

// The checks of a rendered button, or of a state's picture.
CaptionCheck CheckButton(TaboraButton& button);
CaptionCheck CheckState(const StatePicture& picture);

// The largest overflow among the checks; 0 when every caption fits.
int32_t WorstOverflow(const std::vector<CaptionCheck>& checks);

// The warnings for one button, each without the button's name: "the caption
// runs 12 pixels past its body (hover)", "the caption's contrast is 2.1:1,
// below the 4.5:1 it needs (normal)".
std::vector<std::string> CaptionWarnings(const std::vector<CaptionCheck>& checks);

// The error --strict makes of an overflow.
std::string OverflowError(int32_t overflow);

}  // namespace tabora::cli
