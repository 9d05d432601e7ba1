#include "imaging/PngOptimizer.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "imaging/PngChunks.h"
#include "platform/Error.h"

namespace tabora {

namespace {

const char kWriteError[] = "error writing PNG file";

constexpr uint8_t kGrey = kPngGrey, kRgb = kPngRgb, kIndexed = kPngIndexed,
                  kGreyAlpha = kPngGreyAlpha, kRgbAlpha = kPngRgbAlpha;
constexpr size_t kMaxPaletteColours = 256;

// The row filters: none, sub, up, average, Paeth; and the adaptive choice
// per row (the smallest sum of the filtered bytes taken as signed).
constexpr int kFilterTypes = 5;
constexpr int kAdaptive = kFilterTypes;
// Deflate's window, and its memory for the match search: on our buttons the
// default memory finds matches as good as the most, often better.
constexpr int kWindowBits = 15;
constexpr int kMemLevel = 8;
// How many of the best filter strategies are tried again with deflate's
// other strategies.
constexpr size_t kSecondTrials = 2;

using Bytes = std::vector<uint8_t>;

// A pixel as the file's bytes: red, green, blue, alpha from the low byte up.
uint32_t Packed(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16) | (uint32_t(a) << 24);
}
uint8_t R(uint32_t p) { return uint8_t(p); }
uint8_t G(uint32_t p) { return uint8_t(p >> 8); }
uint8_t B(uint32_t p) { return uint8_t(p >> 16); }
uint8_t A(uint32_t p) { return uint8_t(p >> 24); }

// One way to store the picture: the header's colour type and depth, the
// palette when indexed, and the unfiltered rows.
struct Layout {
    uint8_t colourType = kRgbAlpha;
    uint8_t bitDepth = 8;
    std::vector<uint32_t> palette;
    size_t rowBytes = 0;
    size_t filterStep = 4;  // bytes per pixel, at least 1, for the filters
    Bytes rows;
};

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels;
    bool opaque = true;
    bool grey = true;
};

Picture Gather(const ArgbImage& image, Rect r, bool keepAlpha) {
    Picture p;
    p.width = uint32_t(r.Width());
    p.height = uint32_t(r.Height());
    p.pixels.reserve(size_t(p.width) * p.height);
    for (int32_t y = r.top; y < r.bottom; ++y) {
        const uint32_t* src = image.Pixels() + size_t(y) * size_t(image.Width());
        for (int32_t x = r.left; x < r.right; ++x) {
            const uint32_t s = src[x];
            const uint8_t a = keepAlpha ? PixelAlpha(s) : 255;
            const uint32_t q = Packed(PixelRed(s), PixelGreen(s), PixelBlue(s), a);
            p.opaque = p.opaque && a == 255;
            p.grey = p.grey && R(q) == G(q) && G(q) == B(q);
            p.pixels.push_back(q);
        }
    }
    return p;
}

// The palette of a picture of at most 256 colours: the partly transparent
// entries first (so the transparency chunk is as short as it can be), each
// group in the order of first appearance. Empty when there are more.
std::vector<uint32_t> PaletteOf(const Picture& p) {
    std::unordered_map<uint32_t, bool> seen;
    std::vector<uint32_t> translucent, opaque;
    for (uint32_t q : p.pixels) {
        if (!seen.emplace(q, true).second) continue;
        if (seen.size() > kMaxPaletteColours) return {};
        (A(q) == 255 ? opaque : translucent).push_back(q);
    }
    translucent.insert(translucent.end(), opaque.begin(), opaque.end());
    return translucent;
}

// Weighted as the eye weighs the primaries, alpha last.
uint32_t Brightness(uint32_t q) {
    return (299u * R(q) + 587u * G(q) + 114u * B(q)) * 256u + A(q);
}

Layout Indexed(const Picture& p, std::vector<uint32_t> palette) {
    Layout layout;
    layout.colourType = kIndexed;
    const size_t n = palette.size();
    layout.bitDepth = n <= 2 ? 1 : n <= 4 ? 2 : n <= 16 ? 4 : 8;
    layout.filterStep = 1;
    layout.rowBytes = (size_t(p.width) * layout.bitDepth + 7) / 8;
    std::unordered_map<uint32_t, uint8_t> index;
    for (size_t i = 0; i < n; ++i) index[palette[i]] = uint8_t(i);
    layout.palette = std::move(palette);
    layout.rows.assign(layout.rowBytes * p.height, 0);
    const int perByte = 8 / layout.bitDepth;
    for (uint32_t y = 0; y < p.height; ++y) {
        uint8_t* row = layout.rows.data() + size_t(y) * layout.rowBytes;
        for (uint32_t x = 0; x < p.width; ++x) {
            const uint8_t i = index[p.pixels[size_t(y) * p.width + x]];
            // The leftmost pixel in the highest bits.
            const int shift = 8 - layout.bitDepth * (int(x % uint32_t(perByte)) + 1);
            row[x / uint32_t(perByte)] |= uint8_t(i << shift);
        }
    }
    return layout;
}

// Grey, grey with alpha, RGB or RGBA: whichever holds every pixel exactly.
Layout Direct(const Picture& p) {
    Layout layout;
    layout.colourType = p.grey ? (p.opaque ? kGrey : kGreyAlpha) : (p.opaque ? kRgb : kRgbAlpha);
    layout.filterStep = size_t(p.grey ? 1 : 3) + (p.opaque ? 0 : 1);
    layout.rowBytes = layout.filterStep * p.width;
    layout.rows.reserve(layout.rowBytes * p.height);
    for (uint32_t q : p.pixels) {
        layout.rows.push_back(R(q));
        if (!p.grey) {
            layout.rows.push_back(G(q));
            layout.rows.push_back(B(q));
        }
        if (!p.opaque) layout.rows.push_back(A(q));
    }
    return layout;
}

