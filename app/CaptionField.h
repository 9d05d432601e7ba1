#pragma once
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

}  // namespace tabora
