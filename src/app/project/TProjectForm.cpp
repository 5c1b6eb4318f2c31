#include "app/project/TProjectForm.h"

#include "app/chart/GraphKinds.h"
#include "app/chart/TProfileChart.h"
#include "app/common/AppContext.h"
#include "app/common/DecimalField.h"
#include "app/common/Dialogs.h"
#include "app/common/LanguageTexts.h"
#include "app/project/ProjectFormControls.h"
#include "app/project/TFileListBox.h"
#include "core/FileReplace.h"
#include "core/IniFile.h"
#include "core/NumberText.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QTimer>
#include <QUrl>
#include <stdexcept>
#include <string_view>

using ostiva::TProjectData;

// Failures of the language file get the plain caption of the main window's file errors; the
// application's title stays for everything else.
void TProjectForm::ShowFailure(QWidget* parent, const std::exception& e) {
    if (dynamic_cast<const ostiva::IniError*>(&e))
        ShowFileError(parent, QString::fromUtf8(e.what()));
    else
        ShowError(parent, QString::fromUtf8(e.what()));
}

// A quality index above 1.00 is outside the norm and shows red.
void TProjectForm::ShowQualityText(QLabel* label, const std::string& text) {
    label->setText(QString::fromStdString(text));
    QPalette palette = label->palette();
    const QColor normal = label->parentWidget()->palette().color(QPalette::WindowText);
    palette.setColor(QPalette::WindowText,
                     ostiva::ParseDecimal(text) > 1.0 ? QColor(Qt::red) : normal);
    label->setPalette(palette);
}

TProjectForm::TProjectForm(bool editable, QWidget* parent)
    : QWidget(parent), ui_(BuildProjectFormControls(this)), headerEditable_(editable) {
    setObjectName("ProjectForm");
    setWindowTitle("Project ");
    setAttribute(Qt::WA_DeleteOnClose);
    // Profile files dropped onto a project window are loaded into it.
    setAcceptDrops(editable);
    FileListBox1 = ui_->FileListBox1;
    // Every set-up runs with Loading set, so that filling the controls counts as no edit.
    const QScopedValueRollback loading(Loading, true);

    connect(FileListBox1, &TFileListBox::Change, this, &TProjectForm::FileListBox1Change);
    connect(ui_->tabGraficType, &QTabBar::currentChanged, this, [this] { tabGraficTypeChange(); });
    connect(ui_->cbxVelInp, &QComboBox::currentIndexChanged, ui_->cbxNormVal,
            &QComboBox::setCurrentIndex);
    connect(ui_->cbxVelInp, &QComboBox::activated, this, [this] { cbxVelInpChange(); });
    for (const NormBoxSpec& box : kNormBoxes) {
        for (const char* field : {box.posField, box.negField}) {
            new DecimalField(ui_->Edit(field));
            connect(ui_->Edit(field), &QLineEdit::textChanged, this,
                    [this] { edtAnyNormChange(); });
        }
        connect(ui_->normButtons.value(box.button), &QPushButton::clicked, this,
                [this] { btnAnyNormChangeClick(); });
    }
    for (QLineEdit* edit : ui_->edits) {
        if (!edit->objectName().startsWith("edtNorm"))
            connect(edit, &QLineEdit::textChanged, this, [this] { AnyEditChange(); });
    }
    for (QPlainTextEdit* memo : {ui_->Memo1, ui_->Memo2})
        connect(memo, &QPlainTextEdit::textChanged, this, [this] { AnyEditChange(); });

    FormCreate();
    // Also a window that never shows a profile shows the panels of its graph kind only.
    ShowPanelsOfKind();
}

TProjectForm::~TProjectForm() = default;

TGraphKind TProjectForm::GraphKind() const {
    return GraphKindAt(ui_->tabGraficType->currentIndex()).value_or(gkTopMeas);
}

