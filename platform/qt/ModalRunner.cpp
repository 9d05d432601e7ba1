#include "platform/qt/ModalRunner.h"

#include <QDialog>

namespace tabora {

namespace {
ModalRunner& Runner() {
    static ModalRunner runner;
    return runner;
}
}  // namespace

int RunModal(QDialog& dialog) {
    if (Runner()) {
        // Let the dialog set itself up as it would when shown.
        dialog.ensurePolished();
        int result = Runner()(dialog);
        dialog.setResult(result);
        return result;
    }
    return dialog.exec();
}

ModalRunner SetModalRunnerForTesting(ModalRunner runner) {
    ModalRunner previous = std::move(Runner());
    Runner() = std::move(runner);
    return previous;
}

}  // namespace tabora
