#include "app/AboutBox.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "platform/qt/QtImages.h"

namespace tabora {

namespace {
// The OK button sits in the picture's empty corner, clear of its text.
constexpr QRect kOkRect(290, 82, 80, 28);
}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Tabora"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kWidth, kHeight);

    ScreenPicture art;
    LoadScreenPicture(art, "abback", false);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setGeometry(0, 0, kWidth, kHeight);
    picture->setPixmap(ToScreenPixmap(art));
    picture->setAccessibleName(tr("Tabora, version 1.0"));

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    ok->setGeometry(kOkRect);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tabora
