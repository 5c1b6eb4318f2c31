// The comparison window: a project window set up once to show two profiles side by side,
// marked "I" and "II", with nothing to edit or save. Its second profile is shown by the
// comparison branch of ShowProfile.
#include "app/chart/TProfileChart.h"
#include "app/project/ProjectFormControls.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "core/ProjectData.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScopedValueRollback>

using ostiva::TProjectData;

TProjectForm* TProjectForm::OpenComparison(QMdiArea* area, const QString& first,
                                           const QString& second) {
    auto* form = new TProjectForm(false);
    QMdiSubWindow* window = AddToArea(area, form);
    const QScopedValueRollback loading(form->Loading, true);
    ProjectFormControls& ui = *form->ui_;
    TProfileChart* chart = ui.chtDisplay;
    form->setWindowTitle(first + " ~ " + second);
    ui.lblDir_1->setText(first);
    ui.lblDir_2->setText(second);
    form->FileListBox1->setEnabled(false);
    ui.cbxVelInp->setEnabled(false);
    form->FileListBox1->clear();

    // A record that cannot be built at all leaves its side empty; the window still opens.
    const auto build = [form](const QString& path) -> std::unique_ptr<TProjectData> {
        try {
            return form->BuildRecord(path, QString());
        } catch (const std::exception& e) {
            ShowFailure(form, e);
            return nullptr;
        }
    };
    form->CurrentFile = first;
    form->currentProfile_ = build(first);
    form->ShowProfile();
    const double largest = chart->ScaleLeftAxis("serProfile", 0, form->GraphKind());

    // An active second-profile curve makes ShowProfile and every graph kind show both profiles.
    chart->SetActive("serProfileAdd", true);
    form->CurrentFile = second;
    form->secondProfile_ = build(second);
    form->ShowProfile();
    chart->ScaleLeftAxis("serProfileAdd", largest, form->GraphKind());

    form->ArrangeComparisonColumns();
    chart->SetLegendAtBottom(true);
    form->SetFieldText("Edit2", QFileInfo(first).fileName());
    form->SetFieldText("Edit22", QFileInfo(second).fileName());
    for (QWidget* control : ui.comparisonOnly)
        control->show();
    ui.pnlFileList->hide();
    FitDetailsHeight(ui);
    chart->AppendComparisonSuffixes();

    form->Editable = form->CanLoadData = form->CanLoadFromDevice = form->CanPrintProfiles =
        form->CanDelete = form->CanSearch = form->CanCopyTo = false;
    form->CanPrintPreview = true;
    form->Modified = false;
    form->UpdateHeaderAccess();
    window->show();
    if (const QSize client = area->viewport()->size(); !client.isEmpty())
        window->resize(client);
    // On top of the other windows, so the user sees it: the focus, too, moves into it, or the
    // window that had the focus would take the top back.
    area->setActiveSubWindow(window);
    ui.tabGraficType->setFocus();
    form->tabGraficTypeChange();
    return form;
}

// The second profile of a comparison, into the second column of every field and the
// second-profile curves.
void TProjectForm::ShowSecondProfile() {
    if (!secondProfile_)
        return;
    const QScopedValueRollback selecting(Selecting, true);
    const TProjectData& record = *secondProfile_;
    ShowRecordFields(record, true);
    ShowQualityText(ui_->lblQualityAdd, record.QI);
    ShowQualityText(ui_->lblQIZijAdd, record.QIZij);
    ui_->lblVelAdd->setText(QString::fromStdString(record.Snelheid));
    ui_->lblVelZijAdd->setText(QString::fromStdString(record.Snelheid));
    ui_->chtDisplay->FillSecondCurves(record);
}

// Each side of the header area splits its width evenly between the field of profile I and the
// field of profile II beside it, and the header area takes the larger share of the row.
void TProjectForm::ArrangeComparisonColumns() {
    auto* grid = qobject_cast<QGridLayout*>(ui_->pnlHeader->layout());
    if (!grid)
        return;
    for (const HeaderFieldSpec& spec : kHeaderFields) {
        QWidget* first = ui_->pnlHeader->findChild<QWidget*>(spec.field);
        QWidget* second = ui_->pnlHeader->findChild<QWidget*>(spec.secondField);
        second->setMinimumWidth(first->minimumWidth());
        for (QWidget* field : {first, second}) {
            int row, column, rowSpan, columnSpan;
            grid->getItemPosition(grid->indexOf(field), &row, &column, &rowSpan, &columnSpan);
            grid->setColumnStretch(column, 1);
        }
    }
    // The parameter fields keep their widest size, the width of the marks I and II above them.
    for (const ParameterSpec& spec : kParameterFields) {
        for (QLineEdit* field : {ui_->Edit(spec.field), ui_->Edit(spec.secondField)})
            field->setMinimumWidth(field->maximumWidth());
    }
    if (auto* row = qobject_cast<QBoxLayout*>(ui_->pnlHeader->parentWidget()->layout())) {
        row->setStretchFactor(ui_->pnlHeader, 6);
        row->setStretchFactor(ui_->gbxCalcParms, 5);
    }
}
