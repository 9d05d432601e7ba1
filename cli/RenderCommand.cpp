#include <cstdio>

#include <nlohmann/json.hpp>

#include "cli/CliError.h"
#include "cli/Commands.h"
#include "cli/JsonFile.h"
#include "cli/SettingsPatch.h"
#include "imaging/Formats.h"
#include "platform/Error.h"
#include "platform/File.h"
#include "platform/Fonts.h"
#include "platform/Utf8.h"
#include "render/TaboraButton.h"

namespace tabora::cli {

namespace {

// The command-line options as a patch, each checked with its own name.
SettingsPatch PatchFromOptions(const RenderArgs& a) {
    SettingsPatch p;
    if (a.style) p.styleNumber = int16_t(ParseInteger(*a.style, "--style", 0, kLastStyle));
    if (a.caption) p.caption = CheckText(*a.caption, "--caption");
    if (a.font) p.fontName = CheckText(*a.font, "--font");
    if (a.fontSize) p.fontSize = int16_t(ParseInteger(*a.fontSize, "--font-size", kMinFontPoints, kMaxFontPoints));
    if (a.bold) p.bold = true;
    if (a.italic) p.italic = true;
    if (a.textColor) p.textColor = ParseWebColor(*a.textColor, "--text-color");
    if (a.background) p.backgroundColor = ParseWebColor(*a.background, "--background");
    if (a.hue) p.hueShift = int32_t(ParseInteger(*a.hue, "--hue", 0, kMaxHueShift));
    if (a.brightness) {
        p.brightness = int32_t(ParseInteger(*a.brightness, "--brightness", -kMaxBrightness, kMaxBrightness));
    }
    if (a.shadow || a.noShadow) p.shadow = a.shadow;
    if (a.textShadow || a.noTextShadow) p.textShadow = a.textShadow;
    if (a.antialias || a.noAntialias) p.antialias = a.antialias;
    if (a.offset) p.textOffset = ParseOffset(*a.offset, "--offset");
    if (a.removeBackground) p.removeBackground = true;
    if (a.includeShadowArea) p.includeShadowArea = true;
    if (a.quality) p.jpegQuality = int16_t(ParseInteger(*a.quality, "--quality", 0, kMaxQuality));
    return p;
}

}  // namespace

int RunRender(const RenderArgs& args) {
    // The name is checked before anything is read or drawn.
    if (!FindFormat(ExtensionOf(args.output))) {
        throw UsageError("-o: the file name must have the extension " + SupportedExtensions() +
                         ", in any case (got \"" + args.output + "\")");
    }
    const SettingsPatch options = PatchFromOptions(args);
    // A caption named on the command line starts the font lookup at once, in
    // parallel with the rest; without one no font is looked up at all.
    if (options.caption && !options.caption->empty()) PrewarmFonts(options.fontName.value_or("Arial"));

    TaboraButton button;
    ButtonSettings base = button.settings();
    if (!args.fromFile.empty()) {
        if (!OpenButton(button, args.fromFile)) {
            PrintError(args.fromFile + " carries no button settings");
            return kExitFailure;
        }
        base = button.settings();
    }
    SettingsPatch patch;
    if (!args.settingsFile.empty()) {
        patch = PatchFromJson(ReadJsonFile(args.settingsFile), args.settingsFile);
    }
    patch.Merge(options);
    // --size replaces the file's size; its range depends on the style, so it
    // is checked once the style is known.
    if (args.size) patch.buttonSize.reset();
    ButtonSettings settings = Resolve(base, patch, button, args.settingsFile + ": \"buttonSize\"");
    if (args.size)
        settings.buttonSize = ParseButtonSize(*args.size, "--size", settings.styleNumber, button);
    ApplySettings(button, settings);
    SaveButton(button, args.output, false);
    const std::string warning = MissingCharactersWarning(button.MissingCaptionCharacters());
    if (!warning.empty()) PrintWarning(args.output + ": " + warning);
    return kExitOk;
}

std::string MissingCharactersWarning(const std::vector<char32_t>& missing) {
    if (missing.empty()) return {};
    std::string names;
    for (char32_t cp : missing) {
        if (!names.empty()) names += ", ";
        names += '"';
        AppendUtf8(names, cp);
        names += "\" (" + CodePointName(cp) + ")";
    }
    return "no installed font has " + names + (missing.size() == 1 ? "; it is" : "; they are") +
           " drawn as a box";
}

}  // namespace tabora::cli
