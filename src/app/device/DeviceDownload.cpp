#include "app/device/DeviceDownload.h"

#include "app/common/AppContext.h"
#include "app/device/TfrmLoadDataDevice.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>

void RunDeviceDownload(QWidget* mainWindow, TProjectForm& form, const ShowDeviceDialog& show) {
    const QPointer<TProjectForm> target(&form);
    {
        TfrmLoadDataDevice dialog(mainWindow, form.ProjectDir);
        if (show)
            show(dialog);
        else
            dialog.exec();
    }
    if (target && target->FileListBox1)
        target->FileListBox1->Refresh();
}

QString FindProgram(const QString& name) {
    // The program's own folder comes first, so the transfer program shipped beside it wins over
    // any other on the search path; a file there is taken even when it cannot run, so that the
    // failure is reported instead of another program being run.
    const QFileInfo beside(QDir(App().ExecutableDirectory()).filePath(name));
    if (beside.isFile())
        return beside.absoluteFilePath();
    return QStandardPaths::findExecutable(name);
}
