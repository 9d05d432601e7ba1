#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <algorithm>

#include "app/Readouts.h"
#include "app/TaboraWindow.h"
#include "controls/AValueWnd.h"
#include "controls/CSizeComboBox.h"
#include "controls/ColorButton.h"
#include "controls/FontPopup.h"
#include "controls/FormatIconWnd.h"
#include "controls/MaskedImageWnd.h"
#include "controls/PreviewWnd.h"
#include "platform/qt/DialogHost.h"
#include "styles/Archive.h"
#include "styles/qt/ArchiveWnd.h"

namespace tabora {

namespace {
// The sizes every scalable font offers, in list order.
constexpr int kStandardSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48};

std::string FirstLine(const QString& text) {
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    return (end < 0 ? text : text.left(end)).toStdString();
}
}  // namespace

void TaboraWindow::BeginChange(SettingsHistory::Source source) {
    beforeChange_ = Design();
    changeSource_ = source;
    changeOpen_ = true;
}

void TaboraWindow::EndChange() {
    CommitStateEdit();
    if (changeOpen_ && !(Design() == beforeChange_)) history_.Record(beforeChange_, changeSource_);
    changeOpen_ = false;
    UpdateCommands();
}

void TaboraWindow::OnHScroll(QSlider* slider) {
    using Source = SettingsHistory::Source;
    bool changed = false;
    if (slider == sizeSlider_) {
        BeginChange(Source::SizeSlider);
        const int32_t p = slider->value();
        sizeValue_->SetValue(SizeReadout(p));
        changed = EditedButton().SetButtonSize(p);
    } else if (slider == hueSlider_) {
        BeginChange(Source::HueSlider);
        const int32_t p = slider->value();
        hueValue_->SetValue(HueReadout(p));
        changed = EditedButton().SetHueShift(p);
    } else if (slider == brightnessSlider_) {
        BeginChange(Source::BrightnessSlider);
        const int32_t v = slider->value() - kMaxBrightness;
        brightnessValue_->SetValue(BrightnessReadout(v));
        changed = EditedButton().SetBrightness(v);
    } else {
        return;
    }
    MarkChanged(changed);
    RefreshPreview();
    EndChange();
}

void TaboraWindow::OnShadowCheck() {
    BeginChange(SettingsHistory::Source::Other);
    MarkChanged(EditedButton().SetShadow(shadowCheck_->isChecked()));
    RefreshPreview();
    EndChange();
}

void TaboraWindow::OnAntialiasCheck() {
    BeginChange(SettingsHistory::Source::Other);
    MarkChanged(EditedButton().SetAntialias(antialiasCheck_->isChecked()));
    RefreshPreview();
    EndChange();
}

void TaboraWindow::OnTextShadowCheck() {
    BeginChange(SettingsHistory::Source::Other);
    MarkChanged(EditedButton().SetTextShadow(textShadowCheck_->isChecked()));
    RefreshPreview();
    EndChange();
}

void TaboraWindow::ChooseColorFor(ColorButton* swatch) {
    std::optional<Color> chosen = Dialogs().ChooseColor(swatch->color);
    if (chosen) {
        BeginChange(SettingsHistory::Source::Other);
        swatch->SetColor(*chosen);
        if (swatch == backgroundSwatch_)
            EditedButton().SetBackgroundColor(*chosen);
        else
            EditedButton().SetTextColor(*chosen);
        // Confirming the same colour still counts as a change.
        SetModified(true);
        EndChange();
    }
    RefreshPreview();
    client_->update();
}

void TaboraWindow::OnBackgroundColor() { ChooseColorFor(backgroundSwatch_); }
void TaboraWindow::OnTextColor() { ChooseColorFor(textColorSwatch_); }

void TaboraWindow::Nudge(int dx, int dy) {
    BeginChange(SettingsHistory::Source::Other);
    const Point offset = EditedSettings().textOffset;
    EditedButton().SetTextOffset({offset.x + dx, offset.y + dy});
    SetModified(true);
    RefreshPreview();
    EndChange();
}

void TaboraWindow::OnNudgeLeft() { Nudge(-1, 0); }
void TaboraWindow::OnNudgeUp() { Nudge(0, -1); }
void TaboraWindow::OnNudgeRight() { Nudge(1, 0); }
void TaboraWindow::OnNudgeDown() { Nudge(0, 1); }

