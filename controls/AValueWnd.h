#pragma once
#include <QWidget>
#include <vector>

#include "platform/qt/QtImages.h"

namespace tabora {

// A numeric read-out drawn with small digit pictures (the slider values).
class AValueWnd : public QWidget {
    Q_OBJECT
public:
    // Indices into the glyph table, in the order of its resources.
    enum Glyph {
        kZero = 0, kLParen = 10, kRParen, kDecimal, kPercent, kDegree, kMinus, kPlus,
        kGlyphCount
    };

    explicit AValueWnd(QWidget* parent = nullptr);

    float value = 0.0f;
    bool parentheses = true;
    bool percentSign = false;
    bool degreeSign = false;
    bool oneDecimal = false;
    bool plusSign = false;

    // Stores the value and repaints at once.
    void SetValue(float newValue);
    // The glyphs the current value and flags draw, left to right.
    std::vector<int> GlyphSequence() const;
    // The same as text ("+9.6%"), for tests and the accessible name.
    QString Text() const;

    // The 1x picture of a glyph; a finer screen shows its finer twin.
    static const ArgbImage& GlyphImage(int glyph);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BlendCanvas canvas_;
};

}  // namespace tabora