void TProjectForm::FormCreate() {
    try {
        LanguageTexts texts;
        for (const GraphKindSpec& kind : GraphKinds())
            ui_->tabGraficType->setTabText(kind.kind, texts.Text("ProjectForm", kind.tabKey));
        FileListBox1->SetNarrowedText(
            texts.Value("ProjectForm", "Narrowed", "%1 of %2 profiles (search)"));
        for (const QString& key : ui_->captions.uniqueKeys()) {
            const QString text = texts.Text("ProjectFormLabels", key);
            for (QLabel* label : ui_->captions.values(key))
                label->setText(text);
        }
        for (QGroupBox* group : ui_->groups)
            group->setTitle(texts.Text("ProjectFormLabels", group->objectName()));
        const QString change = texts.Text("ProjectFormLabels", "Button_NormLijnChange");
        for (QPushButton* button : ui_->normButtons)
            button->setText(change);
        for (const ostiva::NormLimitKey& limit : TProjectData::kNormLimits)
            SetFieldText(limit.key, texts.Text("ProjectFormLabels", limit.key));
        const int speedIndex =
            ostiva::ParseInteger(texts.Text("ProjectFormLabels", "NewNormVelInpIdx").toStdString());
        ui_->cbxVelInp->setCurrentIndex(
            speedIndex >= 0 && speedIndex < ui_->cbxVelInp->count() ? speedIndex : -1);
        shownSpeedIndex_ = ui_->cbxVelInp->currentIndex();
        ui_->chtDisplay->SetTitles(
            [&texts](const QString& key) { return texts.Text("ChartSeriesNames", key); });
    } catch (const std::exception& e) {
        ShowFailure(this, e);
        return;
    }
    FileListBox1->SetMask("zq*.xml");
    for (QPushButton* button : ui_->normButtons)
        button->setEnabled(false);
    ShowNormLines();
}

QMdiSubWindow* TProjectForm::AddToArea(QMdiArea* area, TProjectForm* form) {
    QMdiSubWindow* window = area->addSubWindow(form);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->move(0, 0);
    return window;
}

TProjectForm* TProjectForm::OpenProject(QMdiArea* area, const QString& profilePath) {
    auto* form = new TProjectForm(true);
    QMdiSubWindow* window = AddToArea(area, form);
    const QScopedValueRollback loading(form->Loading, true);
    // Also a window whose file turns out invalid takes edits once the user selects a profile.
    form->Editable = true;
    const QFileInfo info(profilePath);
    form->FileListBox1->SetMask("zq*.xml");
    form->ProjectDir = info.absolutePath() + "/";
    // Temporary files of saves that were killed are of no use to anyone.
    ostiva::RemoveStaleTemporaryFiles(form->ProjectDir.toStdString());
    form->setWindowTitle(form->ProjectDir);
    window->showMaximized();
    form->FileListBox1->SetDirectory(form->ProjectDir);

    if (!info.isFile())
        throw std::runtime_error(("Invalid file name - " + profilePath).toStdString());
    int index = form->FileListBox1->Entries().indexOf(info.fileName());
    if (index < 0) {
        // A file outside the mask: the list then holds just this file.
        form->FileListBox1->SetMask(info.fileName());
        index = form->FileListBox1->Entries().indexOf(info.fileName());
    }
    form->FileListBox1->SelectQuietly(index);
    form->CurrentFile = form->FileListBox1->Directory() + form->FileListBox1->SelectedEntry();
    form->SetFieldText("Edit2", form->FileListBox1->SelectedEntry());

    form->Modified = false;
    try {
        form->currentProfile_ = form->BuildRecord(form->CurrentFile, QString());
    } catch (const std::exception& e) {
        ShowFailure(form, e);
    }
    form->ShowProfile();
    form->Editable = form->CanLoadData = form->CanLoadFromDevice = form->CanPrintPreview =
        form->CanPrintProfiles = form->CanDelete = form->CanSearch = form->CanCopyTo = true;
    form->UpdateHeaderAccess();
    form->tabGraficTypeChange();
    emit form->StateChanged();
    return form;
}

