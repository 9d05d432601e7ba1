#pragma once
#include <QApplication>
#include <memory>

namespace tabora {

class QtDialogHost;
class TaboraWindow;

// The application: the style catalogue, the dialog host and the one main
// window. Files named on the command line open at start.
class TaboraApp : public QApplication {
    Q_OBJECT
public:
    TaboraApp(int& argc, char** argv);
    ~TaboraApp() override;

    // Start-up; false when the window could not be made.
    bool InitInstance();
    // Asked before the session ends: true lets it go on.
    bool SaveAllModified();
    TaboraWindow* window() const { return window_.get(); }

private:
    std::unique_ptr<QtDialogHost> dialogHost_;
    std::unique_ptr<TaboraWindow> window_;
};

// Our pictures carry dark wording drawn for a light button face, so under a
// dark desktop theme everything of ours (the window, its menus, the
// dialogs) takes a light palette instead of mixing the two. True when the
// application's palette was dark and has been replaced.
bool KeepLightPalette();
bool IsDarkPalette(const QPalette& palette);
QPalette LightPalette();

// The program's icon, drawn from the "TABORA" pictures.
QIcon TaboraIcon();
// Opens the first file named in `arguments` (after the program name; options
// starting with '-' are skipped). True when one was opened.
bool OpenFromArguments(TaboraWindow& window, const QStringList& arguments);

}  // namespace tabora
