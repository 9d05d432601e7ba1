#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <algorithm>
#include <vector>

#include "app/AboutBox.h"
#include "app/TaboraWindow.h"
#include "imaging/ButtonFile.h"
#include "imaging/StateFiles.h"
#include "imaging/StyleSheet.h"
#include "imaging/qt/ShowExportOptions.h"
#include "platform/Error.h"
#include "platform/File.h"
#include "platform/qt/DialogHost.h"
#include "platform/qt/ModalRunner.h"
#include "styles/Archive.h"

namespace tabora {

namespace {

// The codecs' fixed words, which messages carry as they are.
[[maybe_unused]] const char* const kCodecWords[] = {
    QT_TRANSLATE_NOOP("tabora::Codecs", "error reading PNG file"),
    QT_TRANSLATE_NOOP("tabora::Codecs", "error writing PNG file"),
    QT_TRANSLATE_NOOP("tabora::Codecs", "error writing GIF file"),
    QT_TRANSLATE_NOOP("tabora::Codecs", "error writing BMP file"),
    QT_TRANSLATE_NOOP("tabora::Codecs", "fatal JPEG error"),
    QT_TRANSLATE_NOOP("tabora::Codecs", "sig != Tbra"),
};

// "GIF, JPEG, PNG or BMP|*.gif;*.jpg;*.jpeg;*.png;*.bmp||": every format in
// menu order under one entry, with every ending that names it.
std::string OpenFilter() {
    std::vector<std::string> labels;
    std::string patterns;
    for (const FormatEntry* format : MenuFormats()) {
        labels.push_back(format->label);
        if (!patterns.empty()) patterns += ';';
        patterns += std::string("*.") + format->extension;
        if (format->otherExtension) patterns += std::string(";*.") + format->otherExtension;
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

}  // namespace

SaveResult TaboraWindow::SaveTo(const std::string& path) {
    CommitStateEdit();
    if (stateOutputs_.Any()) return SaveStateOutputs(path);
    SaveResult result = SaveButton(button(), path, true, &states_);
    for (int scale : extraScales_.List()) {
        if (!result.saved()) break;
        // Drawn by a button of that scale, laid out as this one; the file
        // carries the same settings.
        TaboraButton fine(GetArchive(), scale);
        fine.ApplySettings(settings());
        result = SaveButton(fine, ScaledPath(path, scale), true, &states_);
    }
    return result;
}

SaveResult TaboraWindow::SaveStateOutputs(const std::string& path) {
    // As the command line writes them: every state cut to the rectangle
    // they share, so the button's own picture is that size too, at 1x and
    // each finer scale ticked; a style sheet without the sprite draws from
    // the state files, so they are written for it.
    const FormatEntry* format = FindFormat(ExtensionOf(path));
    if (!format) {
        return {SaveOutcome::UnknownExtension, UnknownExtensionMessage(ExtensionOf(path)), path};
    }
    const bool withLayers = format->keepsTransparency && settings().removeBackground;
    const bool everyState = stateOutputs_.files || (stateOutputs_.css && !stateOutputs_.sprite);
    StateRenderer renderer(GetArchive());
    const StateSet one = renderer.Render(settings(), states_, kAllStates, 1, withLayers);
    WebButton web;
    web.output = path;
    web.className = ClassNameFor(path);
    web.width = one.rect.Width();
    web.height = one.rect.Height();
    web.states.assign(kAllStates.begin(), kAllStates.end());
    web.sprite = stateOutputs_.sprite;
    for (int scale : extraScales_.List()) web.scales.push_back(scale);
    for (int scale : web.scales) {
        const StateSet set =
            scale == 1 ? one
                       : renderer.Render(settings(), states_, kAllStates, scale, withLayers, &one);
        const SaveResult result =
            SaveStateFiles(set, states_, path, everyState, stateOutputs_.sprite, true);
        if (!result.saved()) return result;
    }
    if (stateOutputs_.css) {
        const std::string sheet = StyleSheetPath(path);
        try {
            const std::string css = ButtonCss({web}, sheet);
            WriteWholeFile(sheet, css.data(), css.size());
        } catch (const TaboraError& error) {
            return {SaveOutcome::Failed, error.what(), sheet};
        }
    }
    return {};
}

void TaboraWindow::SetTitleFor(const std::string& path) {
    setWindowTitle(QStringLiteral("Tabora - ") + QString::fromStdString(FileTitleOf(path)) +
                   QStringLiteral("[*]"));
}

std::string TaboraWindow::NamingFile(const std::string& path, const std::string& message) {
    // The fixed words of the codecs are translated; a message built with a
    // path or a system's reason in it stays as the core made it.
    const std::string shown =
        QCoreApplication::translate("tabora::Codecs", message.c_str()).toStdString();
    if (message.find(path) != std::string::npos) return shown;
    return FileTitleOf(path) + ": " + shown;
}

std::string TaboraWindow::RefusedNameMessage(const std::string& extension) {
    // The same words as the core's UnknownExtensionMessage, translatable.
    const QString shown = extension.empty()
                              ? tr("no extension")
                              : QStringLiteral("\".%1\"").arg(QString::fromStdString(extension));
    return tr("Cannot save a button with %1: the extension must be %2, in any case")
        .arg(shown, QString::fromStdString(SupportedExtensions()))
        .toStdString();
}

void TaboraWindow::FillRecentMenu() {
    recentMenu_->clear();
    const QStringList files = preferences_.RecentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* entry = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), this,
            [this, path] { OpenFromOutside(path.toStdString()); });
        entry->setToolTip(path);
    }
    if (!files.isEmpty()) {
        recentMenu_->addSeparator();
        recentMenu_->addAction(tr("&Clear Menu"), this,
                               [this] { preferences_.ClearRecentFiles(); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void TaboraWindow::OnOpen() {
    if (modified_ && !Dialogs().Ask(Prompt::OpenWithoutSaving)) return;
    FileDialogRequest request;
    request.save = false;
    request.filter = OpenFilter();
    request.directory = preferences_.LastOpenFolder().toStdString();
    std::optional<std::string> path = Dialogs().ChooseFile(request);
    if (!path) return;
    preferences_.SetLastOpenFolder(QFileInfo(QString::fromStdString(*path)).absolutePath());
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
            ShowMessage(NamingFile(path, result.detail));
        else
            ShowMessage(tr("%1 holds no button settings, so there is nothing to open. "
                           "Only pictures saved by Tabora can be opened for editing.")
                            .arg(QString::fromStdString(FileTitleOf(path)))
                            .toStdString());
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
    states_ = result.states;
    savedStates_ = states_;
    LoadStateButton();
    UpdateStateControls();
    SetTitleFor(path);
    preferences_.AddRecentFile(QString::fromStdString(path));
    history_.Clear();
    SyncControlsFromSettings();
    savedSettings_ = settings();
    savedOutputs_ = stateOutputs_;
    SetModified(false);
    return true;
}

void TaboraWindow::OnSave() {
    if (currentPath_.empty() || !(modified_ || OutputsPending())) return;
    const SaveResult result = SaveTo(currentPath_);
    if (!result.saved()) {
        ShowMessage(NamingFile(result.path.empty() ? currentPath_ : result.path, result.detail));
        return;
    }
    savedSettings_ = settings();
    savedStates_ = states_;
    savedOutputs_ = stateOutputs_;
    history_.BreakMerge();
    SetModified(false);
}

void TaboraWindow::SaveAsFormat(ImageFormat format) {
    const FormatEntry& row = *FindFormat(format);
    FileDialogRequest request;
    request.save = true;
    request.filter = SaveFilter(row);
    request.defaultExtension = row.extension;
    request.overwritePrompt = true;
    // The current file's folder and name (without its extension, which the
    // command's format supplies), or the folder last saved in.
    if (!currentPath_.empty()) {
        const QFileInfo current(QString::fromStdString(currentPath_));
        request.directory = current.absolutePath().toStdString();
        request.initialName = current.completeBaseName().toStdString();
    } else {
        request.directory = preferences_.LastSaveFolder().toStdString();
        request.initialName = "untitled";
    }

    // The chosen name's extension, not the command, decides the format. A
    // name ending in none of ours is refused before anything is asked or
    // written, and the dialog comes back with that name to mend.
    std::optional<std::string> path;
    std::string extension;
    for (;;) {
        path = Dialogs().ChooseFile(request);
        if (!path) return;
        extension = ExtensionOf(*path);
        if (FindFormat(extension)) break;
        ShowMessage(FileTitleOf(*path) + ": " + RefusedNameMessage(extension));
        const QFileInfo typed(QString::fromStdString(*path));
        request.directory = typed.absolutePath().toStdString();
        request.initialName = typed.fileName().toStdString();
    }
    const ExtraScales before = extraScales_;
    if (ShowExportOptions(button(), extension, this, &extraScales_)) {
        preferences_.WriteExportOptions(settings());
    }
    if (extraScales_.List() != before.List()) preferences_.SetExtraScales(extraScales_);
    const SaveResult result = SaveTo(*path);
    if (!result.saved()) {
        // The previous file and the document state are as they were.
        ShowMessage(NamingFile(result.path.empty() ? *path : result.path, result.detail));
        RefreshPreview();
        return;
    }
    currentPath_ = *path;
    currentExtension_ = extension;
    savedSettings_ = settings();
    savedStates_ = states_;
    savedOutputs_ = stateOutputs_;
    history_.BreakMerge();
    SetModified(false);
    SetTitleFor(*path);
    const QFileInfo saved(QString::fromStdString(*path));
    preferences_.SetLastSaveFolder(saved.absolutePath());
    preferences_.AddRecentFile(saved.absoluteFilePath());
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
