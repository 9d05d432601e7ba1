#include <cstdio>

#include <nlohmann/json.hpp>

#include "cli/CliError.h"
#include "cli/Commands.h"
#include "cli/JsonFile.h"
#include "cli/Scales.h"
#include "cli/SettingsPatch.h"
#include "imaging/ButtonFile.h"
#include "platform/Error.h"
#include "platform/File.h"
#include "platform/Fonts.h"
#include "platform/Utf8.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

namespace tabora::cli {

namespace {

const RenderArgs::FieldOption& OptionOf(const RenderArgs& a, const SettingField& field) {
    return a.fields[size_t(&field - SettingFields().data())];
}

// The command-line options as a patch, each checked with its own name, in
// the order --help lists them. The size is left out: its range depends on
// the style, so it is read once the style is known.
SettingsPatch PatchFromOptions(const RenderArgs& a) {
    SettingsPatch p;
    for (const SettingField* field : FieldsInOptionOrder()) {
        if (field == &FieldNamed("buttonSize")) continue;
        const RenderArgs::FieldOption& given = OptionOf(a, *field);
        switch (field->form) {
        case OptionForm::Value:
            if (given.value) p.Set(*field, ParseOptionValue(*field, *given.value));
            break;
        case OptionForm::Flag:
            if (given.on) p.Set(*field, true);
            break;
        case OptionForm::Switch:
            if (given.on || given.off) p.Set(*field, given.on);
            break;
        }
    }
    return p;
}

}  // namespace

int RunRender(const RenderArgs& args) {
    // The name is checked before anything is read or drawn.
    if (!FindFormat(ExtensionOf(args.output))) {
        throw UsageError("-o: the file name must have the extension " + SupportedExtensions() +
                         ", in any case (got \"" + args.output + "\")");
    }
    // Which pictures under which names: the one named at its scale, or one
    // for each scale of the list beside it.
    std::vector<std::pair<int, std::string>> outputs;
    if (args.scales) {
        for (int scale : ParseScaleList(*args.scales, "--scales"))
            outputs.emplace_back(scale, ScaledPath(args.output, scale));
    } else {
        outputs.emplace_back(args.scale ? ParseScale(*args.scale, "--scale") : 1, args.output);
    }
    const SettingsPatch options = PatchFromOptions(args);
    // A caption named on the command line starts the font lookup at once, in
    // parallel with the rest; without one no font is looked up at all.
    const FieldValue* caption = options.Find(FieldNamed("caption"));
    if (caption && !std::get<std::string>(*caption).empty()) {
        const FieldValue* font = options.Find(FieldNamed("fontName"));
        PrewarmFonts(font ? std::get<std::string>(*font) : ButtonSettings{}.fontName);
    }

    TaboraButton button(GetArchive());
    ButtonSettings base = button.settings();
    if (!args.fromFile.empty()) {
        const OpenResult opened = OpenButton(button, args.fromFile);
        if (!opened.opened()) return ReportNotOpened(args.fromFile, opened);
        base = button.settings();
    }
    SettingsPatch patch;
    if (!args.settingsFile.empty()) {
        patch = PatchFromJson(ReadJsonFile(args.settingsFile), args.settingsFile);
    }
    patch.Merge(options);
    // --size replaces the size of the file or the settings; any text that is
    // not a size of the chosen style gets that style's range in the message.
    const SettingField& size = FieldNamed("buttonSize");
    const std::optional<std::string>& sizeText = OptionOf(args, size).value;
    if (sizeText) patch.Clear(size);
    ButtonSettings settings = Resolve(base, patch, button, args.settingsFile + ": \"" + size.key + "\"");
    if (sizeText) {
        settings.buttonSize = ParseButtonSize(*sizeText, size.option, settings.styleNumber, button);
    }
    button.ApplySettings(settings);
    for (const auto& [scale, path] : outputs) {
        // A finer picture is drawn by a button of its scale, laid out as the
        // 1x button is; every file carries the same settings.
        std::unique_ptr<TaboraButton> fine;
        if (scale > 1) {
            fine = std::make_unique<TaboraButton>(GetArchive(), scale);
            fine->ApplySettings(settings);
        }
        const SaveResult saved = SaveButton(fine ? *fine : button, path, false);
        if (!saved.saved()) throw TaboraError(saved.detail);
    }
    const std::string warning = MissingCharactersWarning(button.MissingCaptionCharacters());
    if (!warning.empty()) PrintWarning(outputs.front().second + ": " + warning);
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
