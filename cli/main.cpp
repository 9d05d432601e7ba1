#include <malloc.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/CliError.h"
#include "cli/Commands.h"
#include "cli/SettingsPatch.h"
#include "imaging/ButtonFile.h"
#include "cli/TerminalText.h"
#include "styles/Catalogue.h"
#include "platform/Error.h"
#include "platform/FaceLookupFile.h"

namespace tabora::cli {

// Messages quote names and texts from files (a batch's outputs, a caption);
// those may hold control characters, which the terminal must not obey.
void PrintError(const std::string& text) {
    std::fprintf(stderr, "tabora-cli: %s\n", PrintableText(text).c_str());
}
void PrintWarning(const std::string& text) {
    std::fprintf(stderr, "tabora-cli: warning: %s\n", PrintableText(text).c_str());
}

int ReportNotOpened(const std::string& file, const OpenResult& result) {
    if (!result.holdsNoSettings()) throw TaboraError(result.detail);
    if (!result.detail.empty()) std::fprintf(stderr, "tabora: %s\n", result.detail.c_str());
    PrintError(file + " carries no button settings");
    return kExitFailure;
}

namespace {

void AddRenderOptions(CLI::App& render, RenderArgs& a) {
    render.add_option("-o,--output", a.output,
                      "Output image; the format comes from its extension: " + SupportedExtensions() +
                          ", in any case")
        ->required()
        ->type_name("OUT");
    render
        .add_option("--settings", a.settingsFile,
                    "Start from settings in the form of inspect --json (every key optional); - "
                    "reads standard input")
        ->type_name("FILE.json");
    render.add_option("--from", a.fromFile, "Start from the settings embedded in a saved button")->type_name("FILE");
    render
        .add_option("--states", a.states,
                    "Also write the states: all five (normal, hover, active, focus, disabled) "
                    "or those listed, each beside OUT (OUT-hover.png ...), in one rectangle")
        ->expected(0, 1)
        ->type_name("[LIST]");
    render.add_flag("--sprite", a.sprite,
                    "Write the states as one vertical sprite (OUT-sprite.png) beside OUT");
    render.add_option("--css", a.css, "Write a style sheet with a class for the button and a rule per state")
        ->type_name("FILE.css");
    render.add_flag("--strict", a.strict,
                    "Refuse a caption wider than its body instead of warning (nothing is written)");
    CLI::Option* scale =
        render.add_option("--scale", a.scale, "Device pixels per CSS pixel, 1..3 (default 1): the picture is K times "
                                              "as wide and high, laid out as at 1x")
            ->type_name("K");
    render.add_option("--scales", a.scales, "Write one picture at each scale, named as for srcset: "
                                            "OUT, OUT@2x, OUT@3x before the extension (e.g. 1,2,3)")
        ->type_name("LIST")
        ->excludes(scale);
    // One option (or a pair of flags) for each settings field.
    for (const SettingField* field : FieldsInOptionOrder()) {
        RenderArgs::FieldOption& given = a.fields[size_t(field - SettingFields().data())];
        const std::string help = OptionHelp(*field);
        switch (field->form) {
        case OptionForm::Value:
            render.add_option(field->option, given.value, help)->type_name(field->typeName);
            break;
        case OptionForm::Flag:
            render.add_flag(field->option, given.on, help);
            break;
        case OptionForm::Switch: {
            CLI::Option* on = render.add_flag(field->option, given.on, help);
            render.add_flag(field->offOption, given.off, field->offHelp)->excludes(on);
            break;
        }
        }
    }
}

// The filters of `styles` and `sheet`: each keeps only the styles it names.
void AddStyleFilters(CLI::App& command, StyleFilter& f) {
    command.add_option("--family", f.family, "Only the styles of this family (its number)")->type_name("N");
    command.add_option("--shape", f.shape, "Only this shape: " + ListInWords({ShapeNames().begin(), ShapeNames().end()}, "or"))
        ->type_name("NAME");
    command.add_option("--material", f.material, "Only this material (flat, glass, chrome, ...)")->type_name("NAME");
    command.add_option("--colour,--color", f.colour, "Only this colourway or metal (Sky, Gold, ...)")->type_name("NAME");
    command.add_option("--min-height", f.minHeight, "Only styles at least this many pixels high")->type_name("N");
    command.add_flag("--stretchable", f.stretchable, "Only styles that widen");
}

int Run(int argc, char** argv) {
    CLI::App app{"Tabora: graphical web buttons from the command line.", "tabora-cli"};
    app.require_subcommand(1, 1);
    app.footer("Exit status: 0 success, 1 a file cannot be read or written or has no button settings,\n"
               "2 a usage error or a value out of range.");

    RenderArgs render;
    CLI::App* renderCmd = app.add_subcommand("render", "Render a button into an image file");
    AddRenderOptions(*renderCmd, render);

    std::string inspectFile;
    bool inspectJson = false;
    CLI::App* inspectCmd = app.add_subcommand("inspect", "Show the settings embedded in a saved button");
    std::vector<std::string> labels;
    for (const FormatEntry& format : Formats()) labels.push_back(format.label);
    inspectCmd->add_option("FILE", inspectFile, "A " + ListInWords(labels, "or") + " saved with Tabora")
        ->required();
    inspectCmd->add_flag("--json", inspectJson, "Print one JSON object (the form --settings reads)");

    bool stylesJson = false;
    StyleFilter stylesFilter;
    CLI::App* stylesCmd = app.add_subcommand("styles", "List the style catalogue");
    stylesCmd->add_flag("--json", stylesJson, "Print a JSON array");
    AddStyleFilters(*stylesCmd, stylesFilter);
    SheetArgs sheet;
    CLI::App* sheetCmd = app.add_subcommand("sheet", "Write a numbered contact sheet of the styles as a PNG");
    sheetCmd->add_option("-o,--output", sheet.output, "Output PNG file")->required()->type_name("OUT.png");
    sheetCmd->add_option("--columns", sheet.columns, "Styles in a row, 1..40 (default 6)")->type_name("N");
    AddStyleFilters(*sheetCmd, sheet.filter);

    std::string styleNumber, styleOutput;
    std::optional<std::string> styleScale;
    CLI::App* styleCmd = app.add_subcommand("style", "Write a style's body picture as a straight-alpha RGBA PNG");
    styleCmd->add_option("N", styleNumber, "Style number, 1..930")->required();
    styleCmd->add_option("-o,--output", styleOutput, "Output PNG file")->required()->type_name("OUT.png");
    styleCmd->add_option("--scale", styleScale, "The picture drawn for K device pixels per CSS pixel, 1..3 (default 1)")
        ->type_name("K");

    BatchArgs batch;
    CLI::App* batchCmd = app.add_subcommand("batch", "Render many buttons described in one JSON file, on all cores");
    batchCmd->add_option("FILE", batch.file, "{\"defaults\": {...}, \"buttons\": [{..., \"output\": PATH}], "
                                             "\"fitCaption\", \"sameSize\", \"html\"}")
        ->required()
        ->type_name("FILE.json");
    batchCmd->add_flag("--strict", batch.strict,
                       "Refuse captions wider than their bodies instead of warning (nothing is written)");
    batchCmd->add_option("-j,--jobs", batch.jobs, "Worker threads, 1..256 (default: one per core)")->type_name("N");

    // A mistyped command would otherwise be reported as a missing one.
    if (argc > 1 && argv[1][0] != '-') {
        const std::string command = argv[1];
        bool known = false;
        for (const CLI::App* sub : app.get_subcommands({})) known = known || sub->get_name() == command;
        if (!known) {
            PrintError("unknown command \"" + command + "\"; the commands are render, inspect, styles, style, sheet and batch");
            return kExitUsage;
        }
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);  // help on standard output, status 0
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        PrintError(e.what());
        std::fprintf(stderr, "Run \"tabora-cli --help\" or \"tabora-cli COMMAND --help\" for more information.\n");
        return kExitUsage;
    }

