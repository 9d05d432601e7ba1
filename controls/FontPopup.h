#pragma once
#include <QComboBox>
#include <QPixmap>

#include "platform/Fonts.h"

namespace tabora {

// What each font-list item carries: the enumeration's type bits (1 raster,
// 4 TrueType) and the family's font record.
struct FontItem {
    uint32_t fontType = 0;
    FontRecord record;
};

// The font-family list: sorted, each item with the TrueType sign when the
// family is scalable.
class FontPopup : public QComboBox {
    Q_OBJECT
public:
    explicit FontPopup(QWidget* parent = nullptr);

    // Adds a family unless an item already starts with its whole name (letter
    // case ignored); returns the new index or -1.
    int AddFont(const FontRecord& record, uint32_t fontType);
    // -1 means the current selection; with none, the item found by a prefix
    // search for the control's text, or item 0.
    FontItem GetFontItem(int index) const;
    // The first item that starts with `prefix`, letter case ignored, or -1.
    int FindPrefix(const QString& prefix) const;

    // The font the button asks for when the list shows the family drawn in
    // its stead; the closed list then says so beside the family ("Liberation
    // Sans (for Arial)"). Empty when the shown family is the one asked for.
    void SetSubstituteFor(const QString& requested);
    const QString& SubstituteFor() const { return substituteFor_; }
    // What the closed list shows.
    QString ShownText() const;

    // Wide enough for the longest name, however narrow the closed list.
    void showPopup() override;

    static constexpr int kItemRole = Qt::UserRole + 1;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString substituteFor_;
    QPixmap trueTypeGlyph_;
    QPixmap blankGlyph_;
};

}  // namespace tabora

Q_DECLARE_METATYPE(tabora::FontItem)
