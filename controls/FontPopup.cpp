#include "controls/FontPopup.h"

#include <QAbstractItemView>
#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

#include "platform/qt/QtImages.h"

namespace tabora {

namespace {

// The TrueType sign is 20 × 12 pixels; the list shows it in front of the name.
constexpr int kGlyphWidth = 20;
constexpr int kGlyphHeight = 12;

// The sign with its top-left pixel's colour made transparent.
QPixmap LoadTrueTypeGlyph() {
    ScreenPicture glyph;
    if (!LoadScreenPicture(glyph, "ttype", false) || glyph.Width() == 0) return {};
    QImage image = ToQImage(glyph.fine.Width() > 0 ? glyph.fine : glyph.one);
    const QRgb key = image.pixel(0, 0) & 0x00FFFFFFu;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0x00FFFFFFu) == key) image.setPixel(x, y, 0);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(qreal(image.width()) / glyph.Width());
    return pixmap;
}

}  // namespace

FontPopup::FontPopup(QWidget* parent) : QComboBox(parent) {
    trueTypeGlyph_ = LoadTrueTypeGlyph();
    blankGlyph_ = QPixmap(kGlyphWidth, kGlyphHeight);
    blankGlyph_.fill(Qt::transparent);
    setIconSize(QSize(kGlyphWidth, kGlyphHeight));
    setEditable(false);
}

int FontPopup::FindPrefix(const QString& prefix) const {
    return findText(prefix, Qt::MatchStartsWith);
}

int FontPopup::AddFont(const FontRecord& record, uint32_t fontType) {
    const QString name = QString::fromStdString(record.faceName);
    if (name.isEmpty() || FindPrefix(name) >= 0) return -1;
    // Sorted as a reader expects a list of names: letter case ignored.
    int index = 0;
    while (index < count() && QString::compare(itemText(index), name, Qt::CaseInsensitive) <= 0)
        ++index;
    const bool trueType = (fontType & kTrueTypeFontType) != 0;
    insertItem(index, trueType ? QIcon(trueTypeGlyph_) : QIcon(blankGlyph_), name);
    setItemData(index, QVariant::fromValue(FontItem{fontType, record}), kItemRole);
    setItemData(index, trueType ? tr("%1 (scalable)").arg(name) : name, Qt::AccessibleTextRole);
    // The whole name on hover, where the list is too narrow for it.
    setItemData(index, name, Qt::ToolTipRole);
    return index;
}

void FontPopup::SetSubstituteFor(const QString& requested) {
    if (requested == substituteFor_) return;
    substituteFor_ = requested;
    update();
}

QString FontPopup::ShownText() const {
    if (substituteFor_.isEmpty() || currentIndex() < 0) return currentText();
    return tr("%1 (for %2)").arg(currentText(), substituteFor_);
}

void FontPopup::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = ShownText();
    if (!substituteFor_.isEmpty() && currentIndex() >= 0) {
        // The mark must stay readable in the narrow list: the family's name
        // gives way first ("Liberat… (for Arial)").
        QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                              QStyle::SC_ComboBoxEditField, this);
        const int room = field.width() - option.iconSize.width() - 4;
        const QString mark = tr("%1 (for %2)").arg(QString(), substituteFor_);
        const QString family =
            fontMetrics().elidedText(currentText(), Qt::ElideRight,
                                     std::max(0, room - fontMetrics().horizontalAdvance(mark)));
        option.currentText = tr("%1 (for %2)").arg(family, substituteFor_);
    }
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void FontPopup::showPopup() {
    int widest = 0;
    const QFontMetrics metrics = view()->fontMetrics();
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    // The sign, the item's margins and the scroll bar beside the names.
    const int frame = 4 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 16;
    int wanted =
        widest + iconSize().width() + frame + view()->verticalScrollBar()->sizeHint().width();
    if (const QScreen* shown = screen())
        wanted = std::min(wanted, shown->availableGeometry().width());
    view()->setMinimumWidth(std::max(wanted, width()));
    QComboBox::showPopup();
}

FontItem FontPopup::GetFontItem(int index) const {
    if (index == -1) index = currentIndex();
    if (index == -1) {
        index = FindPrefix(currentText());
        if (index == -1) index = 0;
    }
    QVariant data = itemData(index, kItemRole);
    return data.isValid() ? data.value<FontItem>() : FontItem{};
}

}  // namespace tabora