    // Every button allocates and frees the compressor's few hundred kilobytes.
    // Freed memory stays in the process rather than going back to the system
    // and being faulted in again for the next button.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);

    // Font lookups are remembered between runs: loading the system's font
    // configuration would otherwise cost more than drawing the button. Never
    // freed, as a font warm-up thread may still use it while the process ends.
    SetFaceLookupStore(new FaceLookupFile(FaceLookupFile::DefaultPath()));

    try {
        if (renderCmd->parsed()) return RunRender(render);
        if (inspectCmd->parsed()) return RunInspect(inspectFile, inspectJson);
        if (stylesCmd->parsed()) return RunStyles(stylesJson, stylesFilter);
        if (sheetCmd->parsed()) return RunSheet(sheet);
        if (styleCmd->parsed()) return RunStyle(styleNumber, styleOutput, styleScale);
        if (batchCmd->parsed()) return RunBatch(batch);
    } catch (const UsageError& e) {
        PrintError(e.what());
        return kExitUsage;
    } catch (const TaboraError& e) {
        PrintError(e.what());
        return kExitFailure;
    } catch (const std::exception& e) {
        PrintError(e.what());
        return kExitFailure;
    }
    return kExitUsage;
}

}  // namespace
}  // namespace tabora::cli

int main(int argc, char** argv) {
    // A file-size limit (ulimit -f) makes a write fail with "File too large"
    // instead of ending the process: the save reports it and cleans up.
    std::signal(SIGXFSZ, SIG_IGN);
    return tabora::cli::Run(argc, argv);
}
