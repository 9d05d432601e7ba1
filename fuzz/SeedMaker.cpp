// Writes the seed corpora of the fuzz targets from files this program makes
// itself: buttons exported in every format, settings payloads of every
// version, style resources, hex text and settings JSON. Run at build time:
//   tabora-fuzz-seeds OUT_DIR      (one folder per target below OUT_DIR)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/SettingsPatch.h"
#include "imaging/ButtonFile.h"
#include "io/ButtonData.h"
#include "io/ButtonStates.h"
#include "io/Hex.h"
#include "io/MacStream.h"
#include "platform/Resources.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "styles/ScaledArt.h"

#include <nlohmann/json.hpp>

using namespace tabora;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

void Save(const fs::path& folder, const std::string& name, const void* data, size_t size) {
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), std::streamsize(size));
    if (!out) throw std::runtime_error("cannot write " + (folder / name).string());
}
void Save(const fs::path& folder, const std::string& name, const Bytes& bytes) {
    Save(folder, name, bytes.data(), bytes.size());
}

// The first catalogue styles that have data.
std::vector<int16_t> SomeStyles(size_t count) {
    std::vector<int16_t> styles;
    for (int32_t n = 1; n <= Archive::kEntryCount && styles.size() < count; ++n) {
        if (GetArchive().HasStyleData(n)) styles.push_back(int16_t(n));
    }
    return styles;
}

// A few buttons far apart from each other: every flag both ways, a caption
// long enough to split the GIF comment, no style at all.
void Design(TaboraButton& b, int which, const std::vector<int16_t>& styles) {
    const int16_t style = styles.empty() ? 0 : styles[size_t(which) % styles.size()];
    switch (which) {
    case 0:
        b.SetStyleNumber(style);
        b.SetCaption("Home");
        break;
    case 1:
        b.SetStyleNumber(style);
        b.SetButtonSize(b.DefaultButtonSize() + 30);
        b.SetHueShift(1500);
        b.SetBrightness(-60);
        b.SetBackgroundColor(MakeColor(20, 60, 120));
        b.SetTextColor(MakeColor(250, 240, 0));
        b.SetFontName("DejaVu Sans");
        b.SetFontSize(9);
        b.SetFontStyle(kFontBold | kFontItalic);
        b.SetCaption("A caption long enough that its hex text needs several GIF sub-blocks, "
                     "with \xC3\xA9t\xC3\xA9 and \xE2\x82\xAC in it");
        b.SetTextOffset({3, -2});
        b.SetAntialias(true);
        b.SetTextShadow(false);
        b.SetRemoveBackground(true);
        b.SetIncludeShadowArea(true);
        b.SetJpegQuality(40);
        break;
    default:
        // No style, no caption: the smallest export.
        b.SetShadow(false);
        b.SetJpegQuality(1);
        break;
    }
}

Bytes Payload(const TaboraButton& b) {
    PtrMacStream s;
    WriteSettings(s, b.settings());
    return Bytes(s.Data(), s.Data() + s.Length());
}

