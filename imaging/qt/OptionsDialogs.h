#pragma once
#include <QDialog>
#include <vector>

class QCheckBox;
class QLabel;
class QSlider;

namespace tabora {

struct FormatEntry;
class TaboraButton;

// The finer pictures a save writes beside the 1x file, each named with its
// "@2x" or "@3x" (ScaledPath): not a setting of the button, so its files
// stay as they are; the window remembers the choice between runs.
struct ExtraScales {
    bool two = false;
    bool three = false;
    std::vector<int> List() const;
};

// The export options dialog of a format, made from what its registry row
// says it offers: removing the background, a quality, and the room for the
// shadow that every format has. It keeps no values of its own: it reads the
// button's settings when it opens and writes back on OK; cancelling (Escape,
// or the close box where there is one) changes nothing.
class ExportOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // With `scales`, the dialog also offers the finer pictures and writes the
    // choice back on OK.
    ExportOptionsDialog(TaboraButton& owner, const FormatEntry& format, QWidget* parent = nullptr,
                        ExtraScales* scales = nullptr);

    QCheckBox* removeBackgroundCheck() const { return removeBackground_; }
    QCheckBox* includeShadowAreaCheck() const { return includeShadowArea_; }
    QSlider* qualitySlider() const { return quality_; }
    QCheckBox* losslessCheck() const { return lossless_; }
    QCheckBox* smallestFileCheck() const { return smallest_; }
    QCheckBox* scaleCheck(int scale) const { return scale == 2 ? scale2_ : scale == 3 ? scale3_ : nullptr; }
    QLabel* qualityValue() const { return qualityValue_; }

    // Whether the dialog would show anything for this button: with the
    // shadow drawn the shadow area is part of the picture anyway, and a
    // format with nothing else to offer has no dialog then.
    static bool HasOptions(const TaboraButton& owner, const FormatEntry& format);

    // OK: store what differs; switching the shadow area on makes the button
    // build its shadow mask again.
    void accept() override;

private:
    TaboraButton& owner_;
    QCheckBox* removeBackground_ = nullptr;   // 500, formats that keep transparency
    QSlider* quality_ = nullptr;              // 500, formats with a quality
    QCheckBox* lossless_ = nullptr;           // formats that can also be lossy
    QCheckBox* smallest_ = nullptr;           // formats that make a smallest file
    QLabel* qualityValue_ = nullptr;          // its number
    QCheckBox* includeShadowArea_ = nullptr;  // 501, all
    ExtraScales* scales_ = nullptr;
    QCheckBox* scale2_ = nullptr;
    QCheckBox* scale3_ = nullptr;
};

}  // namespace tabora
