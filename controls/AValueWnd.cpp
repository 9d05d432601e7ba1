#include "controls/AValueWnd.h"

#include <QPainter>
#include <array>
#include <cmath>

namespace tabora {

namespace {

constexpr std::array<const char*, AValueWnd::kGlyphCount> kGlyphNames = {
    "zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine",
    "lparen", "rparen", "decimal", "percent", "degree", "minus", "plus"};

constexpr std::array<char, AValueWnd::kGlyphCount> kGlyphChars = {
    '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '(', ')', '.', '%', '\xB0', '-', '+'};

// Loaded once per process, on the first read-out created.
const std::array<ScreenPicture, AValueWnd::kGlyphCount>& Glyphs() {
    static const auto glyphs = [] {
        std::array<ScreenPicture, AValueWnd::kGlyphCount> table;
        for (size_t i = 0; i < table.size(); ++i) LoadScreenPicture(table[i], kGlyphNames[i], true);
        return table;
    }();
    return glyphs;
}

// The tenths of the value as the read-out counts them: the float widened to
// double, multiplied by 10, truncated toward zero and kept as 16 bits. The
// read-outs of the program stay far inside that range; anything beyond it is
// held at the ends instead of overflowing.
int16_t TenthsOf(float value) {
    double tenths = std::trunc(double(value) * 10.0);
    if (!(tenths == tenths)) return 0;  // NaN
    if (tenths > 32767.0) return 32767;
    if (tenths < -32768.0) return -32768;
    return int16_t(tenths);
}

}  // namespace

AValueWnd::AValueWnd(QWidget* parent) : QWidget(parent) {
    Glyphs();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const ArgbImage& AValueWnd::GlyphImage(int glyph) { return Glyphs()[size_t(glyph)].one; }

void AValueWnd::SetValue(float newValue) {
    value = newValue;
    setAccessibleName(Text());
    repaint();
}

std::vector<int> AValueWnd::GlyphSequence() const {
    std::vector<int> glyphs;
    if (parentheses) glyphs.push_back(kLParen);
    int32_t n = TenthsOf(value);
    if (n < 0) {
        glyphs.push_back(kMinus);
        n = -n;
    } else if (plusSign) {
        glyphs.push_back(kPlus);
    }
    if (n < 10) {
        glyphs.push_back(kZero);
    } else {
        // Only the four lowest decimal places take part: 1234.5 shows 234.5.
        int32_t d = 1000;
        while ((n / d) % 10 == 0 && d > 1) d /= 10;
        for (; d >= 10; d /= 10) glyphs.push_back(kZero + (n / d) % 10);
    }
    if (oneDecimal) {
        glyphs.push_back(kDecimal);
        glyphs.push_back(kZero + n % 10);
    }
    if (percentSign) glyphs.push_back(kPercent);
    if (degreeSign) glyphs.push_back(kDegree);
    if (parentheses) glyphs.push_back(kRParen);
    return glyphs;
}

QString AValueWnd::Text() const {
    QString text;
    for (int glyph : GlyphSequence())
        text += glyph == kDegree ? QChar(0x00B0) : QChar::fromLatin1(kGlyphChars[size_t(glyph)]);
    return text;
}

void AValueWnd::paintEvent(QPaintEvent*) {
    // The read-outs sit on the window's face, so their own background is the
    // face colour and the digits blend into it.
    canvas_.Begin(width(), height(), palette().color(QPalette::Button));
    int x = 0;
    for (int glyph : GlyphSequence()) {
        const ScreenPicture& picture = Glyphs()[size_t(glyph)];
        canvas_.Draw(picture, x, 0);
        x += picture.Width() + 1;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), canvas_.Image());
}

}  // namespace tabora
