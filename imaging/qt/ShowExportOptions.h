#pragma once
#include <string>

class QWidget;

namespace tabora {

class TaboraButton;
struct ExtraScales;

// Shows the options dialog of the extension's format (letter case ignored),
// modally, and returns when it closes; how it was closed does not matter,
// the export follows either way. A format that offers nothing but the shadow
// area (BMP) has a dialog only while the shadow is off; an unknown extension
// has none. Returns whether a dialog was shown.
// With `scales`, the dialog offers the finer pictures as well (the format's
// rule for having a dialog stays as it is).
bool ShowExportOptions(TaboraButton& button, const std::string& extension,
                       QWidget* parent = nullptr, ExtraScales* scales = nullptr);

}  // namespace tabora
