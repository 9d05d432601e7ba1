#include "app/CaptionField.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include "io/ButtonSettings.h"
#include "platform/Fonts.h"

namespace tabora {

QValidator::State CaptionValidator::validate(QString& input, int& pos) const {
    const qsizetype lineBreak = input.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    if (lineBreak >= 0) {
        // The cursor stands after what was just typed or pasted: drop the
        // rest of that from its first line break on, keep what follows.
        const qsizetype end = pos > lineBreak ? pos : input.size();
        input.remove(lineBreak, end - lineBreak);
        pos = int(lineBreak);
    }
    return input.toUtf8().size() <= qsizetype(kMaxSettingText) ? Acceptable : Invalid;
}

QString MissingCharactersHint(const std::vector<char32_t>& missing) {
    if (missing.empty()) return {};
    // The field is narrow: code points only (the characters themselves have
    // no font to show them in anyway).
    QStringList names;
    for (char32_t cp : missing) names << QString::fromStdString(CodePointName(cp));
    return QCoreApplication::translate("tabora::CaptionField", "No font has %1")
        .arg(names.join(QStringLiteral(", ")));
}

QString CaptionCheckHint(int32_t overflow, double contrast, double required) {
    if (overflow > 0) return QStringLiteral("Caption runs %1 px past the body").arg(overflow);
    if (contrast <= 0) return {};
    // Rounded down, so a ratio just short of the mark never reads as reaching it.
    const QString ratio = QString::number(double(int(contrast * 10)) / 10, 'f', 1);
    if (contrast >= required) return QStringLiteral("Contrast %1:1 \u2713").arg(ratio);
    return QStringLiteral("Contrast %1:1 \u2717 needs %2:1")
        .arg(ratio, QString::number(required, 'f', 1));
}

}  // namespace tabora
