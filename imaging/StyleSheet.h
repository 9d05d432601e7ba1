#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "io/ButtonStates.h"

namespace tabora {

// Percent-encodes what may not stand in a URL path as it is (quotes,
// brackets, spaces, anything outside ASCII letters, digits and "-._~/@").
std::string UrlPath(const std::string& path);
// The address of `path` from the folder of the file `fromFile` (a page or a
// style sheet), percent-encoded.
std::string UrlFrom(const std::string& fromFile, const std::string& path);

// The class of a button saved as `output` when none is given: its file name
// without folder or extension, other characters made "-", "b-" in front of
// one that does not start with a letter.
std::string ClassNameFor(const std::string& output);

// The style sheet the window saves beside the button saved as `path`:
// "home.png" gives "home.css".
std::string StyleSheetPath(const std::string& path);

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
// Addresses are relative to the folder of `cssPath`. The command line and
// the window write the same sheet.
std::string ButtonCss(const std::vector<WebButton>& buttons, const std::string& cssPath);

}  // namespace tabora
