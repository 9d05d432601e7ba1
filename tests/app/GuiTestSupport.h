#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "app/TaboraWindow.h"
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
    std::vector<QString> dialogsShown;  // captions, in order

private:
    DialogHost* previousHost_ = nullptr;
};

// The first bytes of a file, for telling formats apart.
std::string FileHead(const std::string& path, size_t count);

}  // namespace tabora::testing
