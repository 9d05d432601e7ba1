// The states of a web button in the window: the bar that chooses the state
// the controls edit, its state-only touches (the focus ring's colour, the
// disabled opacity), "Try it", and the caption colour chosen for contrast.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <initializer_list>

#include "app/CaptionField.h"
#include "app/TaboraWindow.h"
#include "controls/ColorButton.h"
#include "controls/PreviewWnd.h"
#include "platform/qt/DialogHost.h"
#include "render/Contrast.h"
#include "render/StatePictures.h"
#include "styles/Archive.h"

namespace tabora {

namespace {

// The swatch of the ring, as large as the window's other swatches.
constexpr int kSwatchSize = 16;

// A label and its control, kept together so they show and hide as one.
QWidget* Labelled(QWidget* parent, const QString& text, QWidget* control) {
    auto* group = new QWidget(parent);
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    auto* label = new QLabel(text, group);
    label->setBuddy(control);
    control->setParent(group);
    row->addWidget(label);
    row->addWidget(control);
    return group;
}

}  // namespace

void TaboraWindow::CreateStatesBar() {
    stateButton_ = std::make_unique<TaboraButton>(GetArchive());
    preview_->SetStates(&states_);

    // Above the editor, under the menu: the table of places leaves no room
    // under the preview, and the client area keeps its every pixel.
    statesBar_ = new QToolBar(tr("States"), this);
    statesBar_->setObjectName(QStringLiteral("statesBar"));
    statesBar_->setMovable(false);
    statesBar_->setFloatable(false);
    statesBar_->toggleViewAction()->setEnabled(false);  // always there
    auto* bar = new QWidget(statesBar_);
    bar->setObjectName(QStringLiteral("statesRow"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 2, 6, 2);
    row->setSpacing(8);

    stateList_ = new QComboBox;
    stateList_->setObjectName(QStringLiteral("stateList"));
    // The window's words for the states, in their order.
    const QString labels[kStateCount] = {tr("Normal"), tr("Hover"), tr("Pressed"), tr("Focus"),
                                         tr("Disabled")};
    for (ButtonState state : kAllStates) stateList_->addItem(labels[size_t(state)], int(state));
    row->addWidget(Labelled(bar, tr("&State:"), stateList_));

    resetStateButton_ = new QToolButton(bar);
    resetStateButton_->setObjectName(QStringLiteral("resetStateButton"));
    resetStateButton_->setText(tr("&Reset State"));
    resetStateButton_->setFocusPolicy(Qt::TabFocus);
    row->addWidget(resetStateButton_);

    ringSwatch_ = new ColorButton(kDefaultFocusRing, false);
    ringSwatch_->setObjectName(QStringLiteral("ringSwatch"));
    ringSwatch_->setFixedSize(kSwatchSize, kSwatchSize);
    ringControls_ = Labelled(bar, tr("Ring color"), ringSwatch_);
    row->addWidget(ringControls_);

    opacitySpin_ = new QSpinBox;
    opacitySpin_->setObjectName(QStringLiteral("opacitySpin"));
    opacitySpin_->setRange(0, kOpaque);
    opacitySpin_->setSuffix(QStringLiteral(" %"));
    opacityControls_ = Labelled(bar, tr("&Opacity"), opacitySpin_);
    row->addWidget(opacityControls_);
    row->addStretch(1);

    // The checks before shipping (contrast, a caption running past its
    // body, characters no font has), read while the caption is edited and
    // covering none of the editor's controls. Where the bar is crowded it
    // shows its brief form rather than widening the window; its tooltip
    // holds it whole.
    captionHint_ = new ReadOutLabel(bar);
    captionHint_->setObjectName(QStringLiteral("captionHint"));
    captionHint_->setStyleSheet(
        QStringLiteral("QLabel { background: #FFF6C8; color: #5A4600; border: 1px solid #D9C36A; "
                       "padding: 0 2px; font-size: 9px; }"));
    captionHint_->hide();
    row->addWidget(captionHint_, 0, Qt::AlignVCenter);

    tryItCheck_ = new QCheckBox(tr("&Try it"), bar);
    tryItCheck_->setObjectName(QStringLiteral("tryItCheck"));
    row->addWidget(tryItCheck_);
    // As tall as its tallest control, whichever state's controls show, so
    // the window never changes its height with the state.
    int tallest = 0;
    for (QWidget* control : std::initializer_list<QWidget*>{stateList_, resetStateButton_,
                                                            ringSwatch_, opacitySpin_, tryItCheck_})
        tallest = std::max(tallest, control->sizeHint().height());
    const QMargins margins = row->contentsMargins();
    bar->setFixedHeight(tallest + margins.top() + margins.bottom());
    // Never wider than the editor: a longer translation squeezes the row
    // rather than widening the window.
    bar->setMaximumWidth(kClientWidth);
    statesBar_->addWidget(bar);
    // The tool bar's own margins included.
    statesBar_->setMaximumWidth(kClientWidth);
    addToolBar(Qt::TopToolBarArea, statesBar_);

    auto describe = [](QWidget* widget, const QString& name, const QString& description) {
        widget->setAccessibleName(name);
        widget->setAccessibleDescription(description);
        widget->setToolTip(description);
    };
    describe(stateList_, tr("State"),
             tr("The state of the web button the controls edit: at rest, under the pointer, "
                "pressed, reached with Tab, or switched off"));
    describe(resetStateButton_, tr("Reset state"),
             tr("Gives the chosen state its default look again"));
    describe(ringSwatch_, tr("Focus ring color"),
             tr("Chooses the colour of the ring the focused button shows"));
    describe(opacitySpin_, tr("Opacity"), tr("How opaque the disabled button is"));
    describe(tryItCheck_, tr("Try it"),
             tr("The preview answers the pointer and the keyboard as the web page will: point "
                "at it, press it, or Tab to it"));

    connect(stateList_, &QComboBox::activated, this,
            [this](int index) { SelectState(ButtonState(stateList_->itemData(index).toInt())); });
    connect(resetStateButton_, &QToolButton::clicked, this, &TaboraWindow::OnResetState);
    connect(ringSwatch_, &ColorButton::clicked, this, &TaboraWindow::OnRingColor);
    connect(opacitySpin_, &QSpinBox::valueChanged, this, &TaboraWindow::OnOpacityChange);
    connect(opacitySpin_, &QSpinBox::editingFinished, this, [this] { history_.BreakMerge(); });
    connect(tryItCheck_, &QCheckBox::toggled, this, &TaboraWindow::OnTryIt);

    // Next to the text colour: the one that reads better.
    autoColorButton_ = new QToolButton(client_);
    autoColorButton_->setObjectName(QStringLiteral("autoColorButton"));
    autoColorButton_->setText(tr("Auto"));
    autoColorButton_->setFocusPolicy(Qt::TabFocus);
    autoColorButton_->setGeometry(301, 343, 26, 16);
    autoColorButton_->setStyleSheet(QStringLiteral("QToolButton { font-size: 9px; padding: 0; }"));
    describe(autoColorButton_, tr("Automatic text color"),
             tr("Makes the caption black or white, whichever reads better on the button"));
    connect(autoColorButton_, &QToolButton::clicked, this, &TaboraWindow::OnAutoTextColor);

    UpdateStateControls();
}

TaboraButton& TaboraWindow::EditedButton() {
    return editedState_ == ButtonState::Normal ? button() : *stateButton_;
}

const ButtonSettings& TaboraWindow::EditedSettings() const {
    return editedState_ == ButtonState::Normal ? settings() : stateButton_->settings();
}

void TaboraWindow::LoadStateButton() {
    if (editedState_ == ButtonState::Normal) return;
    stateButton_->ApplySettings(StateSettings(settings(), states_.Delta(editedState_, settings())));
}

void TaboraWindow::CommitStateEdit() {
    if (editedState_ == ButtonState::Normal) return;
    const StateDelta previous = states_.Delta(editedState_, settings());
    StateDelta edited = EditedDelta(settings(), stateButton_->settings(), previous);
    // Only an edit changes the states: a file's own delta that happens to
    // equal the default stays its own.
    if (!(edited == previous)) states_.SetDelta(editedState_, std::move(edited), settings());
    resetStateButton_->setEnabled(states_.Custom(editedState_) != nullptr);
}

void TaboraWindow::SelectState(ButtonState state) {
    if (state == editedState_) return;
    history_.BreakMerge();
    editedState_ = state;
    LoadStateButton();
    UpdateStateControls();
    SyncControlsFromSettings();
}

void TaboraWindow::UpdateStateControls() {
    const bool normal = editedState_ == ButtonState::Normal;
    const StateDelta delta = states_.Delta(editedState_, settings());
    {
        QSignalBlocker block(stateList_);
        stateList_->setCurrentIndex(stateList_->findData(int(editedState_)));
    }
    resetStateButton_->setEnabled(!normal && states_.Custom(editedState_));
    ringControls_->setVisible(editedState_ == ButtonState::Focus);
    ringSwatch_->SetColor(delta.focusRing.value_or(kDefaultFocusRing));
    opacityControls_->setVisible(editedState_ == ButtonState::Disabled);
    {
        QSignalBlocker block(opacitySpin_);
        opacitySpin_->setValue(delta.opacity);
    }
    preview_->SetSelectedState(editedState_);
}

void TaboraWindow::OnResetState() {
    if (editedState_ == ButtonState::Normal || !states_.Custom(editedState_)) return;
    BeginChange(SettingsHistory::Source::Other);
    states_.ClearCustom(editedState_);
    LoadStateButton();
    SetModified(true);
    UpdateStateControls();
    SyncControlsFromSettings();
    EndChange();
}

void TaboraWindow::OnRingColor() {
    if (editedState_ != ButtonState::Focus) return;
    StateDelta delta = states_.Delta(editedState_, settings());
    const std::optional<Color> chosen =
        Dialogs().ChooseColor(delta.focusRing.value_or(kDefaultFocusRing));
    if (!chosen) return;
    BeginChange(SettingsHistory::Source::Other);
    delta.focusRing = *chosen;
    states_.SetDelta(editedState_, delta, settings());
    SetModified(true);
    UpdateStateControls();
    RefreshPreview();
    EndChange();
}

void TaboraWindow::OnOpacityChange(int percent) {
    if (editedState_ == ButtonState::Normal) return;
    BeginChange(SettingsHistory::Source::StateOpacity);
    StateDelta delta = states_.Delta(editedState_, settings());
    MarkChanged(delta.opacity != percent);
    delta.opacity = percent;
    states_.SetDelta(editedState_, delta, settings());
    resetStateButton_->setEnabled(states_.Custom(editedState_));
    RefreshPreview();
    EndChange();
}

void TaboraWindow::OnTryIt(bool on) {
    {
        QSignalBlocker block(tryItCheck_);
        tryItCheck_->setChecked(on);
    }
    preview_->SetTryIt(on);
    // The focus chain passes over a control that takes no focus: the
    // preview joins it, after "Try it", once it can be tried.
    if (on) setTabOrder(tryItCheck_, preview_);
}

void TaboraWindow::OnAutoTextColor() {
    TaboraButton& edited = EditedButton();
    const double backdrop = edited.CaptionBackdropLuminance();
    if (backdrop < 0) return;  // no caption, nothing to read
    BeginChange(SettingsHistory::Source::Other);
    Color colour = BetterCaptionColor(backdrop);
    if (editedState_ == ButtonState::Normal &&
        (stateOutputs_.files || stateOutputs_.sprite || stateOutputs_.css)) {
        // The states go out with the button, so the colour must read in
        // them too, as the command line weighs them.
        ButtonSettings normal = settings();
        normal.textColor = colour;
        StateRenderer renderer(GetArchive());
        const StateSet set = renderer.Render(normal, states_, kAllStates, 1, false);
        ChooseCaptionColorForStates(set.pictures, normal);
        colour = normal.textColor;
    }
    MarkChanged(colour != edited.settings().textColor);
    edited.SetTextColor(colour);
    textColorSwatch_->SetColor(colour);
    RefreshPreview();
    EndChange();
}

void TaboraWindow::SetStateOutputs(const StateOutputs& outputs) {
    stateOutputs_ = outputs;
    for (auto [action, on] :
         {std::pair{stateFilesAction_, outputs.files}, std::pair{spriteAction_, outputs.sprite},
          std::pair{cssAction_, outputs.css}}) {
        QSignalBlocker block(action);
        action->setChecked(on);
    }
    preferences_.SetStateOutputs(outputs);
    UpdateCommands();
}

}  // namespace tabora
