#include "app/TaboraApp.h"

#include <QIcon>
#include <QSessionManager>
#include <QStyle>
#include <QStyleFactory>
#include <memory>
#include <string>

#include "app/TaboraWindow.h"
#include "app/Translations.h"
#include "platform/qt/QtDialogHost.h"
#include "platform/qt/QtImages.h"
#include "styles/Archive.h"

namespace tabora {

namespace {
// The sizes the art generator draws the program's icon at.
constexpr int kAppIconSizes[] = {16, 32, 48, 256};
// A button face darker than this is a dark theme's (0 black .. 255 white).
constexpr int kDarkFaceLightness = 128;
}  // namespace

bool IsDarkPalette(const QPalette& palette) {
    return palette.color(QPalette::Button).lightness() < kDarkFaceLightness;
}

QPalette LightPalette() {
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    return fusion ? fusion->standardPalette() : QPalette(Qt::lightGray);
}

bool KeepLightPalette() {
    if (!IsDarkPalette(QApplication::palette())) return false;
    QApplication::setPalette(LightPalette());
    return true;
}

QIcon TaboraIcon() {
    QIcon icon;
    for (int size : kAppIconSizes) {
        const std::string name = "TABORA" + std::to_string(size);
        ArgbImage image;
        if (LoadMaskedPicture(image, name + "i", name + "m"))
            icon.addPixmap(QPixmap::fromImage(ToQImage(image)));
    }
    return icon;
}

TaboraApp::TaboraApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Tabora"));
    setDesktopFileName(QStringLiteral("tabora"));
    setApplicationVersion(QStringLiteral("1.0"));
    KeepLightPalette();
    // German when the system asks for it; English as written otherwise.
    InstallTranslations();
}

TaboraApp::~TaboraApp() {
    window_.reset();
    if (dialogHost_) SetDialogHost(nullptr);
}

bool TaboraApp::InitInstance() {
    GetArchive();
    dialogHost_ = std::make_unique<QtDialogHost>();
    SetDialogHost(dialogHost_.get());
    setWindowIcon(TaboraIcon());
    window_ = std::make_unique<TaboraWindow>();
    connect(this, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (!manager.allowsInteraction() || !SaveAllModified()) manager.cancel();
        else manager.release();
    });
    window_->show();
    // A saved button named on the command line opens at once.
    OpenFromArguments(*window_, arguments());
    return true;
}

bool OpenFromArguments(TaboraWindow& window, const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i].startsWith(u'-')) continue;
        return window.OpenFromOutside(arguments[i].toStdString());
    }
    return false;
}

bool TaboraApp::SaveAllModified() { return !window_ || window_->QueryQuit(); }

}  // namespace tabora
