#include "imaging/qt/ShowExportOptions.h"

#include <QString>
#include <memory>

#include "imaging/qt/OptionsDialogs.h"
#include "platform/qt/ModalRunner.h"
#include "render/TaboraButton.h"

namespace tabora {

bool ShowExportOptions(TaboraButton& button, const std::string& extension, QWidget* parent) {
    const QString ext = QString::fromStdString(extension).toLower();
    std::unique_ptr<ExportOptionsDialog> dialog;
    if (ext == u"gif")
        dialog = std::make_unique<GIFOptionsDialog>(button, parent);
    else if (ext == u"png")
        dialog = std::make_unique<PNGOptionsDialog>(button, parent);
    else if (ext == u"jpg")
        dialog = std::make_unique<JPGOptionsDialog>(button, parent);
    else if (ext == u"bmp" && !button.settings().shadow)
        dialog = std::make_unique<BMPOptionsDialog>(button, parent);
    if (!dialog) return false;
    RunModal(*dialog);
    return true;
}

}  // namespace tabora
