#pragma once
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "imaging/ButtonFile.h"
#include "render/StatePictures.h"

namespace tabora {

struct PngRun;

// Where a state of the button saved as `path` goes: "home.png" for normal,
// "home-hover.png", "home-active.png", ... and, at a scale k above 1,
// "home-hover@2x.png".
std::string StateFileName(const std::string& path, ButtonState state, int scale);
// The sprite of the button saved as `path`: "home-sprite.png",
// "home-sprite@2x.png".
std::string SpriteFileName(const std::string& path, int scale);

// Writes the pictures of one set and its sprite. A PNG picture (unless the
// smallest file is asked for) is compressed once, on first use, and serves
// its own file and the sprite alike; other formats write each file whole.
class StateExporter {
public:
    StateExporter(const StateSet& set, const ButtonStates& states);
    ~StateExporter();
    StateExporter(const StateExporter&) = delete;
    StateExporter& operator=(const StateExporter&) = delete;

    // The set's picture `index`, as ExportStatePicture describes.
    void Picture(size_t index, const FormatEntry& format, MacStream& out);
    // The sprite, as ExportSprite describes.
    void Sprite(const FormatEntry& format, MacStream& out);

private:
    struct Runs;
    const PngRun& RunOf(size_t index, bool transparent);
    const StateSet& set_;
    const ButtonStates& states_;
    std::unique_ptr<Runs> runs_;
};

// Writes one picture of a set, cut to the set's rectangle. The normal state
// carries the normal settings with `states` (re-editable as a whole); any
// other state carries its own whole settings.
void ExportStatePicture(const StateSet& set, const StatePicture& picture,
                        const ButtonStates& states, const FormatEntry& format, MacStream& out);
// Writes the set as one vertical sprite, its pictures top to bottom in the
// set's order, each the set's rectangle high; it carries the normal settings
// (the set's first picture) with `states`.
void ExportSprite(const StateSet& set, const ButtonStates& states, const FormatEntry& format,
                  MacStream& out);

// Saves the pictures of the set beside `path` under StateFileName (with
// `everyState`, all of them; else the normal one alone) and the sprite
// under SpriteFileName when `sprite`; stops at the first failure.
SaveResult SaveStateFiles(const StateSet& set, const ButtonStates& states, const std::string& path,
                          bool everyState, bool sprite, bool synced);
// The names SaveStateFiles writes, in the order it writes them.
std::vector<std::string> StateFileNames(std::span<const ButtonState> which, int scale,
                                        const std::string& path, bool everyState, bool sprite);

}  // namespace tabora
