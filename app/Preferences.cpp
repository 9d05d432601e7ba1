#include "app/Preferences.h"

#include <QFileInfo>

#include "imaging/qt/OptionsDialogs.h"
#include "io/SettingsFields.h"

namespace tabora {

namespace {
const QString kRecentFiles = QStringLiteral("recentFiles");
const QString kOpenFolder = QStringLiteral("folders/open");
const QString kSaveFolder = QStringLiteral("folders/saveAs");
const QString kWindowPosition = QStringLiteral("window/position");
const QString kExportOptions = QStringLiteral("exportOptions/");
const QString kStateFiles = QStringLiteral("save/stateFiles");
const QString kSprite = QStringLiteral("save/sprite");
const QString kStyleSheet = QStringLiteral("save/css");
const QString kScale2 = QStringLiteral("save/scale2x");
const QString kScale3 = QStringLiteral("save/scale3x");
}  // namespace

// One store for every build and test program, named apart from the
// application name those programs may carry.
Preferences::Preferences() : store_(QStringLiteral("Tabora"), QStringLiteral("Tabora")) {}

QStringList Preferences::RecentFiles() const {
    QStringList files;
    for (const QString& path : store_.value(kRecentFiles).toStringList())
        if (QFileInfo(path).isFile()) files << path;
    return files;
}

void Preferences::AddRecentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = store_.value(kRecentFiles).toStringList();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > kMaxRecentFiles) files.removeLast();
    store_.setValue(kRecentFiles, files);
}

void Preferences::ClearRecentFiles() { store_.remove(kRecentFiles); }

QString Preferences::LastOpenFolder() const { return store_.value(kOpenFolder).toString(); }
void Preferences::SetLastOpenFolder(const QString& folder) { store_.setValue(kOpenFolder, folder); }
QString Preferences::LastSaveFolder() const { return store_.value(kSaveFolder).toString(); }
void Preferences::SetLastSaveFolder(const QString& folder) { store_.setValue(kSaveFolder, folder); }

std::optional<QPoint> Preferences::WindowPosition() const {
    const QVariant stored = store_.value(kWindowPosition);
    if (!stored.canConvert<QPoint>()) return {};
    return stored.toPoint();
}

void Preferences::SetWindowPosition(QPoint position) { store_.setValue(kWindowPosition, position); }

void Preferences::ReadExportOptions(ButtonSettings& settings) const {
    for (const SettingField& field : SettingFields()) {
        if (!field.exportOption) continue;
        const QVariant stored = store_.value(kExportOptions + QString::fromLatin1(field.key));
        if (!stored.isValid()) continue;
        if (field.kind == FieldKind::Switch) {
            field.set(settings, stored.toBool());
        } else if (field.kind == FieldKind::Integer) {
            bool ok = false;
            const int value = stored.toInt(&ok);
            if (ok && value >= field.min && value <= field.max) field.set(settings, int32_t(value));
        }
    }
}

void Preferences::WriteExportOptions(const ButtonSettings& settings) {
    for (const SettingField& field : SettingFields()) {
        if (!field.exportOption) continue;
        const FieldValue value = field.get(settings);
        const QString key = kExportOptions + QString::fromLatin1(field.key);
        if (const bool* on = std::get_if<bool>(&value))
            store_.setValue(key, *on);
        else if (const int32_t* number = std::get_if<int32_t>(&value))
            store_.setValue(key, *number);
    }
}

StateOutputs Preferences::SavedStateOutputs() const {
    return {store_.value(kStateFiles, false).toBool(), store_.value(kSprite, false).toBool(),
            store_.value(kStyleSheet, false).toBool()};
}

void Preferences::SetStateOutputs(const StateOutputs& outputs) {
    store_.setValue(kStateFiles, outputs.files);
    store_.setValue(kSprite, outputs.sprite);
    store_.setValue(kStyleSheet, outputs.css);
}

ExtraScales Preferences::SavedExtraScales() const {
    return {store_.value(kScale2, false).toBool(), store_.value(kScale3, false).toBool()};
}

void Preferences::SetExtraScales(const ExtraScales& scales) {
    store_.setValue(kScale2, scales.two);
    store_.setValue(kScale3, scales.three);
}

}  // namespace tabora
