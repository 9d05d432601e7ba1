#include <QFileInfo>

#include "app/AboutBox.h"
#include "app/TaboraWindow.h"
#include "imaging/ButtonFile.h"
#include "imaging/qt/ShowExportOptions.h"
#include "platform/DialogHost.h"
#include "platform/File.h"
#include "platform/qt/ModalRunner.h"

namespace tabora {

namespace {

constexpr const char* kOpenFilter = "GIF, JPEG, PNG or BMP|*.gif;*.jpg;*.png;*.bmp||";

struct SaveAsRow {
    ImageFormat format;
    const char* defaultExtension;
    const char* filter;
};

// Every save filter lists all four types, the command's own first, so the
// first entry and the default extension agree.
constexpr SaveAsRow kSaveAsRows[] = {
    {ImageFormat::Gif, "gif",
     "GIF File (*.gif)|*.gif|JPEG File (*.jpg)|*.jpg|PNG File (*.png)|*.png|"
     "Bitmap File (*.bmp)|*.bmp||"},
    {ImageFormat::Png, "png",
     "PNG File (*.png)|*.png|GIF File (*.gif)|*.gif|JPEG File (*.jpg)|*.jpg|"
     "Bitmap File (*.bmp)|*.bmp||"},
    {ImageFormat::Jpeg, "jpg",
     "JPEG File (*.jpg)|*.jpg|GIF File (*.gif)|*.gif|PNG File (*.png)|*.png|"
     "Bitmap File (*.bmp)|*.bmp||"},
    {ImageFormat::Bmp, "bmp",
     "Bitmap File (*.bmp)|*.bmp|GIF File (*.gif)|*.gif|JPEG File (*.jpg)|*.jpg|"
     "PNG File (*.png)|*.png||"},
};

}  // namespace

void TaboraWindow::SetTitleFor(const std::string& path) {
    setWindowTitle(QStringLiteral("Tabora - ") + QString::fromStdString(FileTitleOf(path)));
}

void TaboraWindow::OnOpen() {
    if (modified_ && !Dialogs().Ask(Prompt::OpenWithoutSaving)) return;
    FileDialogRequest request;
    request.save = false;
    request.filter = kOpenFilter;
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
    const SaveResult result = SaveButton(button(), currentPath_);
    if (!result.saved()) {
        ShowMessage(result.detail);
        return;
    }
    savedSettings_ = settings();
    history_.BreakMerge();
    SetModified(false);
}

void TaboraWindow::SaveAsFormat(ImageFormat format) {
    const SaveAsRow* row = &kSaveAsRows[0];
    for (const SaveAsRow& candidate : kSaveAsRows)
        if (candidate.format == format) row = &candidate;
    FileDialogRequest request;
    request.save = true;
    request.filter = row->filter;
    request.defaultExtension = row->defaultExtension;
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
        ShowExportOptions(button(), extension, this);
        result = SaveButton(button(), *path);
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
