#include <malloc.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/CliError.h"
#include "cli/Commands.h"
#include "cli/TerminalText.h"
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

namespace {

void AddRenderOptions(CLI::App& render, RenderArgs& a) {
    render.add_option("-o,--output", a.output, "Output image; the format comes from its extension: gif, png, jpg or bmp, in any case")
        ->required()
        ->type_name("OUT");
    render
        .add_option("--settings", a.settingsFile,
                    "Start from settings in the form of inspect --json (every key optional); - "
                    "reads standard input")
        ->type_name("FILE.json");
    render.add_option("--from", a.fromFile, "Start from the settings embedded in a saved button")->type_name("FILE");
    render.add_option("--style", a.style, "Style number, 0..930 (0: no style)")->type_name("N");
    render.add_option("--caption", a.caption, "Caption text, at most 255 bytes of UTF-8")->type_name("TEXT");
    render.add_option("--font", a.font, "Font family name")->type_name("NAME");
    render.add_option("--font-size", a.fontSize, "Font size in points, 1..300")->type_name("PT");
    render.add_flag("--bold", a.bold, "Bold caption");
    render.add_flag("--italic", a.italic, "Italic caption");
    render.add_option("--text-color", a.textColor, "Caption colour, web order, '#' optional")->type_name("RRGGBB");
    render.add_option("--background", a.background, "Background colour, web order, '#' optional")->type_name("RRGGBB");
    render.add_option("--hue", a.hue, "Hue shift of the body, 0..4096")->type_name("0..4096");
    render.add_option("--brightness", a.brightness, "Brightness of the body, -205..205")->type_name("-205..205");
    render.add_option("--size", a.size, "Button size, 20 up to the style's largest (default: the style's default size)")
        ->type_name("N");
    auto* shadow = render.add_flag("--shadow", a.shadow, "Draw the drop shadow");
    render.add_flag("--no-shadow", a.noShadow, "No drop shadow")->excludes(shadow);
    auto* textShadow = render.add_flag("--text-shadow", a.textShadow, "Draw the caption's shadow");
    render.add_flag("--no-text-shadow", a.noTextShadow, "No caption shadow")->excludes(textShadow);
    auto* antialias = render.add_flag("--antialias", a.antialias, "Smooth caption edges");
    render.add_flag("--no-antialias", a.noAntialias, "Crisp caption edges")->excludes(antialias);
    render.add_option("--offset", a.offset, "Move the caption by X,Y pixels, each -1000..1000")->type_name("X,Y");
    render.add_flag("--remove-background", a.removeBackground, "Transparent background (GIF and PNG)");
    render.add_flag("--include-shadow-area", a.includeShadowArea, "Keep room for the shadow even without one");
    render.add_option("--quality", a.quality, "JPEG quality, 0..100")->type_name("0..100");
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
    inspectCmd->add_option("FILE", inspectFile, "A GIF, PNG, JPEG or BMP saved with Tabora")->required();
    inspectCmd->add_flag("--json", inspectJson, "Print one JSON object (the form --settings reads)");

    bool stylesJson = false;
    CLI::App* stylesCmd = app.add_subcommand("styles", "List the style catalogue");
    stylesCmd->add_flag("--json", stylesJson, "Print a JSON array");

    std::string styleNumber, styleOutput;
    CLI::App* styleCmd = app.add_subcommand("style", "Write a style's body picture as a straight-alpha RGBA PNG");
    styleCmd->add_option("N", styleNumber, "Style number, 1..930")->required();
    styleCmd->add_option("-o,--output", styleOutput, "Output PNG file")->required()->type_name("OUT.png");

    BatchArgs batch;
    CLI::App* batchCmd = app.add_subcommand("batch", "Render many buttons described in one JSON file, on all cores");
    batchCmd->add_option("FILE", batch.file, "{\"defaults\": {...}, \"buttons\": [{..., \"output\": PATH}], "
                                             "\"fitCaption\", \"sameSize\", \"html\"}")
        ->required()
        ->type_name("FILE.json");
    batchCmd->add_option("-j,--jobs", batch.jobs, "Worker threads, 1..256 (default: one per core)")->type_name("N");

    // A mistyped command would otherwise be reported as a missing one.
    if (argc > 1 && argv[1][0] != '-') {
        const std::string command = argv[1];
        bool known = false;
        for (const CLI::App* sub : app.get_subcommands({})) known = known || sub->get_name() == command;
        if (!known) {
            PrintError("unknown command \"" + command + "\"; the commands are render, inspect, styles, style and batch");
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
        if (stylesCmd->parsed()) return RunStyles(stylesJson);
        if (styleCmd->parsed()) return RunStyle(styleNumber, styleOutput);
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