TProjectForm* TProjectForm::NewProject(QMdiArea* area, const QString& directory) {
    auto* form = new TProjectForm(true);
    QMdiSubWindow* window = AddToArea(area, form);
    const QScopedValueRollback loading(form->Loading, true);
    form->ProjectDir = directory;
    ostiva::RemoveStaleTemporaryFiles(directory.toStdString());
    form->setWindowTitle(directory);
    window->showMaximized();
    form->FileListBox1->SetMask("zq*.xml");
    form->FileListBox1->SetDirectory(directory);
    form->ui_->chtDisplay->FillPlaceholders();
    form->ui_->chtDisplay->ScaleLeftAxis("serProfile", 0, form->GraphKind());
    form->Editable = form->CanLoadData = form->CanLoadFromDevice = form->CanPrintPreview =
        form->CanPrintProfiles = form->CanDelete = form->CanSearch = true;
    form->CanCopyTo = false;
    form->Modified = false;
    form->UpdateHeaderAccess();
    emit form->StateChanged();
    return form;
}

// A record that could be built only in part is still shown, after its error.
std::unique_ptr<TProjectData> TProjectForm::BuildRecord(const QString& path,
                                                        const QString& speedOverride) {
    auto record = std::make_unique<TProjectData>(path.toStdString(), speedOverride.toStdString(),
                                                 App().LanguageFile());
    if (!record->Error.empty())
        ShowError(this, QString::fromStdString(record->Error));
    return record;
}

void TProjectForm::FileListBox1Change() {
    ShowSelectedProfile(QString());
}

void TProjectForm::ShowSelectedProfile(const QString& speedOverride) {
    if (Loading)
        return;
    const QScopedValueRollback selecting(Selecting, true);
    if (Editable && Modified) {
        if (!ProfileSave(true)) {
            // The edits stay on screen, and so does the entry they belong to. A mouse press
            // highlights the entry it hit after this handler has run, so the highlight is
            // put right once more when the press has been handled.
            SelectShownEntry();
            QTimer::singleShot(0, this, [this] { SelectShownEntry(); });
            return;
        }
        Modified = false;
    }
    const int count = FileListBox1->count();
    if (count == 0) {
        ShowNoProfile();
    } else {
        int index = FileListBox1->SelectedIndex();
        if (index < 0)
            index = 0;
        if (index >= count)
            index = count - 1;
        FileListBox1->SelectQuietly(index);
        const QString entry = FileListBox1->SelectedEntry();
        const QString path = FileListBox1->Directory() + entry;
        try {
            auto record = BuildRecord(path, speedOverride);
            currentProfile_ = std::move(record);
            CurrentFile = path;
            SetFieldText("Edit2", entry);
            ShowProfile();
        } catch (const std::exception& e) {
            ShowFailure(this, e);
            SelectShownEntry();
        }
    }
    ui_->chtDisplay->update();
    CanPrintPreview = CanPrintProfiles = CanDelete = CanCopyTo = count > 0;
    UpdateHeaderAccess();
    tabGraficTypeChange();
    emit StateChanged();
}

// The last profile has left the list: nothing of it stays on screen, as in a new project, so
// that neither its header nor its quality index is taken for a profile that is still there.
void TProjectForm::ShowNoProfile() {
    const QScopedValueRollback selecting(Selecting, true);
    currentProfile_.reset();
    CurrentFile.clear();
    headerTyped_ = false;
    for (const HeaderFieldSpec& spec : kHeaderFields) {
        if (QString(spec.field) == "Memo1")
            ui_->Memo1->clear();
        else
            SetFieldText(spec.field, QString());
    }
    ui_->Label22->setText(kBuiltInCompanyName);
    for (const ParameterSpec& spec : kParameterFields)
        SetFieldText(spec.field, QString());
    for (QLabel* label : {ui_->lblQuality, ui_->lblQIZij, ui_->lblVel, ui_->lblVelZij})
        label->clear();
    TProfileChart* chart = ui_->chtDisplay;
    for (const QString& name : chart->SeriesNames())
        chart->Series(name)->clear();
    chart->FillPlaceholders();
    ShowNormLines();
}

void TProjectForm::SelectShownEntry() {
    const QFileInfo shown(CurrentFile);
    if (shown.absolutePath() + "/" == FileListBox1->Directory())
        FileListBox1->SelectQuietly(FileListBox1->Entries().indexOf(shown.fileName()));
}

void TProjectForm::AnyEditChange() {
    if (Loading || Selecting || FileListBox1->count() == 0)
        return;
    headerTyped_ = true;
    if (!Modified) {
        Modified = true;
        emit StateChanged();
    }
}

