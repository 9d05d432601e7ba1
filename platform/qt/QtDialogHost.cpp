#include "platform/qt/QtDialogHost.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "controls/ColorChooser.h"
#include "platform/qt/ModalRunner.h"

namespace tabora {

namespace {

QWidget* DialogParent() { return QApplication::activeWindow(); }

}  // namespace

QString QtFilterFromBars(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        if (description.isEmpty()) break;  // the "||" that ends the list
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        if (description.contains(u'(' + patterns + u')'))
            entries << description;
        else
            entries << description + QStringLiteral(" (") + patterns + QChar(u')');
    }
    return entries.join(u";;");
}

QString FirstExtensionOfFilter(const QString& entry) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    auto match = pattern.match(entry);
    return match.hasMatch() ? match.captured(1) : QString();
}

void QtDialogHost::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, PromptDialog::tr("Tabora"), QString::fromStdString(text),
                    QMessageBox::Ok, DialogParent());
    RunModal(box);
}

std::optional<std::string> QtDialogHost::ChooseFile(const FileDialogRequest& request) {
    QFileDialog dialog(DialogParent());
    QString title = QString::fromStdString(request.title);
    if (title.isEmpty())
        title = request.save ? PromptDialog::tr("Save As") : PromptDialog::tr("Open");
    dialog.setWindowTitle(title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    dialog.setNameFilters(QtFilterFromBars(request.filter).split(QStringLiteral(";;")));
    if (!request.defaultExtension.empty()) {
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
        // A name typed without extension takes the type the user picked in the
        // list, so the picked type and the written format agree.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& entry) {
                             QString extension = FirstExtensionOfFilter(entry);
                             if (!extension.isEmpty()) dialog.setDefaultSuffix(extension);
                         });
    }
    if (!request.directory.empty()) dialog.setDirectory(QString::fromStdString(request.directory));
    if (!request.initialName.empty())
        dialog.selectFile(QString::fromStdString(request.initialName));
    if (RunModal(dialog) != QDialog::Accepted) return {};
    QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return {};
    return files.front().toStdString();
}

std::optional<Color> QtDialogHost::ChooseColor(Color initial) {
    ColorChooser chooser(initial, DialogParent());
    if (RunModal(chooser) != QDialog::Accepted) return {};
    return chooser.GetColor();
}

bool QtDialogHost::Ask(Prompt prompt) {
    PromptDialog dialog(prompt, DialogParent());
    return RunModal(dialog) == QDialog::Accepted;
}

QString PromptDialog::CaptionOf(Prompt prompt) {
    return prompt == Prompt::OpenWithoutSaving ? tr("Open Without Saving?")
                                               : tr("Quit Without Saving?");
}

QString PromptDialog::TextOf(Prompt prompt) {
    return prompt == Prompt::OpenWithoutSaving
               ? tr("Open a button file without saving your current button?")
               : tr("Quit without saving your current button?");
}

QString PromptDialog::NoLabelOf(Prompt prompt) {
    return prompt == Prompt::OpenWithoutSaving ? tr("No, Don't Open") : tr("No, Don't Quit");
}

QString PromptDialog::YesLabelOf(Prompt prompt) {
    return prompt == Prompt::OpenWithoutSaving ? tr("Yes, Open") : tr("Yes, Quit");
}

PromptDialog::PromptDialog(Prompt prompt, QWidget* parent) : QDialog(parent) {
    // A title bar without a close box: the two buttons (and Escape) answer.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(CaptionOf(prompt));
    auto* text = new QLabel(TextOf(prompt), this);
    text->setObjectName(QStringLiteral("text"));
    auto* no = new QPushButton(NoLabelOf(prompt), this);
    no->setObjectName(QStringLiteral("noButton"));
    no->setAutoDefault(false);
    auto* yes = new QPushButton(YesLabelOf(prompt), this);
    yes->setObjectName(QStringLiteral("yesButton"));
    yes->setDefault(true);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(no);
    buttons->addStretch(2);
    buttons->addWidget(yes);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(18);
    layout->addWidget(text);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

}  // namespace tabora
