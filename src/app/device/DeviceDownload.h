#pragma once
// The download from the measuring device: the command's side outside the main window, and how
// the transfer program is found.
#include <QString>
#include <functional>

class QWidget;
class TProjectForm;
class TfrmLoadDataDevice;

// The bare name of the transfer program.
inline constexpr const char* kTransferProgram = "upload2";

// Shows the dialog modally and returns when it has closed. Tests pass their own, which works
// the dialog shown without a modal loop.
using ShowDeviceDialog = std::function<void(TfrmLoadDataDevice&)>;

// Shows the download dialog over `mainWindow` for the project window's directory and, once it
// has closed, re-reads the window's list so that the fetched profiles appear. Saving pending
// edits first is the caller's part.
void RunDeviceDownload(QWidget* mainWindow, TProjectForm& form, const ShowDeviceDialog& show = {});

// The full path of a program given by its bare name, found as the system finds one: in the
// program's own folder first, then along the search path. Empty when neither holds it.
QString FindProgram(const QString& name);
