#include "tools/artgen/PictureText.h"

#include <cmath>
#include <map>
#include <memory>
#include <stdexcept>
#include <tuple>

#include "platform/Fonts.h"

namespace tabora::art {

namespace {

Font& FontFor(const TextStyle& style) {
    using Key = std::tuple<std::string, int, bool>;
    static std::map<Key, std::unique_ptr<Font>> cache;
    Key key{style.face, style.pixels, style.bold};
    auto it = cache.find(key);
    if (it == cache.end()) {
        FontRecord record;
        record.height = -style.pixels;
        record.weight = style.bold ? 700 : 400;
        record.faceName = style.face;
        auto font = Font::Create(record);
        // A substitute face would change every label's metrics without a word:
        // the pictures are made with the fonts the setup script installs.
        if (font->FamilyName() != style.face)
            throw std::runtime_error(std::string("font not installed: ") + style.face);
        it = cache.emplace(key, std::move(font)).first;
    }
    return *it->second;
}

}  // namespace

TextStyle Scaled(const TextStyle& style, int scale) {
    return {style.face, style.pixels * scale, style.bold};
}

int TextWidth(const TextStyle& style, std::string_view text) {
    return FontFor(style).Extent(text).cx;
}

int TextWidth(const TextStyle& style, std::string_view text, int scale) {
    return FontFor(Scaled(style, scale)).Extent(text).cx;
}

int LineHeight(const TextStyle& style) { return FontFor(style).Extent("Ag").cy; }

void DrawText(Coverage& target, const TextStyle& style, std::string_view text, int x, int y) {
    const int k = target.Scale();
    Font& font = FontFor(Scaled(style, k));
    const TextExtent extent = font.Extent(text);
    x *= k;
    y *= k;
    std::vector<uint8_t> bytes(size_t(target.Width()) * size_t(target.Height()), 0);
    CoverageView view{bytes.data(), target.Width(), target.Height(), target.Width()};
    font.DrawCoverage(text, {x, y, x + extent.cx, y + extent.cy}, view, true);
    for (int py = 0; py < target.Height(); ++py)
        for (int px = 0; px < target.Width(); ++px) {
            const float c = float(bytes[size_t(py) * size_t(target.Width()) + size_t(px)]) / 255.0f;
            target.At(px, py) = std::max(target.At(px, py), c);
        }
}

void DrawTextCentred(Coverage& target, const TextStyle& style, std::string_view text, float cx,
                     float cy) {
    // A cell with room for a finer font's slightly different metrics.
    const int k = target.Scale();
    Coverage scratch({TextWidth(style, text) + 4, LineHeight(style) + 4, k});
    DrawText(scratch, style, text, 2, 2);
    const Rect ink = scratch.Ink(0.25f);
    if (ink.IsEmpty()) return;
    const int dx = int(std::lround(cx * float(k) - float(ink.left + ink.right) * 0.5f));
    const int dy = int(std::lround(cy * float(k) - float(ink.top + ink.bottom) * 0.5f));
    for (int y = 0; y < scratch.Height(); ++y)
        for (int x = 0; x < scratch.Width(); ++x) {
            const int tx = x + dx, ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= target.Width() || ty >= target.Height()) continue;
            target.At(tx, ty) = std::max(target.At(tx, ty), scratch.Get(x, y));
        }
}

std::vector<std::string> WrapText(const TextStyle& style, std::string_view text, int width) {
    std::vector<std::string> lines;
    std::string line;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string word(text.substr(start, end - start));
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && TextWidth(style, candidate) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
        start = end + 1;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace tabora::art
