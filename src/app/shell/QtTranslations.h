#pragma once
// Qt's own texts (the standard buttons Yes, No, OK and Cancel, the file dialogs, the print
// preview) in the language in use; the program's own texts come from its language files.
#include <QString>

// Installs Qt's translation for a language code ("DE" loads qtbase_de.qm from Qt's
// translations folder) in place of the one installed before; "EN" leaves Qt's texts English.
// False for a code that is none of the five and when the translation is not installed; Qt's
// texts are English then.
bool UseQtTranslations(const QString& languageCode);
