#include "tools/artgen/PalettePng.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <unordered_map>

namespace tabora::art {

namespace {

constexpr size_t kMaxColours = 256;

struct Entry {
    uint32_t rgb;
    uint32_t count;
};

int Channel(uint32_t rgb, int c) { return int((rgb >> (16 - 8 * c)) & 0xFF); }

// A box of colours: how far its colours stray from their mean (the sum of
// squared distances, weighted by the pixels of each), and the channel along
// which they stray most. The box that strays most is split next, so smooth
// gradients of many pixels get their share of the palette.
struct Box {
    size_t begin, end;
    int axis = 0;
    double error = 0;
    void Measure(const std::vector<Entry>& entries) {
        double n = 0, sum[3] = {}, squares[3] = {};
        for (size_t i = begin; i < end; ++i) {
            const double w = entries[i].count;
            n += w;
            for (int c = 0; c < 3; ++c) {
                const double v = Channel(entries[i].rgb, c);
                sum[c] += w * v;
                squares[c] += w * v * v;
            }
        }
        error = 0;
        double widest = -1;
        for (int c = 0; c < 3; ++c) {
            const double spread = squares[c] - sum[c] * sum[c] / n;
            error += spread;
            if (spread > widest) widest = spread, axis = c;
        }
    }
    double Priority() const { return end - begin < 2 ? -1 : error; }
};

std::vector<uint32_t> MedianCut(std::vector<Entry>& entries) {
    std::vector<Box> boxes{{0, entries.size()}};
    boxes[0].Measure(entries);
    while (boxes.size() < kMaxColours) {
        auto it = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
            return a.Priority() < b.Priority();
        });
        if (it->Priority() < 0) break;
        Box box = *it;
        std::sort(entries.begin() + long(box.begin), entries.begin() + long(box.end),
                  [&](const Entry& a, const Entry& b) {
                      const int ca = Channel(a.rgb, box.axis), cb = Channel(b.rgb, box.axis);
                      return ca != cb ? ca < cb : a.rgb < b.rgb;
                  });
        // Split where half the box's pixels lie on each side.
        uint64_t pixels = 0, seen = 0;
        for (size_t i = box.begin; i < box.end; ++i) pixels += entries[i].count;
        size_t cut = box.begin + 1;
        for (size_t i = box.begin; i + 1 < box.end; ++i) {
            seen += entries[i].count;
            cut = i + 1;
            if (seen * 2 >= pixels) break;
        }
        Box a{box.begin, cut}, b{cut, box.end};
        a.Measure(entries);
        b.Measure(entries);
        *it = a;
        boxes.push_back(b);
    }
    std::vector<uint32_t> palette;
    for (const Box& box : boxes) {
        double sum[3] = {}, n = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            for (int c = 0; c < 3; ++c) sum[c] += double(Channel(entries[i].rgb, c)) * entries[i].count;
            n += entries[i].count;
        }
        uint32_t rgb = 0;
        for (int c = 0; c < 3; ++c) rgb = rgb << 8 | uint32_t(sum[c] / n + 0.5);
        palette.push_back(rgb);
    }
    return palette;
}

uint8_t Nearest(const std::vector<uint32_t>& palette, uint32_t rgb) {
    int best = 0, bestDistance = 1 << 30;
    for (size_t i = 0; i < palette.size(); ++i) {
        int d = 0;
        for (int c = 0; c < 3; ++c) {
            const int e = Channel(palette[i], c) - Channel(rgb, c);
            d += e * e;
        }
        if (d < bestDistance) bestDistance = d, best = int(i);
    }
    return uint8_t(best);
}

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

}  // namespace

std::vector<uint8_t> PalettedPng(const ArgbImage& image) {
    const int32_t w = image.Width(), h = image.Height();
    auto rgbOf = [&](int32_t x, int32_t y) {
        const uint32_t p = image.At(x, y);
        return uint32_t(PixelRed(p)) << 16 | uint32_t(PixelGreen(p)) << 8 | PixelBlue(p);
    };
    std::unordered_map<uint32_t, uint32_t> counts;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) ++counts[rgbOf(x, y)];
    std::vector<Entry> entries;
    for (auto [rgb, n] : counts) entries.push_back({rgb, n});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.rgb < b.rgb; });
    const std::vector<uint32_t> palette = MedianCut(entries);
    std::unordered_map<uint32_t, uint8_t> index;
    for (const Entry& e : entries) index[e.rgb] = Nearest(palette, e.rgb);

    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot write a paletted review picture");
    }
    png_set_write_fn(png, &out, Append, nullptr);
    png_set_compression_level(png, 9);
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colours;
    for (uint32_t rgb : palette)
        colours.push_back({png_byte(rgb >> 16), png_byte(rgb >> 8), png_byte(rgb)});
    png_set_PLTE(png, info, colours.data(), int(colours.size()));
    png_write_info(png, info);
    std::vector<uint8_t> row(static_cast<size_t>(w));
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) row[size_t(x)] = index[rgbOf(x, y)];
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

}  // namespace tabora::art
