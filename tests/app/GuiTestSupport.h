#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "app/TaboraWindow.h"
#include "platform/Resources.h"
#include "platform/qt/DialogHost.h"
#include "platform/qt/ModalRunner.h"

namespace tabora::testing {

// A fresh main window per test, with every question scripted: file and
// colour dialogs and prompts through the dialog host, the options dialogs
// and the About box through the modal runner.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    template <class T>
    T* Child(const char* name) const {
        T* child = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    std::string PathIn(const char* name) const { return dir.filePath(name).toStdString(); }
    // The runner plays the user of every options dialog: `script` may tick
    // boxes, then the dialog is accepted unless `cancel` is set.
    void ScriptOptionsDialogs(std::function<void(QDialog&)> script = {}, bool cancel = false);

    ScriptedDialogHost host;
    std::unique_ptr<TaboraWindow> window;
    QTemporaryDir dir;
    QTemporaryDir configDir;            // where this test's window remembers things
    std::vector<QString> dialogsShown;  // captions, in order

private:
    DialogHost* previousHost_ = nullptr;
};

// While alive, the program's resources are the table `writer` made, and every
// question goes to `host`: for parts tested without the window.
class ScopedResources {
public:
    explicit ScopedResources(ResourceBlobWriter& writer)
        : blob_(writer.Finish()), table_(blob_.data(), blob_.size()) {
        SetResourcesForTesting(&table_);
    }
    ~ScopedResources() { SetResourcesForTesting(nullptr); }
    ScopedResources(const ScopedResources&) = delete;
    ScopedResources& operator=(const ScopedResources&) = delete;

private:
    std::vector<uint8_t> blob_;
    ResourceTable table_;
};

class ScopedDialogHost {
public:
    explicit ScopedDialogHost(DialogHost& host) : previous_(SetDialogHost(&host)) {}
    ~ScopedDialogHost() { SetDialogHost(previous_); }
    ScopedDialogHost(const ScopedDialogHost&) = delete;
    ScopedDialogHost& operator=(const ScopedDialogHost&) = delete;

private:
    DialogHost* previous_;
};

// Qt's settings store keeps what the program remembers in `folder`.
void UseConfigurationFolder(const QString& folder);

// The title as the window system shows it: "[*]" replaced by the mark of
// unsaved changes, or removed.
QString ShownTitle(const QWidget& window);

// The first bytes of a file, for telling formats apart.
std::string FileHead(const std::string& path, size_t count);

}  // namespace tabora::testing
