#pragma once
// The two print commands of the main window. Both end in a print preview, from which the user
// prints or saves a PDF; every page is built from its profile file as saved, at the file's own
// line speed, so edits not yet saved in the window do not appear.
#include <QString>
#include <memory>

class QWidget;
class TProjectForm;
class TdlgPrintProfiles;
class TfrmCompReport;

namespace ostiva {
class TProjectData;
}

// Print Preview: the page of the profile shown in a project window, in the window's graph
// kind; in a comparison window the comparison page of its two profiles. A project window
// without a selected profile has nothing to preview.
void PrintPreview(QWidget* parent, TProjectForm& form);

// Print Profiles: points the dialog at the window's project directory with the shown profile
// selected, asks it, and on OK previews the composite of the chosen files.
void PrintProfiles(QWidget* parent, TProjectForm& form, TdlgPrintProfiles& dialog,
                   TfrmCompReport& composite);

// The record of a profile file for printing: as the file holds it, without a speed override.
// A failure the record reports is shown over `parent` and the record kept as it is. Throws
// ostiva::IniError when the language file cannot be read (there is no record then).
std::unique_ptr<ostiva::TProjectData> ReadPrintRecord(QWidget* parent, const QString& path);
