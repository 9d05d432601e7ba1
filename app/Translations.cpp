#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace tabora {

namespace {
// Where the build puts the compiled translations among the resources.
const QString kOurFolder = QStringLiteral(":/i18n");

std::unique_ptr<QTranslator>& Ours() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}
std::unique_ptr<QTranslator>& Qts() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}
}  // namespace

bool InstallTranslations(const QLocale& locale) {
    RemoveTranslations();
    auto ours = std::make_unique<QTranslator>();
    if (!ours->load(locale, QStringLiteral("tabora"), QStringLiteral("_"), kOurFolder))
        return false;
    QCoreApplication::installTranslator(ours.get());
    Ours() = std::move(ours);
    // The standard buttons and the file dialog in the same language.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        Qts() = std::move(qt);
    }
    return true;
}

void RemoveTranslations() {
    for (auto* translator : {&Ours(), &Qts()}) {
        if (*translator) QCoreApplication::removeTranslator(translator->get());
        translator->reset();
    }
}

}  // namespace tabora