void TaboraWindow::OnFontChange() {
    BeginChange(SettingsHistory::Source::Other);
    EditedButton().SetFontName(fontList_->currentText().toStdString());
    fontList_->SetSubstituteFor({});
    SetModified(true);
    RefreshPreview();
    // The new font's sizes; the chosen size stays.
    FillSizeList();
    EndChange();
}

void TaboraWindow::OnStyleChange() {
    BeginChange(SettingsHistory::Source::Other);
    MarkChanged(EditedButton().SetFontStyle(FontStyleOfIndex(styleList_->currentIndex())));
    RefreshPreview();
    EndChange();
}

void TaboraWindow::OnSizeChange() {
    BeginChange(SettingsHistory::Source::Other);
    const int32_t points = std::clamp<int32_t>(PointsOfHeight(sizeList_->GetHeight(-1)),
                                               INT16_MIN, INT16_MAX);
    MarkChanged(EditedButton().SetFontSize(int16_t(points)));
    RefreshPreview();
    EndChange();
}

void TaboraWindow::OnSizeTyped() {
    // Enter in the size field applies the typed size as if it were chosen:
    // an item with exactly that text is selected, anything else is read the
    // way the list reads text without a selection.
    const QString typed = sizeList_->currentText().trimmed();
    const int exact = sizeList_->findText(typed, Qt::MatchFixedString);
    {
        QSignalBlocker block(sizeList_);
        sizeList_->setCurrentIndex(exact);
        if (exact < 0) sizeList_->setEditText(typed);
    }
    OnSizeChange();
    SelectFontSizeText();
}

void TaboraWindow::OnCaptionChange() {
    BeginChange(SettingsHistory::Source::Caption);
    EditedButton().SetCaption(FirstLine(captionEdit_->text()));
    SetModified(true);
    RefreshPreview();
    EndChange();
}

void TaboraWindow::OnParentNotify(QPoint point) {
    QWidget* child = client_->childAt(point);
    if (!child) return;
    // The control the press is in (the left panel may lie in a scroll area).
    auto within = [child](QWidget* control) {
        return child == control || control->isAncestorOf(child);
    };
    if (within(archive_)) {
        // Only presses on the strip itself, not on its scroll bar.
        const QPoint inArchive = point - archive_->pos();
        if (!archive_->viewport()->geometry().contains(inArchive)) return;
        const int32_t x = inArchive.x() + archive_->ScrollX();
        const int32_t y = inArchive.y() + archive_->ScrollY();
        PickStyle(GetArchive().HitTest(x, y));
    } else {
        for (const FormatIcon& icon : formatIcons_) {
            if (!within(icon.picture)) continue;
            SaveAsFormat(icon.format->format);
            break;
        }
    }
}

void TaboraWindow::PickStyle(int32_t n) {
    if (n != 0 && !GetArchive().HasStyleData(n)) return;
    BeginChange(SettingsHistory::Source::Other);
    if (n > 0) MarkChanged(EditedButton().SetStyleNumber(int16_t(n)));
    // Every pick, also between entries, starts the adjustments afresh.
    MarkChanged(EditedButton().SetButtonSize(EditedButton().DefaultButtonSize()));
    SyncSizeControls();
    MarkChanged(EditedButton().SetHueShift(0));
    {
        QSignalBlocker block(hueSlider_);
        hueSlider_->setValue(0);
    }
    hueValue_->SetValue(0.0f);
    MarkChanged(EditedButton().SetBrightness(0));
    {
        QSignalBlocker block(brightnessSlider_);
        brightnessSlider_->setValue(kMaxBrightness);
    }
    brightnessValue_->SetValue(0.0f);
    preview_->update();
    EndChange();
    archive_->SetChosenStyle(EditedSettings().styleNumber);
    if (n > 0) archive_->SetHighlightedStyle(n, false);
}

void TaboraWindow::SyncSizeControls() {
    const int32_t size = EditedSettings().buttonSize;
    sizeValue_->SetValue(SizeReadout(size));
    QSignalBlocker block(sizeSlider_);
    sizeSlider_->setMaximum(kNaturalButtonSize + 2 * EditedButton().MaxExtraWidth());
    sizeSlider_->setValue(size);
}

void TaboraWindow::SelectFontSizeText() {
    const QString text = QString::number(EditedSettings().fontSize);
    const int index = sizeList_->FindPrefix(text);
    QSignalBlocker block(sizeList_);
    sizeList_->setCurrentIndex(index);
    if (index < 0) sizeList_->setEditText(text);
}