// The payload as an older version wrote it: the same fields, cut where that
// version ended.
Bytes OlderPayload(Bytes payload, int16_t version) {
    const size_t dropped = version == 0x0100 ? 12 : version == 0x0101 ? 6 : 2;
    payload.resize(payload.size() - dropped);
    payload[0] = uint8_t(version >> 8);
    payload[1] = uint8_t(version);
    return payload;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tabora-fuzz-seeds OUT_DIR\n");
        return 2;
    }
    const fs::path out = argv[1];
    try {
        const std::vector<int16_t> styles = SomeStyles(3);
        for (int which = 0; which < 3; ++which) {
            TaboraButton b(GetArchive());
            Design(b, which, styles);
            const std::string tag = "design" + std::to_string(which);
            for (const FormatEntry& format : Formats()) {
                PtrMacStream file;
                ExportButton(b, format, file);
                Save(out / ("import_" + std::string(format.name)), tag + "." + format.extension,
                     file.Data(), file.Length());
            }
            const Bytes payload = Payload(b);
            Save(out / "read_settings", tag + "-v0103", payload);
            for (int16_t version : {int16_t(0x0100), int16_t(0x0101), int16_t(0x0102)}) {
                char name[32];
                std::snprintf(name, sizeof name, "-v%04X", unsigned(version));
                Save(out / "read_settings", tag + name, OlderPayload(payload, version));
            }
            // The same button with states of its own (version 0x0104).
            ButtonStates states;
            StateDelta hover;
            hover.patch.Set(FieldNamed("brightness"), int32_t(which * 40));
            hover.patch.Set(FieldNamed("caption"), std::string("Hover"));
            hover.focusRing = MakeColor(255, 0, 0);
            states.SetCustom(ButtonState::Hover, hover);
            StateDelta disabled;
            disabled.opacity = 30;
            states.SetCustom(ButtonState::Disabled, disabled);
            PtrMacStream stated;
            WriteSettings(stated, b.settings(), states);
            Save(out / "read_settings", tag + "-v0104", stated.Data(), stated.Length());
            const std::string hex = HexEncode(payload.data(), payload.size());
            Save(out / "hex_decode", tag, hex.data(), hex.size());
            const std::string json = cli::SettingsToJson(b.settings(), 0x0103, "png").dump(1);
            Save(out / "settings_json", tag + ".json", json.data(), json.size());
        }
        const std::string lower = "0aFF";
        Save(out / "hex_decode", "lower-case", lower.data(), lower.size());
        const std::string patch = R"({"styleNumber": 0, "caption": "OK", "textOffset": {"x": -4}})";
        Save(out / "settings_json", "patch.json", patch.data(), patch.size());

        // Style resources as the program carries them, and a tiny one of
        // each version.
        for (int16_t n : styles) {
            const ResourceBytes bytes =
                Resources().FindRaw(Archive::kStyleResourceBase + GetArchive().Entry(n)->resourceNumber);
            Save(out / "read_style", "style" + std::to_string(n), bytes.data(), bytes.size());
        }
        ArgbImage tiny(3, 2);
        for (int32_t i = 0; i < 6; ++i) tiny.Pixels()[i] = MakePixel(uint8_t(40 * i), 200, 100, uint8_t(i));
        PtrMacStream style;
        Archive::WriteStyle(style, tiny, 4, 1);
        Bytes current(style.Data(), style.Data() + style.Length());
        Save(out / "read_style", "tiny-v0102", current);
        Bytes old(current.begin(), current.end() - 4);
        old[1] = 0x01;
        Save(out / "read_style", "tiny-v0101", old);

        // The same styles and a few interface pictures at 2x and 3x, and a
        // tiny picture of each kind.
        for (int scale : {2, 3}) {
            const std::string at = "@" + std::to_string(scale) + "x";
            for (int16_t n : styles) {
                const ResourceBytes bytes = Resources().FindRaw(
                    Archive::kStyleResourceBase + GetArchive().Entry(n)->resourceNumber, scale);
                Save(out / "read_scaled_art", "style" + std::to_string(n) + at, bytes.data(),
                     bytes.size());
            }
            for (const char* name : {"hue", "orange1i", "ttype"}) {
                const ResourceBytes bytes = Resources().FindPicture(name, scale);
                Save(out / "read_scaled_art", name + at, bytes.data(), bytes.size());
            }
            ArgbImage small(2 * scale, scale);
            for (int32_t i = 0; i < 2 * scale * scale; ++i)
                small.Pixels()[i] = MakePixel(uint8_t(i), 9, 8, 7);
            Save(out / "read_scaled_art", "tiny-style" + at,
                 WriteScaledStyle(small, scale, 3, int16_t(scale)));
            Save(out / "read_scaled_art", "tiny-picture" + at, WriteScaledPicture(small, scale));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tabora-fuzz-seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
