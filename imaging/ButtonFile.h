#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "imaging/Formats.h"
#include "io/ButtonStates.h"

namespace tabora {

class MacStream;
class TaboraButton;

// What became of an open. The readers never show anything: the front ends
// turn a result into their own words.
enum class OpenOutcome {
    Opened,      // the settings were read and applied
    Unreadable,  // the file could not be opened or read; `detail` says why
    Damaged,     // the image library refused the file; `detail` holds its words
    NotOurs,     // no format we read: an unknown extension and first bytes
    NoBlock,     // a picture without button settings; `detail` holds what
                 // the format's reader says about that, if anything
    CutShort,    // the settings block ends early
};

struct OpenResult {
    OpenOutcome outcome = OpenOutcome::NotOurs;
    const FormatEntry* format = nullptr;  // the reader that looked, if any
    int payloadVersion = 0;               // as the file stores it, when opened
    ButtonStates states;                  // the file's states (the defaults if it has none)
    std::string detail;

    bool opened() const { return outcome == OpenOutcome::Opened; }
    // The file was read and holds no settings we can use (as opposed to one
    // that could not be read at all, whose `detail` is the message).
    bool holdsNoSettings() const {
        return outcome == OpenOutcome::NotOurs || outcome == OpenOutcome::NoBlock ||
               outcome == OpenOutcome::CutShort;
    }
};

// The one way a button is read: the format's reader finds the block, the
// payload is read over the button's settings and, when it is whole, applied
// (every layer is rebuilt). On any other outcome the button is unchanged.
OpenResult ImportButton(TaboraButton& button, const FormatEntry& format, MacStream& in);

// Opens the image at `path`: the extension chooses the reader; a name with
// another extension is recognised by its first bytes.
OpenResult OpenButton(TaboraButton& button, const std::string& path);

enum class SaveOutcome {
    Saved,
    UnknownExtension,  // refused before anything was written
    Failed,            // the codec or the file layer failed; nothing replaced
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Saved;
    std::string detail;  // the message when not saved
    std::string path;    // the file that was not saved

    bool saved() const { return outcome == SaveOutcome::Saved; }
};

// Writes the button in `format` to a stream, as a save writes it into the
// file. Throws TaboraError with the codec's words, or the stream's FileError.
// With `states`, the payload carries them (see WriteSettings).
void ExportButton(TaboraButton& button, const FormatEntry& format, MacStream& out,
                  const ButtonStates* states = nullptr);

// Saves the button under `path` in the format its extension names. The new
// file replaces the old one only when it is complete: on any failure (an
// unknown extension, a codec error, a full disk) the previous file is
// untouched and no temporary file is left. `synced` waits for the disk before
// the rename (the desktop application); the command line skips that wait.
SaveResult SaveButton(TaboraButton& button, const std::string& path, bool synced = true,
                      const ButtonStates* states = nullptr);

// Saves what `write` writes in the format the extension of `path` names,
// with the same guarantees as SaveButton.
SaveResult SaveExported(const std::string& path, bool synced,
                        const std::function<void(const FormatEntry&, MacStream&)>& write);

// The name of the file of a button at `scale` beside the 1x file `path`:
// "@2x" or "@3x" before the extension ("home.png" gives "home@2x.png"), as
// web pages name their high-density pictures; `path` itself at scale 1. Each
// such file carries the same settings as the 1x file, so any of them opens
// the same button.
std::string ScaledPath(const std::string& path, int scale);
// "@2x" for a scale of 2; nothing for 1.
std::string ScaleSuffix(int scale);
// `path` with `tail` put in front of its extension ("home.png", "-hover"
// gives "home-hover.png"); at the end when it has none.
std::string NameWithTail(const std::string& path, const std::string& tail);

// Why a name whose extension is none of ours cannot be saved. Saving refuses
// such a name rather than create a file it would leave empty.
std::string UnknownExtensionMessage(std::string_view extension);

}  // namespace tabora
