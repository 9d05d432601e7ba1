#pragma once
#include <QDialog>

class QCheckBox;
class QSlider;

namespace tabora {

class TaboraButton;

// The export options dialogs. They keep no values of their own: they read
// the button's settings when they open and write back on OK; cancelling
// (Escape, or the close box where there is one) changes nothing.
class ExportOptionsDialog : public QDialog {
    Q_OBJECT
public:
    QCheckBox* removeBackgroundCheck() const { return removeBackground_; }
    QCheckBox* includeShadowAreaCheck() const { return includeShadowArea_; }
    QSlider* qualitySlider() const { return quality_; }

    // OK: store what differs; switching the shadow area on makes the button
    // build its shadow mask again.
    void accept() override;

protected:
    enum Kind { kGif, kPng, kJpeg, kBmp };
    ExportOptionsDialog(TaboraButton& owner, Kind kind, QWidget* parent);

private:
    TaboraButton& owner_;
    QCheckBox* removeBackground_ = nullptr;   // 500, GIF and PNG
    QSlider* quality_ = nullptr;              // 500, JPEG
    QCheckBox* includeShadowArea_ = nullptr;  // 501, all four
};

class GIFOptionsDialog : public ExportOptionsDialog {
    Q_OBJECT
public:
    explicit GIFOptionsDialog(TaboraButton& owner, QWidget* parent = nullptr)
        : ExportOptionsDialog(owner, kGif, parent) {}
};

class PNGOptionsDialog : public ExportOptionsDialog {
    Q_OBJECT
public:
    explicit PNGOptionsDialog(TaboraButton& owner, QWidget* parent = nullptr)
        : ExportOptionsDialog(owner, kPng, parent) {}
};

class JPGOptionsDialog : public ExportOptionsDialog {
    Q_OBJECT
public:
    explicit JPGOptionsDialog(TaboraButton& owner, QWidget* parent = nullptr)
        : ExportOptionsDialog(owner, kJpeg, parent) {}
};

class BMPOptionsDialog : public ExportOptionsDialog {
    Q_OBJECT
public:
    explicit BMPOptionsDialog(TaboraButton& owner, QWidget* parent = nullptr)
        : ExportOptionsDialog(owner, kBmp, parent) {}
};

}  // namespace tabora
