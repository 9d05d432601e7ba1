#pragma once
#include <QLabel>
#include <QString>
#include <QValidator>
#include <vector>

namespace tabora {

// Keeps the caption field to what the button draws: one line (a paste of
// several keeps the first line of what was pasted) of at most the 255
// bytes of UTF-8 a saved file holds. An edit that would make it longer is
// refused whole, never cut later.
class CaptionValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// The hint under the caption field for characters no installed font has
// ("No font has U+0378"); empty when there are none.
QString MissingCharactersHint(const std::vector<char32_t>& missing);
// Its brief form: the first of them ("U+0378\u2026" when there are more).
QString MissingCharactersBrief(const std::vector<char32_t>& missing);

// The quiet word under the caption field on whether the caption will ship
// well: how far it runs past the body, else its contrast with the body under
// it and a pass mark ("Contrast 7.1:1 \u2713", "Contrast 2.0:1 \u2717 needs
// 4.5:1"). Empty without a caption (`contrast` 0).
QString CaptionCheckHint(int32_t overflow, double contrast, double required);

// The same in a few characters for a crowded bar: the ratio and its mark
// ("7.1:1 \u2713"), or the overflow ("+12 px \u2717").
QString CaptionCheckBrief(int32_t overflow, double contrast, double required);

// A read-out with a brief form for when its whole text does not fit the
// room a layout gives it. It asks for the room of the whole text and needs
// only that of the brief one.
class ReadOutLabel : public QLabel {
public:
    using QLabel::QLabel;
    void SetTexts(const QString& whole, const QString& brief);
    const QString& wholeText() const { return whole_; }
    QSize sizeHint() const override { return wholeSize_; }
    QSize minimumSizeHint() const override { return briefSize_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowFitting();
    QString whole_, brief_;
    QSize wholeSize_, briefSize_;
};

}  // namespace tabora