void TProjectForm::ShowProfile() {
    if (ui_->chtDisplay->InComparisonMode()) {
        ShowSecondProfile();
        return;
    }
    if (!currentProfile_)
        return;
    const QScopedValueRollback selecting(Selecting, true);
    ShowRecordFields(*currentProfile_, false);
    headerTyped_ = false;
    ShowQuality();
    ui_->chtDisplay->FillCurves(*currentProfile_);
}

// The header and parameter fields of a record, in the first or in the second column; the
// company name, which exists once, names the owner of the record shown last.
void TProjectForm::ShowRecordFields(const TProjectData& record, bool secondColumn) {
    for (const HeaderFieldSpec& spec : kHeaderFields) {
        if (!spec.text)
            continue;
        const QString field = secondColumn ? spec.secondField : spec.field;
        const QString text = QString::fromStdString(record.*spec.text);
        if (field == "Memo1" || field == "Memo2")
            (field == "Memo1" ? ui_->Memo1 : ui_->Memo2)->setPlainText(text);
        else
            SetFieldText(field, text);
    }
    ui_->Label22->setText(QString::fromStdString(record.Eigenaar));
    for (const ParameterSpec& spec : kParameterFields)
        SetFieldText(
            secondColumn ? spec.secondField : spec.field,
            QString::fromStdString(ostiva::Format5_2(ostiva::ParseDecimal(record.*spec.text))));
}

void TProjectForm::SetFieldText(const QString& field, const QString& text) {
    QLineEdit* edit = ui_->Edit(field);
    edit->setText(text);
    // A narrow field shows the start of a long name, not its end.
    edit->setCursorPosition(0);
}

// Typing is offered only where it can be saved: a profile shown in an editable window.
void TProjectForm::UpdateHeaderAccess() {
    const bool editable = headerEditable_ && Editable && currentProfile_ &&
                          FileListBox1->count() > 0 && FileListBox1->SelectedIndex() >= 0;
    for (const HeaderFieldSpec& spec : kHeaderFields) {
        if (QString(spec.field) == "Edit2")
            continue;
        if (QString(spec.field) == "Memo1")
            ui_->Memo1->setReadOnly(!editable);
        else
            ui_->Edit(spec.field)->setReadOnly(!editable);
    }
}

void TProjectForm::tabGraficTypeChange() {
    ui_->chtDisplay->setVisible(true);
    ui_->gbxCalcParms->setVisible(true);
    CanPrintPreview = true;
    ui_->chtDisplay->ApplyGraphKind(GraphKind());
    ShowPanelsOfKind();
    emit StateChanged();
}

void TProjectForm::ShowPanelsOfKind() {
    const GraphKindSpec& kind = GraphKindOf(GraphKind());
    auto shown = [](const char* panel, const char* name) {
        return panel && std::string_view(panel) == name;
    };
    for (const auto& [name, caption] : kParameterPanels)
        ui_->groups.value(name)->setVisible(shown(kind.parameterPanel, name) ||
                                            shown(kind.panelUnderneath, name));
    for (const NormBoxSpec& box : kNormBoxes)
        ui_->groups.value(box.box)->setVisible(shown(kind.normBox, box.box));
    for (const char* quality : {"grpQuality", "gbxQIZij"})
        ui_->groups.value(quality)->setVisible(shown(kind.qualityPanel, quality));
}

void TProjectForm::closeEvent(QCloseEvent* event) {
    if (ProjectClose())
        event->accept();
    else
        event->ignore();
}

namespace {

// The local files among the dropped entries; folders and remote addresses are left out.
QStringList DroppedFiles(const QMimeData* data) {
    QStringList files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            files << QFileInfo(url.toLocalFile()).absoluteFilePath();
    return files;
}

} // namespace

// Always a copy: a move would let the source delete files whose copy failed.
void TProjectForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!(event->possibleActions() & Qt::CopyAction) || DroppedFiles(event->mimeData()).isEmpty())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TProjectForm::dropEvent(QDropEvent* event) {
    const QStringList files = DroppedFiles(event->mimeData());
    if (!(event->possibleActions() & Qt::CopyAction) || files.isEmpty())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit FilesDropped(files);
}
