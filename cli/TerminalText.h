#pragma once
#include <string>
#include <string_view>

namespace tabora::cli {

// Text from a file (a caption, a font name, a file name in a batch), made
// safe to print on a terminal: control characters, which a terminal would
// obey (set its title, clear the screen, start a line that looks like the
// program's own), are shown as escapes: \n, \r, \t, \xHH for the others of
// C0 and DEL, \u00HH for the C1 controls. Everything else is left as it is.
std::string PrintableText(std::string_view text);

}  // namespace tabora::cli
