#pragma once
#include <QLocale>

namespace tabora {

// Installs the program's translation for the first of `locale`'s languages
// that has one (German so far), with Qt's own translation of its dialogs
// where the system has it. True when one of ours was installed; English
// needs none, and the texts then stay as written.
bool InstallTranslations(const QLocale& locale = QLocale());
// Takes them out again (for tests).
void RemoveTranslations();

}  // namespace tabora
