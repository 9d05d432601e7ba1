#pragma once
#include <string>

class QWidget;

namespace tabora {

class TaboraButton;

// Shows the options dialog that belongs to the extension (letter case
// ignored), modally, and returns when it closes; how it was closed does not
// matter, the export follows either way. BMP has a dialog only while the
// shadow is off, and other extensions have none. Returns whether a dialog was
// shown.
bool ShowExportOptions(TaboraButton& button, const std::string& extension,
                       QWidget* parent = nullptr);

}  // namespace tabora
