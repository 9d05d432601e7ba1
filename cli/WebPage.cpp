#include "cli/WebPage.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>

#include "cli/CliError.h"
#include "imaging/StateFiles.h"
#include "platform/File.h"

namespace tabora::cli {

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool IsNameCharacter(unsigned char c) { return std::isalnum(c) || c == '-' || c == '_'; }

// `path` as an address relative to `folder`.
std::string RelativeUrl(const std::string& path, const fs::path& folder) {
    const fs::path target = fs::absolute(path).lexically_normal();
    return UrlPath(target.lexically_relative(folder).generic_string());
}

fs::path FolderOf(const std::string& file) {
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

std::string LinkAttributes(const WebButton& b) {
    std::string a;
    if (!b.href.empty()) a += " href=\"" + HtmlText(b.href) + "\"";
    if (!b.target.empty()) a += " target=\"" + HtmlText(b.target) + "\"";
    std::string rel = b.rel;
    // A page opened in a new tab must not reach back to this one.
    if (rel.empty() && b.target == "_blank") rel = "noopener";
    if (!rel.empty()) a += " rel=\"" + HtmlText(rel) + "\"";
    return a;
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

std::string HtmlText(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default:
                if (IsControl((unsigned char)c)) {
                    out += "&#" + std::to_string(int(c)) + ";";
                } else {
                    out += c;
                }
        }
    }
    return out;
}

bool IsStyleSheetName(const std::string& path) { return Lower(ExtensionOf(path)) == "css"; }

std::string CheckHref(const std::string& href, std::string_view what) {
    const std::string shown = std::string(what);
    if (std::any_of(href.begin(), href.end(), [](char c) { return IsControl((unsigned char)c); })) {
        throw UsageError(shown + " must not contain control characters");
    }
    // Browsers drop spaces around an address before they read its scheme.
    std::string trimmed = href;
    trimmed.erase(0, trimmed.find_first_not_of(' '));
    const size_t colon = trimmed.find(':');
    const size_t stop = trimmed.find_first_of("/?#");
    if (colon != std::string::npos && (stop == std::string::npos || colon < stop)) {
        const std::string scheme = Lower(trimmed.substr(0, colon));
        static const char* kSchemes[] = {"http", "https", "mailto", "tel"};
        if (std::find(std::begin(kSchemes), std::end(kSchemes), scheme) == std::end(kSchemes)) {
            throw UsageError(shown + " must be a relative address or use http, https, mailto or "
                                     "tel (got \"" + href + "\")");
        }
    }
    return href;
}

std::string CheckClassName(const std::string& name, std::string_view what) {
    const bool ok = !name.empty() &&
                    (std::isalpha((unsigned char)name[0]) || name[0] == '_') &&
                    std::all_of(name.begin(), name.end(),
                                [](char c) { return IsNameCharacter((unsigned char)c); });
    if (!ok) {
        throw UsageError(std::string(what) + " must start with a letter or \"_\" and hold only "
                         "letters, digits, \"-\" and \"_\" (got \"" + name + "\")");
    }
    return name;
}

std::string CheckTarget(const std::string& target, std::string_view what) {
    const bool ok = !target.empty() &&
                    (target == "_blank" || target == "_self" || target == "_parent" ||
                     target == "_top" ||
                     (target[0] != '_' &&
                      std::all_of(target.begin(), target.end(),
                                  [](char c) { return IsNameCharacter((unsigned char)c); })));
    if (!ok) {
        throw UsageError(std::string(what) + " must be _blank, _self, _parent, _top or a name of "
                         "letters, digits, \"-\" and \"_\" (got \"" + target + "\")");
    }
    return target;
}

std::string CheckRel(const std::string& rel, std::string_view what) {
    const bool ok = std::all_of(rel.begin(), rel.end(), [](char c) {
        return std::isalnum((unsigned char)c) || c == '-' || c == ' ';
    });
    if (!ok) {
        throw UsageError(std::string(what) + " must be words of letters, digits and \"-\" (got \"" +
                         rel + "\")");
    }
    return rel;
}

std::string ClassNameFor(const std::string& output) {
    std::string name = fs::path(output).stem().string();
    for (char& c : name) {
        if (!IsNameCharacter((unsigned char)c)) c = '-';
    }
    if (name.empty() || !std::isalpha((unsigned char)name[0])) name = "b-" + name;
    return name;
}

std::string ButtonCss(const std::vector<WebButton>& buttons, const std::string& cssPath) {
    const fs::path folder = FolderOf(cssPath);
    std::string css = "/* Buttons made by Tabora: one class per button, a rule per state. */\n";
    for (const WebButton& b : buttons) css += ButtonRules(b, folder);
    return css;
}

std::string ButtonHtml(const WebButton& b, const std::string& htmlPath, bool styled) {
    const fs::path folder = FolderOf(htmlPath);
    if (styled && !b.states.empty()) {
        // The picture is the link's background; its words are the alt text,
        // read out by screen readers and shown when pictures are off.
        const std::string focus = b.href.empty() ? " tabindex=\"0\" role=\"button\"" : "";
        return "<a class=\"" + HtmlText(b.className) + "\"" + LinkAttributes(b) + focus + ">" +
               HtmlText(b.alt) + "</a>\n";
    }
    std::string srcset;
    for (int scale : b.scales) {
        if (scale == 1) continue;
        srcset += (srcset.empty() ? "" : ", ") +
                  RelativeUrl(StateFileName(b.output, ButtonState::Normal, scale), folder) + " " +
                  std::to_string(scale) + "x";
    }
    std::string img = "<img src=\"" + HtmlText(RelativeUrl(b.output, folder)) + "\"" +
                      (srcset.empty() ? "" : " srcset=\"" + HtmlText(srcset) + "\"") + " alt=\"" +
                      HtmlText(b.alt) + "\" width=\"" + std::to_string(b.width) + "\" height=\"" +
                      std::to_string(b.height) + "\">";
    if (b.href.empty()) return img + "\n";
    return "<a" + LinkAttributes(b) + ">" + img + "</a>\n";
}

}  // namespace tabora::cli
