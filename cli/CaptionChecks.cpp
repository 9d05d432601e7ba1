#include "cli/CaptionChecks.h"

#include <algorithm>
#include <cstdio>

#include "render/Contrast.h"
#include "render/StatePictures.h"
#include "render/TaboraButton.h"

namespace tabora::cli {

namespace {

CaptionCheck Check(const ButtonSettings& s, int32_t overflow, double backdrop) {
    CaptionCheck check;
    check.overflow = overflow;
    if (backdrop >= 0) {
        check.contrast = ContrastRatio(ColorLuminance(s.textColor), backdrop);
        check.required = RequiredContrast(s.fontSize, (s.fontStyle & kFontBold) != 0);
    }
    return check;
}

std::string Ratio(double ratio) {
    char text[16];
    // Shown rounded down, so a ratio just short of the mark never reads as
    // reaching it.
    std::snprintf(text, sizeof text, "%.1f:1", double(int(ratio * 10)) / 10);
    return text;
}

std::string Pixels(int32_t n) { return std::to_string(n) + (n == 1 ? " pixel" : " pixels"); }

}  // namespace

CaptionCheck CheckButton(TaboraButton& button) {
    return Check(button.settings(), button.CaptionOverflow(), button.CaptionBackdropLuminance());
}

CaptionCheck CheckState(const StatePicture& picture) {
    CaptionCheck check =
        Check(picture.settings, picture.captionOverflow, picture.backdropLuminance);
    check.state = picture.state;
    return check;
}

int32_t WorstOverflow(const std::vector<CaptionCheck>& checks) {
    int32_t worst = 0;
    for (const CaptionCheck& c : checks) worst = std::max(worst, c.overflow);
    return worst;
}

std::vector<std::string> CaptionWarnings(const std::vector<CaptionCheck>& checks) {
    std::vector<std::string> warnings;
    // One line for the states whose caption runs past, with the worst.
    std::string states;
    int32_t worst = 0;
    for (const CaptionCheck& c : checks) {
        if (c.overflow <= 0) continue;
        worst = std::max(worst, c.overflow);
        if (c.state) states += (states.empty() ? "" : ", ") + std::string(StateName(*c.state));
    }
    if (worst > 0) {
        warnings.push_back("the caption runs " + Pixels(worst) + " past its body" +
                           (states.empty() ? "" : " (" + states + ")"));
    }
    auto in = [](const CaptionCheck& c) {
        return c.state ? std::string(" (") + StateName(*c.state) + ")" : std::string();
    };
    // One line for every state that reads badly. A disabled button is meant
    // to recede, and the measure leaves it out.
    std::string low;
    double required = 0;
    for (const CaptionCheck& c : checks) {
        if (c.state == ButtonState::Disabled || c.contrast <= 0 || c.contrast >= c.required) continue;
        low += (low.empty() ? "" : ", ") + Ratio(c.contrast) + in(c);
        required = std::max(required, c.required);
    }
    if (!low.empty()) {
        warnings.push_back("the caption's contrast is " + low + ", below the " + Ratio(required) +
                           " it needs");
    }
    return warnings;
}

std::string OverflowError(int32_t overflow) {
    return "the caption runs " + Pixels(overflow) + " past its body; nothing was written (--strict)";
}

}  // namespace tabora::cli
