// Saving the shown profile of the project window, and what happens when another program
// wrote the file after it was shown.
#include "app/common/Dialogs.h"
#include "app/project/ProjectFormControls.h"
#include "app/project/TProjectForm.h"
#include "core/ProjectData.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using ostiva::TProjectData;

void TProjectForm::CollectHeader() {
    TProjectData& record = *currentProfile_;
    for (const HeaderFieldSpec& spec : kHeaderFields) {
        if (!spec.text)
            continue;
        const QString text = QString(spec.field) == "Memo1" ? ui_->Memo1->toPlainText()
                                                            : ui_->Edit(spec.field)->text();
        record.*spec.text = text.toStdString();
    }
    // The owner is shown as the company name above the chart.
    record.Eigenaar = ui_->Label22->text().toStdString();
}

bool TProjectForm::ProfileSave(bool ask) {
    // A comparison window holds the first file's record under the second file's name.
    if (!Editable)
        return true;
    if (ask &&
        !Dialogs().AskYesNo(this, "Confirm",
                            "File " + CurrentFile + " is modified. Do you wish to save it?")) {
        Modified = false;
        headerTyped_ = false;
        emit StateChanged();
        return true;
    }
    if (currentProfile_) {
        // A save writes the whole file as it was shown: what someone else wrote meanwhile
        // would be lost without a word.
        if (currentProfile_->Document.ChangedOnDisk(CurrentFile.toStdString()) &&
            !Dialogs().AskYesNo(this, "Confirm",
                                "File " + CurrentFile +
                                    " was changed by another program after it was shown "
                                    "here.\n\nYes: overwrite it with the values of this "
                                    "window.\nNo: show the file as it is now; what was typed "
                                    "here is dropped.")) {
            ReloadShownProfile();
            return true;
        }
        try {
            CollectHeader();
            currentProfile_->Save(CurrentFile.toStdString());
        } catch (const std::exception& e) {
            ShowError(this, QString::fromUtf8(e.what()));
            return false;
        }
    }
    Modified = false;
    headerTyped_ = false;
    emit StateChanged();
    return true;
}

// The file's own values replace the window's, its own speed included.
void TProjectForm::ReloadShownProfile() {
    Modified = false;
    headerTyped_ = false;
    try {
        currentProfile_ = BuildRecord(CurrentFile, QString());
    } catch (const std::exception& e) {
        ShowFailure(this, e);
    }
    ShowProfile();
    UpdateHeaderAccess();
    tabGraficTypeChange();
    emit StateChanged();
}

bool TProjectForm::ProjectClose() {
    if (Editable && Modified)
        return ProfileSave(true);
    return true;
}
