#include <cstdio>
#include <memory>

#include <nlohmann/json.hpp>

#include <algorithm>

#include "cli/CaptionChecks.h"
#include "cli/CliError.h"
#include "cli/Commands.h"
#include "cli/JsonFile.h"
#include "cli/Scales.h"
#include "cli/SettingsPatch.h"
#include "cli/StateOptions.h"
#include "cli/WebPage.h"
#include "imaging/StateFiles.h"
#include "imaging/ButtonFile.h"
#include "platform/Error.h"
#include "platform/File.h"
#include "platform/Fonts.h"
#include "platform/SaveTarget.h"
#include "platform/Utf8.h"
#include "render/Contrast.h"
#include "render/StatePictures.h"
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

// The style sheet's name is checked before anything is drawn: it must end in
// .css and be none of the pictures (however spelt).
void CheckStyleSheet(const std::string& css, const std::vector<std::string>& outputs) {
    if (!IsStyleSheetName(css)) {
        throw UsageError("--css: the style sheet's name must end in .css (got \"" + css + "\")");
    }
    const SaveIdentity sheet = SaveIdentityOf(css);
    for (const std::string& output : outputs) {
        if (SaveIdentityOf(output) == sheet) {
            throw UsageError("--css: \"" + css + "\" names a picture this command writes");
        }
    }
}

// With --strict a caption that does not fit is an error, before anything
// is written; otherwise a warning after.
void RefuseOverflow(const std::string& output, const std::vector<CaptionCheck>& checks, bool strict) {
    const int32_t overflow = WorstOverflow(checks);
    if (strict && overflow > 0) throw UsageError(output + ": " + OverflowError(overflow));
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
    std::vector<ButtonState> which;
    if (args.states) which = ParseStateList(*args.states, "--states");
    if (args.sprite && which.empty()) which.assign(kAllStates.begin(), kAllStates.end());
    const bool stated = !which.empty() || !args.css.empty();
    if (which.empty()) which = {ButtonState::Normal};
    if (!args.css.empty()) {
        // The style sheet's plain url() is the 1x picture; image-set() adds the rest.
        if (std::none_of(outputs.begin(), outputs.end(), [](const auto& o) { return o.first == 1; })) {
            throw UsageError("--css: the style sheet needs the 1x pictures; put 1 in --scales");
        }
        std::vector<std::string> names;
        for (const auto& [k, path] : outputs) {
            for (std::string& name : StateFileNames(which, k, args.output, !args.sprite, args.sprite))
                names.push_back(std::move(name));
        }
        CheckStyleSheet(args.css, names);
    }
    // --text-color auto is decided once the caption is drawn.
    const SettingField& textColor = FieldNamed("textColor");
    RenderArgs given = args;
    std::optional<std::string>& colourText = given.fields[size_t(&textColor - SettingFields().data())].value;
    const bool autoColour = colourText && IsAutoColour(*colourText);
    if (autoColour) colourText.reset();
    const SettingsPatch options = PatchFromOptions(given);
    // A caption named on the command line starts the font lookup at once, in
    // parallel with the rest; without one no font is looked up at all.
    const FieldValue* caption = options.Find(FieldNamed("caption"));
    if (caption && !std::get<std::string>(*caption).empty()) {
        const FieldValue* font = options.Find(FieldNamed("fontName"));
        PrewarmFonts(font ? std::get<std::string>(*font) : ButtonSettings{}.fontName);
    }

    TaboraButton button(GetArchive());
    ButtonSettings base = button.settings();
    ButtonStates states;
    if (!args.fromFile.empty()) {
        const OpenResult opened = OpenButton(button, args.fromFile);
        if (!opened.opened()) return ReportNotOpened(args.fromFile, opened);
        base = button.settings();
        states = opened.states;
    }
    SettingsPatch patch;
    StateRequest stateRequest;
    if (!args.settingsFile.empty()) {
        const nlohmann::json doc = ReadJsonFile(args.settingsFile);
        patch = PatchFromJson(doc, args.settingsFile, {"states"});
        if (auto it = doc.find("states"); it != doc.end()) {
            stateRequest = StatesFromJson(*it, args.settingsFile);
        }
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
    if (!stateRequest.changes.empty()) states = ResolveStates(stateRequest, settings, args.settingsFile);
    button.ApplySettings(settings);
    if (autoColour) {
        const double backdrop = button.CaptionBackdropLuminance();
        if (backdrop >= 0) button.SetTextColor(BetterCaptionColor(backdrop));
        settings = button.settings();
    }
    std::vector<CaptionCheck> checks;
    if (!stated) {
        checks.push_back(CheckButton(button));
        RefuseOverflow(args.output, checks, args.strict);
        for (const auto& [k, path] : outputs) {
            // A finer picture is drawn by a button of its scale, laid out as
            // the 1x button is; every file carries the same settings.
            std::unique_ptr<TaboraButton> fine;
            if (k > 1) {
                fine = std::make_unique<TaboraButton>(GetArchive(), k);
                fine->ApplySettings(settings);
            }
            const SaveResult saved = SaveButton(fine ? *fine : button, path, false, &states);
            if (!saved.saved()) throw TaboraError(saved.detail);
        }
    } else {
        StateRenderer renderer(GetArchive());
        const FormatEntry& format = *FindFormat(ExtensionOf(args.output));
        const bool withLayers = format.keepsTransparency && settings.removeBackground;
        // Every scale is drawn before anything is written; the finer ones
        // follow the 1x layout, so the checks look at the 1x set alone.
        const bool oneWritten =
            std::any_of(outputs.begin(), outputs.end(), [](const auto& o) { return o.first == 1; });
        StateSet one = renderer.Render(settings, states, which, 1, oneWritten && withLayers);
        if (autoColour && ChooseCaptionColorForStates(one.pictures, settings)) {
            button.ApplySettings(settings);
            one = renderer.Render(settings, states, which, 1, oneWritten && withLayers);
        }
        for (const StatePicture& picture : one.pictures) checks.push_back(CheckState(picture));
        std::vector<StateSet> sets;
        for (const auto& [k, path] : outputs) {
            sets.push_back(k == 1 ? one : renderer.Render(settings, states, which, k, withLayers, &one));
        }
        RefuseOverflow(args.output, checks, args.strict);
        for (const StateSet& set : sets) {
            const SaveResult saved = SaveStateFiles(set, states, args.output, !args.sprite, args.sprite, false);
            if (!saved.saved()) throw TaboraError(saved.detail);
        }
        if (!args.css.empty()) {
            const StateSet& set =
                *std::find_if(sets.begin(), sets.end(), [](const StateSet& s) { return s.scale == 1; });
            WebButton web;
            web.output = args.output;
            web.className = ClassNameFor(args.output);
            web.width = set.rect.Width() / set.scale;
            web.height = set.rect.Height() / set.scale;
            web.states = which;
            web.sprite = args.sprite;
            web.scales.clear();
            for (const StateSet& each : sets) web.scales.push_back(each.scale);
            const std::string css = ButtonCss({web}, args.css);
            WriteWholeFile(args.css, css.data(), css.size());
        }
    }
    const std::string warning = MissingCharactersWarning(button.MissingCaptionCharacters());
    if (!warning.empty()) PrintWarning(outputs.front().second + ": " + warning);
    for (const std::string& text : CaptionWarnings(checks)) PrintWarning(args.output + ": " + text);
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
