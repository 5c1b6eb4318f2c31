#pragma once
// The work of the commands that open project windows.
#include <QString>

class QMdiArea;
class QWidget;
class TProjectForm;
struct CommandTexts;

// Opens the project of `profile` with that file selected, and remembers its folder for the
// next start and dialogs.
TProjectForm* OpenProfileProject(QMdiArea* area, const QString& profile);
// Asks for the folder of a new project, creates it and opens it empty. nullptr when the user
// cancelled or the folder exists already (told with messages 3 and 4); throws with message 5
// when the folder cannot be created.
TProjectForm* NewProjectAsked(QWidget* parent, QMdiArea* area, const CommandTexts& texts);
