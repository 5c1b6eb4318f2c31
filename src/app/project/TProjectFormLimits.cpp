// The speed list, the quality panels and the norm-limit boxes of the project window.
#include "app/chart/TProfileChart.h"
#include "app/common/DecimalField.h"
#include "app/common/Dialogs.h"
#include "app/common/LanguageTexts.h"
#include "app/project/ProjectFormControls.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "core/NumberText.h"
#include "core/ProjectData.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using ostiva::TProjectData;

void TProjectForm::ShowQuality() {
    const TProjectData& record = *currentProfile_;
    ShowQualityText(ui_->lblQuality, record.QI);
    ShowQualityText(ui_->lblQIZij, record.QIZij);
    ui_->lblVel->setText(QString::fromStdString(record.Snelheid));
    ui_->lblVelZij->setText(QString::fromStdString(record.Snelheid));
    const int index = ui_->cbxVelInp->findText(QString::fromStdString(record.Snelheid),
                                               Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        ui_->cbxVelInp->setCurrentIndex(index);
    shownSpeedIndex_ = ui_->cbxVelInp->currentIndex();
}

void TProjectForm::cbxVelInpChange() {
    // The record is rebuilt from the file, so typed header edits are saved first or dropped.
    if (Editable && Modified && headerTyped_ && !ProfileSave(true)) {
        // Saving failed: the edits stay, and so does the speed they were made with.
        ui_->cbxVelInp->setCurrentIndex(shownSpeedIndex_);
        return;
    }
    const QString speed = ui_->cbxVelInp->currentText();
    ui_->lblVel->setText(speed);
    ui_->lblVelZij->setText(speed);
    Modified = false;
    try {
        ShowSelectedProfile(speed);
        Modified = FileListBox1->count() > 0;
        tabGraficTypeChange();
    } catch (const std::exception& e) {
        ShowFailure(this, e);
    }
    shownSpeedIndex_ = ui_->cbxVelInp->currentIndex();
    emit StateChanged();
}

// A limit that is no number would be stored and drawn as 0, and every later record would
// judge against 0: the buttons wait until all fourteen fields hold numbers.
void TProjectForm::edtAnyNormChange() {
    bool numbers = true;
    for (const NormBoxSpec& box : kNormBoxes)
        for (const char* field : {box.posField, box.negField})
            numbers =
                numbers && ui_->Edit(field)
                               ->findChild<DecimalField*>(QString(), Qt::FindDirectChildrenOnly)
                               ->HoldsNumber();
    for (QPushButton* button : ui_->normButtons)
        button->setEnabled(numbers);
}

void TProjectForm::btnAnyNormChangeClick() {
    std::unique_ptr<LanguageTexts> texts;
    try {
        texts = std::make_unique<LanguageTexts>();
    } catch (const std::exception& e) {
        ShowFileError(this, QString::fromUtf8(e.what()));
        return;
    }
    QString failure;
    try {
        for (const ostiva::NormLimitKey& limit : TProjectData::kNormLimits)
            texts->Write("ProjectFormLabels", limit.key, ui_->Edit(limit.key)->text());
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    texts.reset();
    for (QPushButton* button : ui_->normButtons)
        button->setEnabled(false);
    ShowNormLines();
    if (!failure.isEmpty())
        ShowFileError(this, failure);
}

void TProjectForm::ShowNormLines() {
    for (const NormBoxSpec& box : kNormBoxes) {
        ui_->chtDisplay->SetLimitLine(
            box.posCurve, ostiva::ParseDecimal(ui_->Edit(box.posField)->text().toStdString()));
        ui_->chtDisplay->SetLimitLine(
            box.negCurve, ostiva::ParseDecimal(ui_->Edit(box.negField)->text().toStdString()));
    }
}