uint8_t PaethPredictor(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return uint8_t(a);
    return pb <= pc ? uint8_t(b) : uint8_t(c);
}

void FilterRow(int type, const uint8_t* row, const uint8_t* prior, size_t count, size_t step,
               uint8_t* out) {
    for (size_t i = 0; i < count; ++i) {
        const int a = i >= step ? row[i - step] : 0;
        const int b = prior ? prior[i] : 0;
        const int c = prior && i >= step ? prior[i - step] : 0;
        int predicted = 0;
        switch (type) {
        case 1: predicted = a; break;
        case 2: predicted = b; break;
        case 3: predicted = (a + b) / 2; break;
        case 4: predicted = PaethPredictor(a, b, c); break;
        default: break;
        }
        out[i] = uint8_t(row[i] - predicted);
    }
}

// The rows as the image data holds them: each behind its filter type byte.
Bytes Filtered(const Layout& layout, uint32_t height, int strategy) {
    const size_t n = layout.rowBytes;
    Bytes out((n + 1) * height);
    Bytes trial(n);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = layout.rows.data() + size_t(y) * n;
        const uint8_t* prior = y > 0 ? row - n : nullptr;
        uint8_t* dest = out.data() + size_t(y) * (n + 1);
        int type = strategy;
        if (strategy == kAdaptive) {
            uint64_t best = UINT64_MAX;
            for (int t = 0; t < kFilterTypes; ++t) {
                FilterRow(t, row, prior, n, layout.filterStep, trial.data());
                uint64_t sum = 0;
                for (uint8_t v : trial) sum += uint64_t(v < 128 ? v : 256 - v);
                if (sum < best) {
                    best = sum;
                    type = t;
                }
            }
        }
        dest[0] = uint8_t(type);
        FilterRow(type, row, prior, n, layout.filterStep, dest + 1);
    }
    return out;
}

// zlib at its strongest level and largest window.
Bytes Deflate(const Bytes& data, int strategy) {
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, kWindowBits, kMemLevel, strategy) != Z_OK)
        throw TaboraError(kWriteError);
    Bytes out(deflateBound(&z, uLong(data.size())));
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = uInt(data.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    const int status = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (status != Z_STREAM_END) throw TaboraError(kWriteError);
    return out;
}

// The smallest image data of a layout: every filter strategy deflated with
// the default strategy, then the two best also with the strategies for
// filtered data and for runs (on our buttons other trials never win).
Bytes SmallestData(const Layout& layout, uint32_t height) {
    struct Trial {
        Bytes filtered;
        Bytes data;
    };
    std::vector<Trial> trials;
    for (int filter = 0; filter <= kAdaptive; ++filter) {
        Bytes filtered = Filtered(layout, height, filter);
        Bytes data = Deflate(filtered, Z_DEFAULT_STRATEGY);
        trials.push_back({std::move(filtered), std::move(data)});
    }
    std::stable_sort(trials.begin(), trials.end(), [](const Trial& a, const Trial& b) {
        return a.data.size() < b.data.size();
    });
    Bytes best = std::move(trials[0].data);
    for (size_t i = 0; i < kSecondTrials && i < trials.size(); ++i) {
        for (int strategy : {Z_FILTERED, Z_RLE}) {
            Bytes data = Deflate(trials[i].filtered, strategy);
            if (data.size() < best.size()) best = std::move(data);
        }
    }
    return best;
}

// Everything but the image data, whose size decides between the layouts.
Bytes Head(const Layout& layout, const Picture& p, std::string_view keyword,
           std::string_view text) {
    Bytes file = PngHead(p.width, p.height, layout.bitDepth, layout.colourType, keyword, text);
    if (layout.colourType == kIndexed) {
        Bytes colours, alphas;
        for (uint32_t q : layout.palette) {
            colours.insert(colours.end(), {R(q), G(q), B(q)});
            if (A(q) != 255) alphas.push_back(A(q));
        }
        AppendChunk(file, "PLTE", colours);
        if (!alphas.empty()) AppendChunk(file, "tRNS", alphas);
    }
    return file;
}

}  // namespace

void WriteSmallestPng(const ArgbImage& image, MacStream& out, bool keepAlpha, Rect rect,
                      std::string_view keyword, std::string_view text) {
    const Rect r = rect.Intersect(image.Extent());
    if (r.IsEmpty()) throw TaboraError(kWriteError);
    const Picture picture = Gather(image, r, keepAlpha);

    std::vector<Layout> layouts;
    if (std::vector<uint32_t> palette = PaletteOf(picture); !palette.empty()) {
        layouts.push_back(Indexed(picture, palette));
        // The same colours by brightness: neighbouring pixels of a smooth
        // body then get neighbouring indices, which the row filters predict.
        std::stable_sort(palette.begin(), palette.end(), [](uint32_t a, uint32_t b) {
            const bool ta = A(a) != 255, tb = A(b) != 255;
            if (ta != tb) return ta;
            return Brightness(a) < Brightness(b);
        });
        layouts.push_back(Indexed(picture, std::move(palette)));
    }
    layouts.push_back(Direct(picture));

    Bytes best;
    for (const Layout& layout : layouts) {
        Bytes file = Head(layout, picture, keyword, text);
        AppendChunk(file, "IDAT", SmallestData(layout, picture.height));
        AppendChunk(file, "IEND", {});
        if (best.empty() || file.size() < best.size()) best = std::move(file);
    }
    out.Write(best.data(), uint32_t(best.size()));
}

}  // namespace tabora
