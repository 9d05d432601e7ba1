#include "io/ButtonData.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "io/ButtonStates.h"
#include "io/MacStream.h"

namespace tabora {

namespace {

// Windows-1252 0x80..0x9F; the five unassigned bytes map to the C1 controls
// of the same value, as the system's own conversion does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendCodePoint(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

bool IsContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

}  // namespace

bool IsValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        uint8_t b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        size_t len;
        uint32_t cp;
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            cp = b & 0x07;
        } else {
            return false;  // a stray continuation byte, C0/C1 or F5..FF
        }
        if (n - i < len) return false;
        for (size_t k = 1; k < len; ++k) {
            if (!IsContinuation(p[i + k])) return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if ((len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += len;
    }
    return true;
}

std::string_view CutUtf8(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = maxBytes;
    // Step back over the continuation bytes of a character cut in two.
    while (end > 0 && IsContinuation(uint8_t(text[end]))) --end;
    return text.substr(0, end);
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        uint8_t b = uint8_t(c);
        if (b >= 0x80 && b < 0xA0) {
            AppendCodePoint(out, kCp1252High[b - 0x80]);
        } else {
            AppendCodePoint(out, b);
        }
    }
    return out;
}

std::string SettingText(std::string_view text) {
    text = text.substr(0, std::min(text.size(), text.find('\0')));
    if (IsValidUtf8(text)) return std::string(CutUtf8(text, kMaxSettingText));
    std::string converted = Windows1252ToUtf8(text);
    return std::string(CutUtf8(converted, kMaxSettingText));
}

float SizeScale(int32_t buttonSize) {
    // Only a size below 0 could make the root undefined; the setters never
    // store one.
    double size = std::max(buttonSize, 0);
    return float(std::sqrt(size * 50.0) * 0.01);
}

int32_t SizeFromScale(float scale, int32_t lowest, int32_t highest) {
    double f = scale;  // widened before squaring: 20 comes back as 19
    double size = f * f * 200.0;
    if (std::isnan(size)) return kNaturalButtonSize;
    if (size <= double(lowest)) return lowest;
    if (size >= double(highest)) return highest;
    return int32_t(size);
}

std::vector<uint8_t> SignedBlock(std::span<const uint8_t> payload) {
    std::vector<uint8_t> block(4 + payload.size());
    for (int i = 0; i < 4; ++i) block[size_t(i)] = uint8_t(kBlockSignature >> (24 - 8 * i));
    std::copy(payload.begin(), payload.end(), block.begin() + 4);
    return block;
}

namespace {

void WriteFields(MacStream& stream, const ButtonSettings& s, int16_t version) {
    stream.WriteShort(version);
    stream.WriteShort(s.styleNumber);
    stream.WriteRGBColor(s.backgroundColor);
    stream.WriteLong(uint32_t(s.hueShift));
    stream.WriteLong(uint32_t(s.brightness));
    stream.WriteFloat(SizeScale(s.buttonSize));
    stream.WriteShort((s.shadow ? 1 : 0) | (s.antialias ? 2 : 0) | (s.textShadow ? 4 : 0));
    stream.WritePString(std::string(CutUtf8(s.fontName, kMaxSettingText)));
    stream.WriteShort(s.fontSize);
    stream.WriteShort(((s.fontStyle & kFontBold) ? 1 : 0) | ((s.fontStyle & kFontItalic) ? 2 : 0));
    stream.WritePString(std::string(CutUtf8(s.caption, kMaxSettingText)));
    stream.WritePoint(s.textOffset);
    stream.WriteRGBColor(s.textColor);
    stream.WriteShort(s.removeBackground ? 1 : 0);
    stream.WriteShort(s.jpegQuality);
    stream.WriteShort(0);  // reserved
    stream.WriteLong(uint32_t(s.buttonSize));
    stream.WriteShort(s.includeShadowArea ? 1 : 0);
}

}  // namespace

void WriteSettings(MacStream& stream, const ButtonSettings& settings) {
    WriteFields(stream, settings, kPayloadVersion);
}

void WriteSettings(MacStream& stream, const ButtonSettings& settings, const ButtonStates& states) {
    if (states.AllDefault()) return WriteSettings(stream, settings);
    WriteFields(stream, settings, kPayloadStates);
    WriteStateTable(stream, states);
}

std::optional<int> ReadSettings(MacStream& stream, ButtonSettings& settings) {
    // A stream that has already run dry cannot hold a payload, and its sticky
    // flag would hide whether ours did.
    if (stream.Truncated()) return std::nullopt;

    // Fields are read by "newer than" tests, so a version below 0x0100 reads
    // as 0x0100 and one above 0x0103 as 0x0103, a newer writer's additions
    // left unread.
    ButtonSettings s = settings;
    const int16_t version = stream.ReadShort();
    const int16_t styleNumber = stream.ReadShort();
    s.styleNumber = styleNumber < 0 || styleNumber > kLastStyleNumber ? int16_t(0) : styleNumber;
    s.backgroundColor = stream.ReadRGBColor();
    s.hueShift = std::clamp(stream.ReadLong(), 0, kMaxHueShift);
    s.brightness = std::clamp(stream.ReadLong(), -kMaxBrightness, kMaxBrightness);
    const float scale = stream.ReadFloat();
    const uint16_t flags = stream.ReadUShort();
    s.shadow = flags & 1;
    s.antialias = flags & 2;
    s.textShadow = flags & 4;
    char text[256];
    stream.ReadPString(text);
    s.fontName = SettingText(text);
    s.fontSize = int16_t(std::clamp<int32_t>(stream.ReadShort(), -kMaxFontPoints, kMaxFontPoints));
    const uint16_t fontFlags = stream.ReadUShort();
    s.fontStyle = ((fontFlags & 1) ? kFontBold : 0) | ((fontFlags & 2) ? kFontItalic : 0);
    stream.ReadPString(text);
    s.caption = SettingText(text);
    const Point offset = stream.ReadPoint();
    s.textOffset = {std::clamp(offset.x, -kMaxTextOffset, kMaxTextOffset),
                    std::clamp(offset.y, -kMaxTextOffset, kMaxTextOffset)};
    s.textColor = stream.ReadRGBColor();
    if (version > kPayloadFirstVersion) {
        s.removeBackground = stream.ReadShort() != 0;
        s.jpegQuality = int16_t(std::clamp<int32_t>(stream.ReadShort(), 0, kMaxJpegQuality));
        stream.ReadShort();  // reserved
    }
    if (version > kPayloadExportOptions) {
        s.buttonSize = std::clamp(stream.ReadLong(), kMinStoredButtonSize, kLargestButtonSize);
    } else {
        s.buttonSize = SizeFromScale(scale, kMinStoredButtonSize, kLargestButtonSize);
    }
    if (version > kPayloadExactSize) s.includeShadowArea = stream.ReadShort() != 0;
    if (stream.Truncated()) return std::nullopt;
    settings = std::move(s);
    return version;
}

std::optional<int> ReadSettings(MacStream& stream, ButtonSettings& settings, ButtonStates& states) {
    const std::optional<int> version = ReadSettings(stream, settings);
    states = ButtonStates{};
    if (version && *version >= kPayloadStates) {
        if (std::optional<ButtonStates> table = ReadStateTable(stream)) states = std::move(*table);
    }
    return version;
}

}  // namespace tabora
