#include <QFileInfo>
#include <QSettings>
#include <algorithm>
#include <vector>

#include "app/AboutBox.h"
#include "app/TaboraWindow.h"
#include "imaging/ButtonFile.h"
#include "imaging/qt/ShowExportOptions.h"
#include "platform/File.h"
#include "platform/qt/DialogHost.h"
#include "platform/qt/ModalRunner.h"
#include "styles/Archive.h"

namespace tabora {

namespace {

// "GIF, JPEG, PNG or BMP|*.gif;*.jpg;*.png;*.bmp||": every format in menu
// order under one entry.
std::string OpenFilter() {
    std::vector<std::string> labels;
    std::string patterns;
    for (const FormatEntry* format : MenuFormats()) {
        labels.push_back(format->label);
        if (!patterns.empty()) patterns += ';';
        patterns += std::string("*.") + format->extension;
    }
    return ListInWords(labels, "or") + "|" + patterns + "||";
}

// Every format's own entry, the command's format first and the others in
// menu order, so the first entry and the default extension agree.
std::string SaveFilter(const FormatEntry& first) {
    std::vector<const FormatEntry*> order = MenuFormats();
    std::stable_partition(order.begin(), order.end(),
                          [&](const FormatEntry* format) { return format == &first; });
    std::string filter;
    for (const FormatEntry* format : order) {
        const std::string pattern = std::string("*.") + format->extension;
        filter += std::string(format->fileType) + " (" + pattern + ")|" + pattern + "|";
    }
    return filter + "|";
}

// Where the choice of finer pictures is remembered between runs.
const QString kScale2Key = QStringLiteral("save/scale2x");
const QString kScale3Key = QStringLiteral("save/scale3x");

QSettings UserSettings() { return QSettings(QStringLiteral("Tabora"), QStringLiteral("Tabora")); }

}  // namespace

ExtraScales LoadExtraScales() {
    const QSettings settings = UserSettings();
    return {settings.value(kScale2Key, false).toBool(), settings.value(kScale3Key, false).toBool()};
}

void StoreExtraScales(const ExtraScales& scales) {
    QSettings settings = UserSettings();
    settings.setValue(kScale2Key, scales.two);
    settings.setValue(kScale3Key, scales.three);
}

SaveResult TaboraWindow::SaveTo(const std::string& path) {
    SaveResult result = SaveButton(button(), path);
    for (int scale : extraScales_.List()) {
        if (!result.saved()) break;
        // Drawn by a button of that scale, laid out as this one; the file
        // carries the same settings.
        TaboraButton fine(GetArchive(), scale);
        fine.ApplySettings(settings());
        result = SaveButton(fine, ScaledPath(path, scale));
    }
    return result;
}

void TaboraWindow::SetTitleFor(const std::string& path) {
    setWindowTitle(QStringLiteral("Tabora - ") + QString::fromStdString(FileTitleOf(path)));
}

void TaboraWindow::OnOpen() {
    if (modified_ && !Dialogs().Ask(Prompt::OpenWithoutSaving)) return;
    FileDialogRequest request;
    request.save = false;
    request.filter = OpenFilter();
    std::optional<std::string> path = Dialogs().ChooseFile(request);
    if (!path) return;
    OpenPath(*path);
}

bool TaboraWindow::OpenFromOutside(const std::string& path) {
    if (modified_ && !Dialogs().Ask(Prompt::OpenWithoutSaving)) return false;
    return OpenPath(path);
}

bool TaboraWindow::OpenPath(const std::string& path) {
    const OpenResult result = OpenButton(button(), path);
    if (!result.opened()) {
        // The button and the document stay as they were. An unreadable or
        // damaged file gets the reason; a file without settings what its
        // format's reader says about that ("sig != Tbra"), or our sentence.
        if (!result.detail.empty())
            ShowMessage(result.detail);
        else
            ShowMessage(FileTitleOf(path) +
                        " holds no button settings, so there is nothing to open. "
                        "Only pictures saved by Tabora can be opened for editing.");
        return false;
    }
    // A name whose extension is not one of ours was recognised by its first
    // bytes; Save could not write it back under that name, so it becomes the
    // current file only when Save can.
    const std::string extension = ExtensionOf(path);
    if (FindFormat(extension)) {
        currentPath_ = path;
        currentExtension_ = extension;
    } else {
        currentPath_.clear();
        currentExtension_.clear();
    }
    SetTitleFor(path);
    history_.Clear();
    SyncControlsFromSettings();
    savedSettings_ = settings();
    SetModified(false);
    return true;
}

void TaboraWindow::OnSave() {
    if (currentPath_.empty() || !modified_) return;
    const SaveResult result = SaveTo(currentPath_);
    if (!result.saved()) {
        ShowMessage(result.detail);
        return;
    }
    savedSettings_ = settings();
    history_.BreakMerge();
    SetModified(false);
}

void TaboraWindow::SaveAsFormat(ImageFormat format) {
    const FormatEntry& row = *FindFormat(format);
    FileDialogRequest request;
    request.save = true;
    request.filter = SaveFilter(row);
    request.defaultExtension = row.extension;
    request.initialName = "untitled";
    request.overwritePrompt = true;
    std::optional<std::string> path = Dialogs().ChooseFile(request);
    if (!path) return;

    // The chosen name's extension, not the command, decides the format. A
    // name ending in none of the four is refused before anything is asked or
    // written.
    const std::string extension = ExtensionOf(*path);
    SaveResult result{SaveOutcome::UnknownExtension, UnknownExtensionMessage(extension)};
    if (FindFormat(extension)) {
        const ExtraScales before = extraScales_;
        ShowExportOptions(button(), extension, this, &extraScales_);
        if (extraScales_.List() != before.List()) StoreExtraScales(extraScales_);
        result = SaveTo(*path);
    }
    if (!result.saved()) {
        // The previous file and the document state are as they were.
        ShowMessage(result.detail);
        RefreshPreview();
        return;
    }
    currentPath_ = *path;
    currentExtension_ = extension;
    savedSettings_ = settings();
    history_.BreakMerge();
    SetModified(false);
    SetTitleFor(*path);
    // The shadow-area option may have changed what the preview composes.
    RefreshPreview();
}

void TaboraWindow::OnAbout() {
    AboutBox about(this);
    RunModal(about);
}

bool TaboraWindow::QueryQuit() {
    if (!modified_) return true;
    return Dialogs().Ask(Prompt::QuitWithoutSaving);
}

}  // namespace tabora
