#include "imaging/StyleSheet.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>

#include "imaging/StateFiles.h"

namespace tabora {

namespace {

namespace fs = std::filesystem;

bool IsNameCharacter(unsigned char c) { return std::isalnum(c) || c == '-' || c == '_'; }

// `path` as an address relative to `folder`.
std::string RelativeUrl(const std::string& path, const fs::path& folder) {
    const fs::path target = fs::absolute(path).lexically_normal();
    return UrlPath(target.lexically_relative(folder).generic_string());
}

fs::path FolderOfFile(const std::string& file) {
    return fs::absolute(file).parent_path().lexically_normal();
}

std::string Px(int32_t value) { return value == 0 ? "0" : std::to_string(value) + "px"; }

// url("...") of a picture, and the image-set() of its scales when there is
// more than one.
struct Picture {
    std::string url;
    std::string set;
};

Picture PictureOf(const WebButton& button, const fs::path& folder,
                  const std::function<std::string(int)>& name) {
    Picture p;
    p.url = "url(\"" + RelativeUrl(name(1), folder) + "\")";
    if (button.scales.size() > 1) {
        for (int scale : button.scales) {
            if (!p.set.empty()) p.set += ",";
            p.set += "url(\"" + RelativeUrl(name(scale), folder) + "\") " +
                     std::to_string(scale) + "x";
        }
        p.set = "image-set(" + p.set + ")";
    }
    return p;
}

std::string BackgroundImage(const Picture& p) {
    std::string css = "background-image:" + p.url + ";";
    if (!p.set.empty()) {
        css += "background-image:-webkit-" + p.set + ";background-image:" + p.set + ";";
    }
    return css;
}

// The selector of a state's rule, or empty for normal.
std::string StateSelector(const std::string& cls, ButtonState state) {
    switch (state) {
    case ButtonState::Normal: return {};
    case ButtonState::Hover: return "." + cls + ":hover";
    case ButtonState::Active: return "." + cls + ":active";
    case ButtonState::Focus: return "." + cls + ":focus-visible";
    case ButtonState::Disabled:
        return "." + cls + ".disabled,." + cls + "[aria-disabled=\"true\"]";
    }
    return {};
}

// What a state's rule adds besides its picture.
std::string StateExtras(ButtonState state) {
    switch (state) {
    case ButtonState::Focus: return "outline:none;";  // the picture has its ring
    case ButtonState::Disabled: return "pointer-events:none;cursor:default;";
    default: return {};
    }
}

// Rules in the order the cascade needs: pressed wins over hovered, and
// disabled over everything.
constexpr ButtonState kRuleOrder[] = {ButtonState::Hover, ButtonState::Focus, ButtonState::Active,
                                      ButtonState::Disabled};

std::string ButtonRules(const WebButton& b, const fs::path& folder) {
    const std::string& cls = b.className;
    const int32_t rows = int32_t(b.states.size());
    std::string css = "." + cls + "{display:inline-block;width:" + Px(b.width) + ";height:" +
                      Px(b.height) + ";overflow:hidden;text-indent:100%;white-space:nowrap;"
                      "vertical-align:middle;background-repeat:no-repeat;background-size:" +
                      Px(b.width) + " " + Px(b.height * (b.sprite ? rows : 1)) + ";";
    // The sprite's rows, or each state's own file.
    auto picture = [&](ButtonState state) {
        return BackgroundImage(PictureOf(b, folder, [&](int scale) {
            return b.sprite ? SpriteFileName(b.output, scale) : StateFileName(b.output, state, scale);
        }));
    };
    css += picture(ButtonState::Normal) + "}\n";
    for (ButtonState state : kRuleOrder) {
        const auto at = std::find(b.states.begin(), b.states.end(), state);
        if (at == b.states.end()) continue;
        css += StateSelector(cls, state) + "{" + StateExtras(state);
        if (b.sprite) {
            css += "background-position:0 " + Px(-b.height * int32_t(at - b.states.begin())) + ";";
        } else {
            css += picture(state);
        }
        css += "}\n";
    }
    return css;
}

}  // namespace

std::string UrlPath(const std::string& path) {
    static const char* kHex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/' ||
            c == '@') {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string UrlFrom(const std::string& fromFile, const std::string& path) {
    return RelativeUrl(path, FolderOfFile(fromFile));
}

std::string ClassNameFor(const std::string& output) {
    std::string name = fs::path(output).stem().string();
    for (char& c : name) {
        if (!IsNameCharacter((unsigned char)c)) c = '-';
    }
    if (name.empty() || !std::isalpha((unsigned char)name[0])) name = "b-" + name;
    return name;
}

std::string StyleSheetPath(const std::string& path) {
    fs::path sheet(path);
    sheet.replace_extension(".css");
    return sheet.string();
}

std::string ButtonCss(const std::vector<WebButton>& buttons, const std::string& cssPath) {
    const fs::path folder = FolderOfFile(cssPath);
    std::string css = "/* Buttons made by Tabora: one class per button, a rule per state. */\n";
    for (const WebButton& b : buttons) css += ButtonRules(b, folder);
    return css;
}

}  // namespace tabora
