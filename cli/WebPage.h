#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "io/ButtonStates.h"

namespace tabora::cli {

// Percent-encodes what may not stand in a URL path as it is (quotes,
// brackets, spaces, anything outside ASCII letters, digits and "-._~/@").
std::string UrlPath(const std::string& path);
// Text for an HTML attribute value or element. Control characters (a newline
// in a caption) become character references, so each button stays one line.
std::string HtmlText(const std::string& text);

// Whether a name is one a style sheet may have: it ends in .css, in any case.
bool IsStyleSheetName(const std::string& path);

// A link target as given, checked: no control characters, and either a
// relative address or one of the schemes http, https, mailto and tel (so
// never "javascript:" or "data:", however spelt). Throws UsageError naming
// `what`.
std::string CheckHref(const std::string& href, std::string_view what);
// A class name as given, checked: an ASCII letter or "_" first, then
// letters, digits, "-" and "_". Throws UsageError naming `what`.
std::string CheckClassName(const std::string& name, std::string_view what);
// A link's target: "_blank", "_self", "_parent", "_top" or a name of letters,
// digits, "-" and "_". Throws UsageError naming `what`.
std::string CheckTarget(const std::string& target, std::string_view what);
// A link's rel: words of letters, digits and "-" separated by spaces.
std::string CheckRel(const std::string& rel, std::string_view what);
// The class of a button saved as `output` when none is given: its file name
// without folder or extension, other characters made "-", "b-" in front of
// one that does not start with a letter.
std::string ClassNameFor(const std::string& output);

// One button of a page: where its pictures are and what its link says.
struct WebButton {
    std::string output;  // the normal picture at 1x (its state files and sprite beside it)
    std::string className;
    std::string href;  // empty: no link
    std::string alt;
    std::string rel;
    std::string target;
    int32_t width = 0;  // CSS pixels
    int32_t height = 0;
    std::vector<ButtonState> states;  // the states written, in sprite order; empty: none
    bool sprite = false;
    bool files = true;        // a file per state
    std::vector<int> scales = {1};
};

// The style sheet: per button its class with size and picture, and a rule
// for each state written (:hover, :focus-visible, :active, and the disabled
// class and [aria-disabled="true"]); finer scales through image-set().
// Addresses are relative to the folder of `cssPath`.
std::string ButtonCss(const std::vector<WebButton>& buttons, const std::string& cssPath);

// One line of the HTML fragment for a button, addresses relative to the
// folder of `htmlPath`: an <img> as before; inside <a> with an href; and, for
// a button whose states the style sheet draws, a link of its class with the
// alt text as its words.
std::string ButtonHtml(const WebButton& button, const std::string& htmlPath, bool styled);

}  // namespace tabora::cli
