#include "cli/WebPage.h"

#include <algorithm>
#include <cctype>

#include "cli/CliError.h"
#include "imaging/StateFiles.h"
#include "platform/File.h"

namespace tabora::cli {

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool IsNameCharacter(unsigned char c) { return std::isalnum(c) || c == '-' || c == '_'; }

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

std::string ButtonHtml(const WebButton& b, const std::string& htmlPath, bool styled) {
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
                  UrlFrom(htmlPath, StateFileName(b.output, ButtonState::Normal, scale)) + " " +
                  std::to_string(scale) + "x";
    }
    std::string img = "<img src=\"" + HtmlText(UrlFrom(htmlPath, b.output)) + "\"" +
                      (srcset.empty() ? "" : " srcset=\"" + HtmlText(srcset) + "\"") + " alt=\"" +
                      HtmlText(b.alt) + "\" width=\"" + std::to_string(b.width) + "\" height=\"" +
                      std::to_string(b.height) + "\">";
    if (b.href.empty()) return img + "\n";
    return "<a" + LinkAttributes(b) + ">" + img + "</a>\n";
}

}  // namespace tabora::cli
