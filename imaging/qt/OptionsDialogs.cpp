#include "imaging/qt/OptionsDialogs.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "imaging/Formats.h"
#include "render/TaboraButton.h"

namespace tabora {

namespace {
// The slider's width: 105 pixels between "LOW" and "HIGH", room enough to set
// the quality within a step or two.
constexpr int kQualitySliderWidth = 105;

}  // namespace

bool ExportOptionsDialog::HasOptions(const TaboraButton& owner, const FormatEntry& format) {
    return format.keepsTransparency || format.hasQuality || format.offersSmallest ||
           format.offersLossy || !owner.settings().shadow;
}

std::vector<int> ExtraScales::List() const {
    std::vector<int> scales;
    if (two) scales.push_back(2);
    if (three) scales.push_back(3);
    return scales;
}

ExportOptionsDialog::ExportOptionsDialog(TaboraButton& owner, const FormatEntry& format,
                                         QWidget* parent, ExtraScales* scales)
    : QDialog(parent), owner_(owner), scales_(scales) {
    // Some formats' dialogs have a close box; the others only their OK
    // button (and Escape).
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (format.optionsCloseBox) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    setWindowTitle(tr("%1 Options").arg(QString::fromLatin1(format.label)));
    const ButtonSettings& settings = owner.settings();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(15, 14, 15, 12);
    layout->setSpacing(6);

    if (format.keepsTransparency) {
        removeBackground_ = new QCheckBox(tr("Remove Background From Image"), this);
        removeBackground_->setObjectName(QStringLiteral("removeBackgroundCheck"));
        removeBackground_->setChecked(settings.removeBackground);
        layout->addWidget(removeBackground_);
    }
    if (format.offersLossy) {
        lossless_ = new QCheckBox(tr("Lossless, Every Pixel Exact"), this);
        lossless_->setObjectName(QStringLiteral("losslessCheck"));
        lossless_->setChecked(!settings.lossy);
        layout->addWidget(lossless_);
    }
    if (format.hasQuality) {
        auto* row = new QHBoxLayout;
        auto* title = new QLabel(tr("%1 Quality:").arg(QString::fromLatin1(format.label)), this);
        auto* low = new QLabel(tr("LOW"), this);
        auto* high = new QLabel(tr("HIGH"), this);
        quality_ = new QSlider(Qt::Horizontal, this);
        quality_->setObjectName(QStringLiteral("qualitySlider"));
        quality_->setTickPosition(QSlider::NoTicks);
        quality_->setRange(0, kMaxJpegQuality);
        quality_->setValue(settings.jpegQuality);
        quality_->setFixedWidth(kQualitySliderWidth);
        quality_->setAccessibleName(tr("%1 quality").arg(QString::fromLatin1(format.label)));
        row->addWidget(title);
        row->addStretch(1);
        row->addWidget(low);
        row->addWidget(quality_);
        row->addWidget(high);
        // The number the slider stands at, wide enough for "100".
        qualityValue_ = new QLabel(this);
        qualityValue_->setObjectName(QStringLiteral("qualityValue"));
        qualityValue_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        qualityValue_->setMinimumWidth(
            qualityValue_->fontMetrics().horizontalAdvance(QString::number(kMaxJpegQuality)));
        const auto showQuality = [this](int value) {
            qualityValue_->setText(QString::number(value));
            quality_->setAccessibleDescription(
                tr("Quality %1 of %2").arg(value).arg(kMaxJpegQuality));
        };
        showQuality(quality_->value());
        connect(quality_, &QSlider::valueChanged, this, showQuality);
        row->addWidget(qualityValue_);
        layout->addLayout(row);
        // A lossless file has no quality to choose.
        if (lossless_) {
            auto follow = [this, title, low, high](bool lossless) {
                for (QWidget* part : {static_cast<QWidget*>(title), static_cast<QWidget*>(low),
                                      static_cast<QWidget*>(high), static_cast<QWidget*>(quality_)})
                    part->setEnabled(!lossless);
            };
            follow(lossless_->isChecked());
            connect(lossless_, &QCheckBox::toggled, this, follow);
        }
    }
    if (format.offersSmallest) {
        smallest_ = new QCheckBox(tr("Smallest File, Same Pixels (Slower)"), this);
        smallest_->setObjectName(QStringLiteral("smallestFileCheck"));
        smallest_->setChecked(settings.optimize);
        layout->addWidget(smallest_);
    }
    includeShadowArea_ = new QCheckBox(tr("Include Blank Area Where Shadow Would Be"), this);
    includeShadowArea_->setObjectName(QStringLiteral("includeShadowAreaCheck"));
    includeShadowArea_->setChecked(settings.includeShadowArea);
    // With a shadow drawn, its area is part of the image anyway.
    if (settings.shadow) includeShadowArea_->hide();
    layout->addWidget(includeShadowArea_);

    if (scales_) {
        // For screens with two or three device pixels per CSS pixel: the same
        // button drawn finer, beside the file, for a page's srcset.
        auto makeCheck = [&](int scale, bool on) {
            const QString n = QString::number(scale);
            auto* check = new QCheckBox(QStringLiteral("Also Save at ") + n +
                                            QStringLiteral("x for High-Density Screens (name@") + n +
                                            QStringLiteral("x)"),
                                        this);
            check->setObjectName(QStringLiteral("scale") + n + QStringLiteral("Check"));
            check->setChecked(on);
            layout->addWidget(check);
            return check;
        };
        scale2_ = makeCheck(2, scales_->two);
        scale3_ = makeCheck(3, scales_->three);
    }

    layout->addSpacing(8);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ExportOptionsDialog::accept() {
    if (removeBackground_ && removeBackground_->isChecked() != owner_.settings().removeBackground)
        owner_.SetRemoveBackground(removeBackground_->isChecked());
    if (quality_ && quality_->value() != owner_.settings().jpegQuality)
        owner_.SetJpegQuality(int16_t(quality_->value()));
    if (lossless_) owner_.SetLossy(!lossless_->isChecked());
    if (smallest_) owner_.SetOptimize(smallest_->isChecked());
    if (includeShadowArea_->isChecked() != owner_.settings().includeShadowArea)
        owner_.SetIncludeShadowArea(includeShadowArea_->isChecked());
    if (scales_) *scales_ = {scale2_->isChecked(), scale3_->isChecked()};
    QDialog::accept();
}

}  // namespace tabora
