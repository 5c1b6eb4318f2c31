#pragma once
// The window side of the search command: asks for the criteria, searches the profiles of a
// project window and narrows its list to the profiles found.
#include <QString>

class QWidget;
class TProjectForm;
class TSearchForm;

// Shows the dialog; on OK searches the project window's profiles and narrows its list.
// The list first shows all profiles again (mask "zq*.xml"); with no switch on, or when the
// search is cancelled in its progress box (object name "SearchProgress"), it stays so. When
// nothing matches, `noMatchMessage` (message text 8) and the criteria are shown; otherwise the
// list shows exactly the profiles found, whatever their names, and the window the first of
// them. The profiles that could not be read are then named in one error box. The dialog is
// shown through TSearchForm::Ask, which tests override.
void RunProfileSearch(QWidget* parent, TSearchForm& dialog, TProjectForm& form,
                      const QString& noMatchMessage);
