#include "controls/CSizeComboBox.h"

#include <QLineEdit>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/Fonts.h"

namespace tabora {

CSizeComboBox::CSizeComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setMaxLength(kMaxEditChars);
    // The list matches typed text by prefix itself; Qt's completer would
    // silently change the selection.
    setCompleter(nullptr);
}

int CSizeComboBox::FindPrefix(const QString& prefix) const {
    return findText(prefix, Qt::MatchStartsWith);
}

int CSizeComboBox::AddSize(int points, int32_t height) {
    if (height == 0) height = MulDiv(-kPixelsPerInch, points, 72);
    int index = 0;
    for (; index < count(); ++index) {
        int32_t h = GetHeight(index);
        if (h == height) return -1;
        if (height > 0 ? h > height : h < height) break;
    }
    insertItem(index, QString::number(points));
    setItemData(index, height, kHeightRole);
    return index;
}

int32_t CSizeComboBox::GetHeight(int index) const {
    if (index == -1) index = currentIndex();
    if (index == -1) {
        const QString text = currentText().left(kMaxEditChars);
        index = text.isEmpty() ? -1 : FindPrefix(text);
        if (index == -1) {
            // Like atof: the leading number counts, "12pt" is 12, "abc" is 0.
            const std::string typed = text.toStdString();
            double number = std::strtod(typed.c_str(), nullptr);
            if (!std::isfinite(number)) number = 0;
            // Whole points, halves rounded up; sizes past any sensible font
            // are held at the 16-bit limit of the setting.
            number = std::clamp(number, -32767.0, 32767.0);
            int32_t points = int32_t((int64_t(number * 10000) + 5000) / 10000);
            if (points != 0) return MulDiv(-kPixelsPerInch, points, 72);
            index = 0;
        }
    }
    QVariant data = itemData(index, kHeightRole);
    return data.isValid() ? data.toInt() : 0;
}

}  // namespace tabora
