#pragma once
#include <QDialog>
#include <QString>
#include <string>

#include "platform/qt/DialogHost.h"

namespace tabora {

// The dialog host of the desktop application: real Qt dialogs, each modal.
class QtDialogHost : public DialogHost {
public:
    void ShowMessage(const std::string& text) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    std::optional<Color> ChooseColor(Color initial) override;
    bool Ask(Prompt prompt) override;
};

// "desc|*.a;*.b|desc2|*.c||" in Qt's form "desc (*.a *.b);;desc2 (*.c)".
// A description that already names its patterns in parentheses keeps its text.
QString QtFilterFromBars(const std::string& filter);
// The extension of the first pattern of one Qt filter entry ("gif" for
// "GIF File (*.gif)"), or empty.
QString FirstExtensionOfFilter(const QString& entry);

// The "Open Without Saving?" and "Quit Without Saving?" questions: a line of
// text, the No button first (also Escape), the Yes button the default.
class PromptDialog : public QDialog {
    Q_OBJECT
public:
    explicit PromptDialog(Prompt prompt, QWidget* parent = nullptr);
    static QString CaptionOf(Prompt prompt);
    static QString TextOf(Prompt prompt);
    static QString NoLabelOf(Prompt prompt);
    static QString YesLabelOf(Prompt prompt);
};

}  // namespace tabora
