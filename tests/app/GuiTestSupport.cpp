#include "GuiTestSupport.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QSettings>
#include <QWindow>
#include <fstream>

namespace tabora::testing {

namespace {

// One QApplication for the whole run, on the offscreen platform unless the
// caller chose another.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        // What the window remembers between runs goes to a folder of the run's
        // own, never the user's settings.
        qputenv("XDG_CONFIG_HOME", QDir::temp().filePath(QStringLiteral("tabora-gui-tests-%1")
                                                             .arg(QCoreApplication::applicationPid()))
                                       .toLocal8Bit());
        static int argc = 1;
        static char name[] = "tabora_gui_tests";
        static char* argv[] = {name, nullptr};
        // Nothing a test remembers reaches the user's configuration.
        UseConfigurationFolder(configDir_.path());
        app_ = std::make_unique<QApplication>(argc, argv);
        // The offscreen platform says this for every window; it is noise here.
        previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context,
                                              const QString& text) {
            if (text.contains(QStringLiteral("propagateSizeHints"))) return;
            previous_(type, context, text);
        });
    }
    void TearDown() override {
        app_.reset();
        QDir(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"))).removeRecursively();
    }

private:
    std::unique_ptr<QApplication> app_;
    QTemporaryDir configDir_;
    static inline QtMessageHandler previous_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const gQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

void UseConfigurationFolder(const QString& folder) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

void WindowTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    // Each test remembers into a folder of its own, never the user's.
    ASSERT_TRUE(configDir.isValid());
    UseConfigurationFolder(configDir.path());
    previousHost_ = SetDialogHost(&host);
    // Unless a test says otherwise, any dialog that opens is cancelled.
    ScriptOptionsDialogs({}, true);
    window = std::make_unique<TaboraWindow>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowTest::TearDown() {
    window.reset();
    SetModalRunnerForTesting({});
    SetDialogHost(previousHost_);
}

void WindowTest::ScriptOptionsDialogs(std::function<void(QDialog&)> script, bool cancel) {
    SetModalRunnerForTesting([this, script, cancel](QDialog& dialog) {
        dialogsShown.push_back(dialog.windowTitle());
        if (script) script(dialog);
        if (cancel) {
            dialog.reject();
            return int(QDialog::Rejected);
        }
        dialog.accept();
        return int(QDialog::Accepted);
    });
}

QString ShownTitle(const QWidget& window) {
    if (window.windowHandle()) return window.windowHandle()->title();
    // Not shown yet: what it will show.
    QString title = window.windowTitle();
    title.replace(QStringLiteral("[*]"),
                  window.isWindowModified() ? QStringLiteral("*") : QString());
    return title;
}

std::string FileHead(const std::string& path, size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::string head(count, '\0');
    in.read(head.data(), std::streamsize(count));
    head.resize(size_t(in.gcount()));
    return head;
}

}  // namespace tabora::testing
