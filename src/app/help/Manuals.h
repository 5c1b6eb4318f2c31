#pragma once
// The Help menu's manuals: PDF files of the program's data, one pair per language.
#include <QString>

class QUrl;
class QWidget;

// "manual<number>_<current language code>.pdf" beside the executable, or in ../share/ostiva
// when absent there; the code is read at every call, so a language chosen during the run
// applies at once.
QString ManualPath(int number);

// Opens manual 1 or 2 of the current language with the desktop's associated program. A
// missing manual opens nothing and says nothing.
void OpenManual(QWidget* parent, int number);

// Opens a file or address with the desktop's associated program. When none can be started
// (a desktop without a viewer or without xdg-open), an error box over `parent` names the
// file's path or the address, so the user can open it another way. False then.
bool OpenWithDesktop(QWidget* parent, const QUrl& document);
