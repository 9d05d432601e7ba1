#include "imaging/qt/ShowExportOptions.h"

#include <QString>
#include <memory>

#include "imaging/Formats.h"
#include "imaging/qt/OptionsDialogs.h"
#include "platform/qt/ModalRunner.h"
#include "render/TaboraButton.h"

namespace tabora {

bool ShowExportOptions(TaboraButton& button, const std::string& extension, QWidget* parent,
                       ExtraScales* scales) {
    const FormatEntry* format = FindFormat(extension);
    if (!format || !ExportOptionsDialog::HasOptions(button, *format)) return false;
    ExportOptionsDialog dialog(button, *format, parent, scales);
    RunModal(dialog);
    return true;
}

}  // namespace tabora