void TaboraWindow::SyncControlsFromSettings() {
    const ButtonSettings& s = EditedSettings();
    shadowCheck_->setChecked(s.shadow);
    antialiasCheck_->setChecked(s.antialias);
    textShadowCheck_->setChecked(s.textShadow);
    textColorSwatch_->SetColor(s.textColor);
    backgroundSwatch_->SetColor(s.backgroundColor);
    {
        QSignalBlocker block(hueSlider_);
        hueSlider_->setValue(s.hueShift);
    }
    hueValue_->SetValue(HueReadout(s.hueShift));
    {
        QSignalBlocker block(brightnessSlider_);
        brightnessSlider_->setValue(s.brightness + kMaxBrightness);
    }
    brightnessValue_->SetValue(BrightnessReadout(s.brightness));
    SyncSizeControls();
    archive_->SetChosenStyle(s.styleNumber);

    const QString fontName = QString::fromStdString(s.fontName);
    int fontIndex = fontList_->FindPrefix(fontName);
    if (fontIndex < 0 && !fontName.isEmpty() && fontList_->count() > 0) {
        // Not installed under that name: show the family the caption is
        // really drawn with ("Arial" is drawn with its metric twin).
        FontRecord record;
        record.faceName = s.fontName;
        if (auto font = Font::Create(record))
            fontIndex = fontList_->findText(QString::fromStdString(font->FamilyName()),
                                            Qt::MatchFixedString);
    }
    fontList_->setPlaceholderText(fontName);
    fontList_->setCurrentIndex(fontIndex);
    const bool substitute = fontIndex >= 0 && !fontName.isEmpty() &&
                            fontList_->currentText().compare(fontName, Qt::CaseInsensitive) != 0;
    fontList_->SetSubstituteFor(substitute ? fontName : QString());
    fontList_->setToolTip(fontIndex >= 0 && fontList_->currentText() != fontName
                              ? tr("%1 (shown with %2)").arg(fontName, fontList_->currentText())
                              : fontName);
    styleList_->setCurrentIndex(IndexOfFontStyle(s.fontStyle));
    SelectFontSizeText();

    const QString caption = QString::fromStdString(s.caption);
    if (captionEdit_->text() != caption) {
        QSignalBlocker block(captionEdit_);
        captionEdit_->setText(caption);
    }
    RefreshPreview();
}

void TaboraWindow::FillFontList() {
    fontList_->clear();
    for (const FontFamily& family : EnumerateFontFamilies()) {
        FontRecord record;
        record.faceName = family.name;
        fontList_->AddFont(record, family.type);
    }
    const bool any = fontList_->count() > 0;
    if (any) {
        fontList_->setCurrentIndex(0);
        FillSizeList();
    }
    fontList_->setEnabled(any);
    styleList_->setEnabled(any);
    sizeList_->setEnabled(any);
}

void TaboraWindow::FillSizeList() {
    QSignalBlocker block(sizeList_);
    sizeList_->clear();
    // The font layer scales every family, bitmap ones included, and reports
    // no separate bitmap sizes; so every family offers the standard sizes.
    for (int points : kStandardSizes) sizeList_->AddSize(points, 0);
    SelectFontSizeText();
}

void TaboraWindow::RestoreDesign(const DesignSnapshot& wanted) {
    const ButtonSettings target = WithExportOptionsOf(wanted.settings, settings());
    const bool normalChanged = !(target == settings());
    const ButtonSettings before = EditedSettings();
    // An undone state edit is shown in its state.
    if (!normalChanged && !(wanted.states == states_)) {
        for (ButtonState state : kAllStates) {
            if (!(wanted.states.Delta(state, target) == states_.Delta(state, target))) {
                editedState_ = state;
                break;
            }
        }
    }
    button().ApplySettings(target);
    states_ = wanted.states;
    LoadStateButton();
    UpdateStateControls();
    SyncControlsFromSettings();
    if (EditedSettings().fontName != before.fontName) FillSizeList();
    SetModified(!SameDesign(settings(), savedSettings_) || !(states_ == savedStates_));
}

void TaboraWindow::OnUndo() {
    if (auto target = history_.Undo(Design())) RestoreDesign(*target);
    UpdateCommands();
}

void TaboraWindow::OnRedo() {
    if (auto target = history_.Redo(Design())) RestoreDesign(*target);
    UpdateCommands();
}

}  // namespace tabora
