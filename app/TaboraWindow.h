#pragma once
#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "app/Preferences.h"
#include "app/SettingsHistory.h"
#include "imaging/ButtonFile.h"
#include "imaging/Formats.h"
#include "io/ButtonStates.h"
#include "imaging/qt/OptionsDialogs.h"
#include "render/TaboraButton.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QSlider;
class QSpinBox;
class QToolBar;
class QToolButton;

namespace tabora {

class AValueWnd;
class ArchiveWnd;
class CSizeComboBox;
class ColorButton;
class FontPopup;
class FormatIconWnd;
class MaskedImageWnd;
class PreviewWnd;
class ReadOutLabel;
class WorkAreaWnd;

// The one main window: a fixed-size frame holding every control of the
// editor, the preview of the button under design and the document state.
// Every handler runs in the same order: change the setting, update the
// read-out, mark the document modified, repaint the preview.
class TaboraWindow : public QMainWindow {
    Q_OBJECT
public:
    // The client area below the menu bar holds every control.
    static constexpr int kClientWidth = 543;
    static constexpr int kClientHeight = 525;

    explicit TaboraWindow(QWidget* parent = nullptr);
    ~TaboraWindow() override;

    TaboraButton& button();
    const ButtonSettings& settings() const;
    bool modified() const { return modified_; }
    const std::string& currentPath() const { return currentPath_; }
    const std::string& currentExtension() const { return currentExtension_; }
    QWidget* clientArea() const { return client_; }
    PreviewWnd* preview() const { return preview_; }
    ArchiveWnd* archive() const { return archive_; }
    QAction* saveAction() const { return saveAction_; }
    QAction* undoAction() const { return undoAction_; }
    QAction* redoAction() const { return redoAction_; }

    // The states of the button. The state chosen under "State" is the one
    // the usual controls edit (Normal: the button itself; any other: its
    // delta from the normal settings) and the one the preview shows.
    const ButtonStates& states() const { return states_; }
    ButtonState editedState() const { return editedState_; }
    void SelectState(ButtonState state);
    // The button the controls edit: the design button, or the chosen
    // state's.
    TaboraButton& EditedButton();
    const ButtonSettings& EditedSettings() const;
    void OnResetState();
    void OnRingColor();
    void OnOpacityChange(int percent);
    void OnTryIt(bool on);
    // The caption colour that reads better on the body under it, as the
    // command line's "--text-color auto" picks it.
    void OnAutoTextColor();
    // What Save writes beside the picture (the File menu's ticks).
    StateOutputs stateOutputs() const { return stateOutputs_; }
    void SetStateOutputs(const StateOutputs& outputs);
    QToolBar* statesBar() const { return statesBar_; }

    // Control handlers.
    void OnHScroll(QSlider* slider);
    void OnShadowCheck();
    void OnAntialiasCheck();
    void OnTextShadowCheck();
    void OnBackgroundColor();
    void OnTextColor();
    void OnNudgeLeft();
    void OnNudgeUp();
    void OnNudgeRight();
    void OnNudgeDown();
    void OnFontChange();
    void OnStyleChange();
    void OnSizeChange();
    void OnSizeTyped();
    void OnCaptionChange();
    // A left press at a point of the client area, from the archive or an icon.
    void OnParentNotify(QPoint clientPoint);
    // Picks archive entry `n` as a press on it does (0: a press between
    // entries, which only resets the adjustments).
    void PickStyle(int32_t n);
    // The controls in the order Tab visits them.
    std::vector<QWidget*> TabOrder() const;

    // File commands.
    void OnOpen();
    void OnSave();
    // Save As in a format: its menu entry and its icon.
    void SaveAsFormat(ImageFormat format);
    void OnAbout();
    // Opens a file given on the command line or dropped on the window, asking
    // first when there are unsaved changes. True when its settings were read.
    bool OpenFromOutside(const std::string& path);
    // File > Open Recent, filled afresh each time it opens.
    QMenu* recentMenu() const { return recentMenu_; }
    void FillRecentMenu();
    // True when the window may close: nothing unsaved, or the user agrees.
    bool QueryQuit();

    void OnUndo();
    void OnRedo();

    // Lays the window out for a screen whose free area (in device-
    // independent pixels) is `available`: on one too short for it the
    // controls left of the archive scroll and the archive is shortened;
    // otherwise every control is at its place in the table.
    void FitToScreen(const QRect& available);
    void FitToCurrentScreen();
    bool Fitted() const { return leftScroll_ != nullptr; }
    QScrollArea* leftPanelScroll() const { return leftScroll_; }

