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

namespace {

// Rounded down, so a ratio just short of the mark never reads as reaching it.
QString Ratio(double contrast) { return QString::number(double(int(contrast * 10)) / 10, 'f', 1); }

}  // namespace

QString CaptionCheckHint(int32_t overflow, double contrast, double required) {
    if (overflow > 0) {
        return QCoreApplication::translate("tabora::CaptionField",
                                           "Caption runs %1 px past the body")
            .arg(overflow);
    }
    if (contrast <= 0) return {};
    const QString ratio = Ratio(contrast);
    if (contrast >= required)
        return QCoreApplication::translate("tabora::CaptionField", "Contrast %1:1 ✓").arg(ratio);
    return QCoreApplication::translate("tabora::CaptionField", "Contrast %1:1 ✗ needs %2:1")
        .arg(ratio, QString::number(required, 'f', 1));
}

QString MissingCharactersBrief(const std::vector<char32_t>& missing) {
    if (missing.empty()) return {};
    return QString::fromStdString(CodePointName(missing.front())) +
           (missing.size() > 1 ? QStringLiteral("\u2026") : QString());
}

QString CaptionCheckBrief(int32_t overflow, double contrast, double required) {
    if (overflow > 0) return QStringLiteral("+%1 px \u2717").arg(overflow);
    if (contrast <= 0) return {};
    return Ratio(contrast) +
           (contrast >= required ? QStringLiteral(":1 \u2713") : QStringLiteral(":1 \u2717"));
}

void ReadOutLabel::SetTexts(const QString& whole, const QString& brief) {
    if (whole == whole_ && brief == brief_) return;
    whole_ = whole;
    brief_ = brief.isEmpty() ? whole : brief;
    // Measured as the label draws them, frame and padding included.
    QLabel::setText(brief_);
    briefSize_ = QLabel::sizeHint();
    QLabel::setText(whole_);
    wholeSize_ = QLabel::sizeHint();
    updateGeometry();
    ShowFitting();
}

void ReadOutLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    ShowFitting();
}

void ReadOutLabel::ShowFitting() {
    const QString& fitting = width() >= wholeSize_.width() ? whole_ : brief_;
    if (text() != fitting) QLabel::setText(fitting);
}

}  // namespace tabora
