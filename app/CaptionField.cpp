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

}  // namespace tabora