    void SyncControlsFromSettings();
    void FillFontList();
    void FillSizeList();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void CreateMenus();
    void CreateControls();
    void CreateStatesBar();
    // Brings the chosen state's button to its settings (normal + delta).
    void LoadStateButton();
    // Keeps what the chosen state's button now shows as that state's delta.
    void CommitStateEdit();
    void UpdateStateControls();
    DesignSnapshot Design() const { return {settings(), states_}; }
    // Saves the pictures of every state, the sprite and the style sheet
    // beside `path`, as ticked; each file through the safe save.
    SaveResult SaveStateOutputs(const std::string& path);
    // Names and descriptions for screen readers (and tooltips).
    void DescribeControls();
    void ApplyTabOrder();
    void Unfit();
    void WatchScreen();
    // The height the window manager's frame adds, or an allowance for it.
    int FrameHeight() const;
    void RefreshPreview();
    void UpdateCommands();
    void SetModified(bool modified);
    void MarkChanged(bool changed) { SetModified(modified_ || changed); }
    void SetTitleFor(const std::string& path);
    // A message about `path` that names it, unless it already does.
    static std::string NamingFile(const std::string& path, const std::string& message);
    static std::string RefusedNameMessage(const std::string& extension);
    void ChooseColorFor(ColorButton* swatch);
    void Nudge(int dx, int dy);
    void SyncSizeControls();
    void SelectFontSizeText();
    bool OpenPath(const std::string& path);
    // Saves the button under `path`, then at each finer scale ticked in the
    // options dialog beside it; each file through the safe save, so a
    // failure keeps that file's previous contents. The first failure is
    // returned.
    SaveResult SaveTo(const std::string& path);
    // Undo: the settings before a change, recorded once it is known to differ.
    void BeginChange(SettingsHistory::Source source);
    void EndChange();
    void RestoreDesign(const DesignSnapshot& target);

    QWidget* client_ = nullptr;
    MaskedImageWnd* banner_ = nullptr;
    QFrame* topRule_ = nullptr;
    QFrame* verticalRule_ = nullptr;
    QFrame* rules_[6] = {};
    QCheckBox* shadowCheck_ = nullptr;
    QSlider* sizeSlider_ = nullptr;
    QSlider* hueSlider_ = nullptr;
    QSlider* brightnessSlider_ = nullptr;
    MaskedImageWnd* chooseLabel_ = nullptr;
    MaskedImageWnd* steps_[6] = {};
    struct FormatIcon {
        FormatIconWnd* picture;
        const FormatEntry* format;
    };
    std::vector<FormatIcon> formatIcons_;
    WorkAreaWnd* workArea_ = nullptr;
    ArchiveWnd* archive_ = nullptr;
    QCheckBox* antialiasCheck_ = nullptr;
    QCheckBox* textShadowCheck_ = nullptr;
    ColorButton* backgroundSwatch_ = nullptr;
    ColorButton* textColorSwatch_ = nullptr;
    QLineEdit* captionEdit_ = nullptr;
    ReadOutLabel* captionHint_ = nullptr;  // the caption's checks, in the state bar
    FontPopup* fontList_ = nullptr;
    CSizeComboBox* sizeList_ = nullptr;
    QComboBox* styleList_ = nullptr;
    QToolButton* nudgeLeft_ = nullptr;
    QToolButton* nudgeUp_ = nullptr;
    QToolButton* nudgeRight_ = nullptr;
    QToolButton* nudgeDown_ = nullptr;
    AValueWnd* sizeValue_ = nullptr;
    AValueWnd* hueValue_ = nullptr;
    AValueWnd* brightnessValue_ = nullptr;
    PreviewWnd* preview_ = nullptr;
    QScrollArea* leftScroll_ = nullptr;  // only on a screen too short
    QMetaObject::Connection focusWatch_;  // keeps the focused control in sight
    QRect fittedFor_;
    int fittedFrame_ = 0;
    bool watchingScreen_ = false;

    bool modified_ = false;
    std::string currentPath_;
    std::string currentExtension_;

    Preferences preferences_;
    QMenu* recentMenu_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    SettingsHistory history_;
    DesignSnapshot beforeChange_;
    SettingsHistory::Source changeSource_ = SettingsHistory::Source::Other;
    bool changeOpen_ = false;
    // The settings as last opened or saved, so undoing back to them clears
    // `modified`.
    ButtonSettings savedSettings_;
    ButtonStates savedStates_;
    // The states of the button, opened, edited and saved with it.
    ButtonStates states_;
    ButtonState editedState_ = ButtonState::Normal;
    std::unique_ptr<TaboraButton> stateButton_;  // the chosen state's settings
    QToolBar* statesBar_ = nullptr;
    QComboBox* stateList_ = nullptr;
    QToolButton* resetStateButton_ = nullptr;
    QWidget* ringControls_ = nullptr;
    ColorButton* ringSwatch_ = nullptr;
    QWidget* opacityControls_ = nullptr;
    QSpinBox* opacitySpin_ = nullptr;
    QCheckBox* tryItCheck_ = nullptr;
    QToolButton* autoColorButton_ = nullptr;
    QAction* stateFilesAction_ = nullptr;
    QAction* spriteAction_ = nullptr;
    QAction* cssAction_ = nullptr;
    StateOutputs stateOutputs_;
    // What the last save (or open) went with. Ticking another output is no
    // change to the design, so neither modified nor undoable, but Save has
    // something new to write: it stays enabled until the next save.
    StateOutputs savedOutputs_;
    bool OutputsPending() const { return !(stateOutputs_ == savedOutputs_); }
    // The finer pictures a save writes too; kept in the user's settings.
    ExtraScales extraScales_;
};

}  // namespace tabora
