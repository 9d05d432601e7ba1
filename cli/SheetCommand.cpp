#include <algorithm>
#include <cctype>
#include <cstdio>

#include "cli/CliError.h"
#include "cli/Commands.h"
#include "cli/SettingsPatch.h"
#include "cli/StyleFilters.h"
#include "imaging/PngCodec.h"
#include "io/MacStream.h"
#include "platform/File.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

namespace tabora::cli {

namespace {

// A cell: the style at its default size on the canvas, its number under it.
constexpr int32_t kLabelHeight = 16;
constexpr int32_t kMaxColumns = 40;
constexpr Color kSheetPage = MakeColor(255, 255, 255);

// The button's layers (without the work area's background and frame) from
// `from`, placed at (x, y).
void Place(TaboraButton& button, Rect from, ArgbImage& sheet, int32_t x, int32_t y) {
    ArgbImage layers;
    button.ComposeLayers(layers);
    layers.CompositeOver(sheet, from, Rect{x, y, x + from.Width(), y + from.Height()});
}

}  // namespace

int RunSheet(const SheetArgs& args) {
    std::string extension = ExtensionOf(args.output);
    for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (extension != "png") {
        throw UsageError("-o: the contact sheet is written as PNG; the file name must end in .png (got \"" +
                         args.output + "\")");
    }
    CheckFilter(args.filter);
    const int32_t columns =
        args.columns ? int32_t(ParseInteger(*args.columns, "--columns", 1, kMaxColumns)) : 6;
    std::vector<StyleFacts> styles;
    for (const StyleFacts& f : AllStyleFacts()) {
        if (Passes(f, args.filter)) styles.push_back(f);
    }
    if (styles.empty()) throw UsageError("no style passes the filters; nothing was written");

    const int32_t k = 1;
    const int32_t cellW = kCanvasWidth * k, bodyH = kCanvasHeight * k, cellH = bodyH + kLabelHeight * k;
    const int32_t rows = (int32_t(styles.size()) + columns - 1) / columns;
    ArgbImage sheet(std::min(columns, int32_t(styles.size())) * cellW, rows * cellH);
    sheet.Fill(kSheetPage);
    TaboraButton body(GetArchive()), label(GetArchive());
    ButtonSettings text;
    text.backgroundColor = kSheetPage;
    text.textColor = MakeColor(40, 40, 40);
    text.textShadow = false;
    text.antialias = true;
    text.fontSize = 9;
    for (size_t i = 0; i < styles.size(); ++i) {
        const int32_t x = int32_t(i % size_t(columns)) * cellW, y = int32_t(i / size_t(columns)) * cellH;
        ButtonSettings s;
        s.backgroundColor = kSheetPage;
        s.styleNumber = int16_t(styles[i].number);
        body.ApplySettings(s);
        body.SetButtonSize(body.DefaultButtonSize());
        body.PrepareExport();
        Place(body, Rect{0, 0, cellW, bodyH}, sheet, x, y);
        text.caption = std::to_string(styles[i].number);
        label.ApplySettings(text);
        label.PrepareExport();
        const Rect r = label.exportRect();
        // The number centred under its style, cut to the label's line.
        const int32_t h = std::min(r.Height(), kLabelHeight * k);
        Place(label, Rect{r.left, r.top, r.right, r.top + h}, sheet, x + (cellW - r.Width()) / 2,
              y + bodyH + (kLabelHeight * k - h) / 2);
    }
    SafeSave save(args.output);
    FileMacStream stream(&save.Output());
    PngCodec::Write(sheet, stream, false, std::nullopt, nullptr, 0);
    save.Commit(SafeSave::Durability::Unsynced);
    std::printf("%zu styles\n", styles.size());
    return kExitOk;
}

}  // namespace tabora::cli
