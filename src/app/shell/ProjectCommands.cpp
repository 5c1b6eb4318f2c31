#include "app/shell/ProjectCommands.h"

#include "app/common/AppContext.h"
#include "app/project/TProjectForm.h"
#include "app/shell/Commands.h"

#include <QDir>
#include <QFileInfo>
#include <stdexcept>

TProjectForm* OpenProfileProject(QMdiArea* area, const QString& profile) {
    App().RememberedDirectory = QFileInfo(profile).absolutePath() + "/";
    return TProjectForm::OpenProject(area, profile);
}

TProjectForm* NewProjectAsked(QWidget* parent, QMdiArea* area, const CommandTexts& texts) {
    QString directory = Dialogs().ChooseName(parent, texts.dlgNewProject);
    while (directory.size() > 1 && directory.endsWith('/'))
        directory.chop(1);
    if (directory.isEmpty())
        return nullptr;
    if (QFileInfo(directory).isDir()) {
        Dialogs().Information(parent, App().ApplicationTitle,
                              texts.Message(3) + " " + directory + " " + texts.Message(4));
        return nullptr;
    }
    if (!QDir().mkdir(directory))
        throw std::runtime_error((texts.Message(5) + " " + directory).toStdString());
    return TProjectForm::NewProject(area, directory + "/");
}
