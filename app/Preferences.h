#pragma once
#include <QPoint>
#include <QSettings>
#include <QStringList>
#include <optional>

#include "io/ButtonSettings.h"

namespace tabora {

struct ExtraScales;

// What Save writes beside the button's picture, as last ticked in the File
// menu: a picture per state, the sprite, the style sheet.
struct StateOutputs {
    bool files = false;
    bool sprite = false;
    bool css = false;
    bool Any() const { return files || sprite || css; }
    bool operator==(const StateOutputs&) const = default;
};

// What the window remembers between runs, in the user's configuration
// folder (Qt's settings store): the files opened and saved last, the folders
// of Open and Save As, where the window stood, the export options chosen
// in the options dialogs and the finer pictures ticked there.
class Preferences {
public:
    // How many files File > Open Recent offers.
    static constexpr int kMaxRecentFiles = 8;

    Preferences();

    // The most recent first; only files that still exist.
    QStringList RecentFiles() const;
    // Puts `path` first, dropping an older mention and the oldest beyond
    // the limit.
    void AddRecentFile(const QString& path);
    void ClearRecentFiles();

    QString LastOpenFolder() const;
    void SetLastOpenFolder(const QString& folder);
    QString LastSaveFolder() const;
    void SetLastSaveFolder(const QString& folder);

    std::optional<QPoint> WindowPosition() const;
    void SetWindowPosition(QPoint position);

    // The export options last chosen, over `settings`; values out of range
    // (an edited file) are left alone.
    void ReadExportOptions(ButtonSettings& settings) const;
    void WriteExportOptions(const ButtonSettings& settings);

    StateOutputs SavedStateOutputs() const;
    void SetStateOutputs(const StateOutputs& outputs);

    ExtraScales SavedExtraScales() const;
    void SetExtraScales(const ExtraScales& scales);

private:
    QSettings store_;
};

}  // namespace tabora
