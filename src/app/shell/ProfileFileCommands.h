#pragma once
// The file work of the profile commands: files brought into a project (Load Data and drops),
// the listed profiles moved to another folder (Copy To) and the shown profile deleted. None of
// them ever replaces an existing file; each failure is told and the rest still handled.
#include <QString>
#include <QStringList>

class QWidget;
class TProjectForm;
struct CommandTexts;

// A load over more files than this lasts shows its progress box after this delay.
inline constexpr int kLoadProgressDelayMs = 500;
inline constexpr char kLoadDataTitle[] = "Load Data";

// Copies `source` to `destination` unless that exists. The bytes go to a temporary file beside
// the destination, which then takes the destination's name by a rename that refuses an
// existing target: a failed copy leaves neither a partial file nor a changed destination.
bool CopyWithoutReplacing(const QString& source, const QString& destination);
// Renames `source` to `destination` unless that exists; across file systems the file is
// copied as above and then removed.
bool MoveWithoutReplacing(const QString& source, const QString& destination);

// The save question when the window's profile has unsaved edits; false when the save failed,
// which ends the command.
bool SaveEditsFirst(TProjectForm& form);
// Copies each of `files` into the window's project directory, a failure never stopping the
// rest, then refreshes the list. A long run shows a progress box (object name
// "LoadDataProgress") after `progressDelayMs`; cancelling it keeps the files copied so far.
// The failures (message texts 1 and 2, one line per file) are told in one box once the
// progress box has gone.
void CopyProfilesInto(QWidget* parent, TProjectForm& form, const QStringList& files,
                      const CommandTexts& texts, int progressDelayMs = kLoadProgressDelayMs);
// Asks whether to move every profile the list shows into `targetDirectory` (ending with a
// separator), since they leave the project; on OK moves them, each failure told with message
// texts 1 and 2, lists all profiles again and says how many were moved. Unsaved edits are
// offered for saving before the move, since the file they belong to moves away.
void MoveListedProfiles(QWidget* parent, TProjectForm& form, const QString& targetDirectory,
                        const CommandTexts& texts);
// Asks with message text 6 and deletes the shown profile; the window then shows the first of
// the rest, without offering to save the deleted one. A failure is told with message text 7.
void DeleteShownProfile(QWidget* parent, TProjectForm& form, const CommandTexts& texts);
