#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/StyleSheet.h"

namespace tabora::cli {

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
// The style sheet and what it shares with the page live beside the state
// files, so the window writes the same sheet.
using tabora::ButtonCss;
using tabora::ClassNameFor;
using tabora::UrlPath;
using tabora::WebButton;

// One line of the HTML fragment for a button, addresses relative to the
// folder of `htmlPath`: an <img> as before; inside <a> with an href; and, for
// a button whose states the style sheet draws, a link of its class with the
// alt text as its words.
std::string ButtonHtml(const WebButton& button, const std::string& htmlPath, bool styled);

}  // namespace tabora::cli
