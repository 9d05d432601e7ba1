#include "app/TaboraApp.h"

#include <QIcon>
#include <QSessionManager>
#include <string>

#include "app/TaboraWindow.h"
#include "platform/qt/QtDialogHost.h"
#include "platform/qt/QtImages.h"
#include "styles/Archive.h"

namespace tabora {

namespace {
// The sizes the art generator draws the program's icon at.
constexpr int kAppIconSizes[] = {16, 32, 48, 256};
}  // namespace

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
