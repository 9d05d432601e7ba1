#pragma once
#include <functional>

class QDialog;

namespace tabora {

// Every modal dialog of the program that is not a question of the dialog host
// (the export options, the About box, the prompts) runs through here, so the
// tests can play the user: a runner gets the open dialog, may tick its boxes
// or move its slider, and returns what accept() or reject() would.
int RunModal(QDialog& dialog);

using ModalRunner = std::function<int(QDialog&)>;
// Installs a runner (an empty one restores QDialog::exec); returns the old one.
ModalRunner SetModalRunnerForTesting(ModalRunner runner);

}  // namespace tabora
