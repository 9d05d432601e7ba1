#pragma once
#include <QComboBox>

namespace tabora {

// The editable font-size list. Each item's text is a point size; its value a
// font height in pixels: negative = character height (scalable sizes),
// positive = cell height (the sizes a raster font offers).
class CSizeComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CSizeComboBox(QWidget* parent = nullptr);

    // Inserts keeping the list ordered by height; a height already listed is
    // not added again (-1). Height 0 computes the character height of the
    // points.
    int AddSize(int points, int32_t height);
    // -1 means the current selection; with none, the item the edit text
    // starts, else the typed number as a character height.
    int32_t GetHeight(int index) const;
    // The first item that starts with `prefix`, or -1.
    int FindPrefix(const QString& prefix) const;

    static constexpr int kHeightRole = Qt::UserRole + 1;
    // The edit field takes this many characters: any size a person types,
    // and no paste of a paragraph.
    static constexpr int kMaxEditChars = 19;
};

}  // namespace tabora
