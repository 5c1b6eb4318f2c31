#include "app/summary/TSummaryForm.h"

#include "app/common/AppContext.h"
#include "app/common/Dialogs.h"
#include "app/common/LanguageTexts.h"
#include "app/common/ProgressFollower.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/report/TReportPreview.h"
#include "app/summary/SummaryModel.h"
#include "app/summary/SummaryPrint.h"
#include "core/FileReplace.h"
#include "core/IniFile.h"
#include "core/NormQuality.h"
#include "core/ProfileSearch.h"
#include "core/SummaryText.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <optional>
#include <utility>

namespace {

constexpr const char* kSection = "SummaryForm";
constexpr const char* kAllProfiles = "zq*.xml";
// A summary that ends sooner shows no progress box.
constexpr int kProgressDelayMs = 500;

// The filter's entries in order: all, then these verdicts.
constexpr const char* kFilterVerdicts[] = {"", "outside", "within", "no assessment"};

QMdiSubWindow* SubWindowOf(const QWidget* widget) {
    return widget ? qobject_cast<QMdiSubWindow*>(widget->parentWidget()) : nullptr;
}

// Why the export may not be written at `path`, or empty: it must not replace a profile of the
// folder, under whatever name it is given, nor become one (a zq*.xml beside them).
QString ProfileClash(const QString& path, const QString& directory) {
    const ostiva::ProfileClash clash =
        ostiva::ClashWithProfiles(path.toStdString(), directory.toStdString());
    if (!clash.replaced.empty())
        return "it is the profile " + QString::fromStdString(clash.replaced);
    if (clash.becomesProfile)
        return "it would be a profile of " + directory;
    return {};
}

QString FolderName(QString directory) {
    while (directory.size() > 1 && (directory.endsWith('/') || directory.endsWith('\\')))
        directory.chop(1);
    return directory;
}

} // namespace

TSummaryForm::TSummaryForm(TProjectForm& project, QWidget* parent)
    : QWidget(parent), project_(&project), directory_(project.ProjectDir) {
    setObjectName("SummaryForm");
    setAttribute(Qt::WA_DeleteOnClose);
    model_ = new SummaryModel(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(SummaryModel::kSortRole);
    proxy_->setFilterRole(SummaryModel::kVerdictRole);
    proxy_->setFilterKeyColumn(SummaryModel::Verdict);

    cbxSpeed_ = new QComboBox(this);
    cbxSpeed_->setObjectName("cbxSpeed");
    cbxFilter_ = new QComboBox(this);
    cbxFilter_->setObjectName("cbxFilter");
    lblCounts_ = new QLabel(this);
    lblCounts_->setObjectName("lblCounts");
    btnExport_ = new QPushButton(this);
    btnExport_->setObjectName("btnExport");
    btnPrintPreview_ = new QPushButton(this);
    btnPrintPreview_->setObjectName("btnPrintPreview");
    tblSummary_ = new QTableView(this);
    tblSummary_->setObjectName("tblSummary");
    tblSummary_->setModel(proxy_);
    tblSummary_->setSortingEnabled(true);
    tblSummary_->sortByColumn(-1, Qt::AscendingOrder); // the folder's order until a click
    tblSummary_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblSummary_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblSummary_->setAlternatingRowColors(true);
    tblSummary_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tblSummary_->verticalHeader()->hide();
    tblSummary_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    tblSummary_->horizontalHeader()->setStretchLastSection(true);

    auto* bar = new QHBoxLayout;
    bar->addWidget(cbxSpeed_);
    bar->addWidget(cbxFilter_);
    bar->addWidget(lblCounts_, 1);
    bar->addWidget(btnExport_);
    bar->addWidget(btnPrintPreview_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(tblSummary_, 1);

    ReadTexts();
    connect(cbxSpeed_, &QComboBox::currentIndexChanged, this, &TSummaryForm::SpeedChanged);
    connect(cbxFilter_, &QComboBox::currentIndexChanged, this, &TSummaryForm::FilterChanged);
    connect(btnExport_, &QPushButton::clicked, this, &TSummaryForm::Export);
    connect(btnPrintPreview_, &QPushButton::clicked, this, &TSummaryForm::PrintPreview);
    connect(tblSummary_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { ShowProfile(proxy_->mapToSource(index).row()); });
    // Without its project the window has nothing left to show.
    connect(&project, &QObject::destroyed, this, [this] {
        if (QMdiSubWindow* window = SubWindowOf(this))
            window->close();
        else
            close();
    });
}

void TSummaryForm::ReadTexts() {
    QStringList captions, verdicts;
    QString mixed, title, own;
    try {
        const LanguageTexts texts;
        const auto value = [&texts](const char* key, const char* builtIn) {
            return texts.Value(kSection, key, builtIn);
        };
        for (int column = 0; column < SummaryModel::ColumnCount; ++column)
            captions << value(ostiva::kSummaryKeys[column], ostiva::kSummaryKeys[column]);
        verdicts << value("Within", "within") << value("Outside", "outside")
                 << value("NoAssessment", "no assessment");
        mixed =
            value("MixedSpeeds", "Profiles of this track were stored at different speeds: %1 km/h");
        title = value("Title", "Summary");
        own = value("OwnSpeed", "own speed");
        cbxFilter_->addItems({value("All", "all"), verdicts[1], verdicts[0], verdicts[2]});
        countsText_ = value("Counts", "%1 outside, %2 within, %3 no assessment of %4");
        btnExport_->setText(value("Export", "Export..."));
        exportTitle_ = value("ExportTitle", "Export summary");
        exportFilter_ = value("ExportFilter", "CSV file (*.csv)|*.csv|JSON file (*.json)|*.json");
        progressText_ = value("Progress", "Summarising the profiles...");
        cancelText_ = value("Cancel", "Cancel");
        btnPrintPreview_->setText(value("PrintPreview", "Print Preview"));
        speedText_ = value("Speed", "Speed");
        pageText_ = value("Page", "Page %1 of %2");
    } catch (const ostiva::IniError& e) {
        ShowFileError(this, QString::fromUtf8(e.what()));
    }
    model_->SetTexts(captions, verdicts, mixed);
    title_ = title.isEmpty() ? QString("Summary") : title;
    setWindowTitle(title_ + QString::fromUtf8(" \u2014 ") + FolderName(directory_));
    cbxSpeed_->addItem(own.isEmpty() ? QString("own speed") : own);
    for (const ostiva::SpeedLimit& limit : ostiva::kSpeedTable)
        cbxSpeed_->addItem(QString("%1 km/h").arg(limit.speed));
    if (cbxFilter_->count() == 0)
        cbxFilter_->addItems({"all", "outside", "within", "no assessment"});
}

TSummaryForm* TSummaryForm::Open(QMdiArea* area, TProjectForm& project) {
    for (QMdiSubWindow* window : area->subWindowList()) {
        auto* form = qobject_cast<TSummaryForm*>(window->widget());
        if (form && form->Project() == &project) {
            area->setActiveSubWindow(window);
            form->Refresh();
            return form;
        }
    }
    auto* form = new TSummaryForm(project);
    if (!form->Refresh()) {
        delete form;
        return nullptr;
    }
    QMdiSubWindow* window = area->addSubWindow(form);
    window->resize(area->size() * 0.9);
    form->tblSummary_->resizeColumnsToContents();
    window->show();
    return form;
}

QList<TSummaryForm*> TSummaryForm::SummariesOf(const QMdiArea* area, const QString& folder) {
    QList<TSummaryForm*> forms;
    if (!area || folder.isEmpty())
        return forms;
    for (QMdiSubWindow* window : area->subWindowList()) {
        auto* form = qobject_cast<TSummaryForm*>(window->widget());
        if (form && QDir(form->directory_) == QDir(folder))
            forms << form;
    }
    return forms;
}

void TSummaryForm::RefreshAll(const QMdiArea* area, const QString& folder) {
    for (TSummaryForm* form : SummariesOf(area, folder))
        form->Refresh();
}

bool TSummaryForm::Refresh() {
    const std::string directory = directory_.toStdString();
    const std::vector<std::string> names = ostiva::ListProfileFiles(directory);
    std::optional<std::vector<ostiva::SummaryRow>> rows;
    {
        QProgressDialog progress(progressText_, cancelText_, 0, int(names.size()),
                                 window()->isVisible() ? this : parentWidget());
        progress.setObjectName("SummaryProgress");
        progress.setWindowTitle(App().ApplicationTitle);
        progress.setWindowModality(Qt::ApplicationModal);
        progress.setMinimumDuration(kProgressDelayMs);
        try {
            rows = ostiva::SummarizeProfiles(directory, names, "", App().LanguageFile(),
                                             FollowedBy(progress));
        } catch (const ostiva::IniError& e) {
            ShowFileError(this, QString::fromUtf8(e.what()));
            return false;
        }
    }
    if (!rows) {
        // What was not read again stays, but a profile deleted or moved away meanwhile must
        // not go on being shown, counted and exported.
        if (model_->KeepFiles(names))
            UpdateCounts();
        return false;
    }
    model_->SetRows(std::move(*rows));
    UpdateCounts();
    return true;
}

void TSummaryForm::FollowSavesOf(QMdiArea* area, TProjectForm& project) {
    connect(&project, &TProjectForm::StateChanged, area,
            [area, form = &project, wasModified = project.Modified]() mutable {
                // Saved or dropped, the edits are gone: the file is what the tables must show.
                if (!std::exchange(wasModified, form->Modified) || form->Modified ||
                    form->CurrentFile.isEmpty())
                    return;
                const QFileInfo file(form->CurrentFile);
                for (TSummaryForm* summary : SummariesOf(area, file.absolutePath()))
                    summary->ReadProfileAgain(file.fileName());
            });
}

void TSummaryForm::ReadProfileAgain(const QString& name) {
    // One record, not the whole folder.
    try {
        auto rows = ostiva::SummarizeProfiles(directory_.toStdString(), {name.toStdString()}, "",
                                              App().LanguageFile());
        if (rows && rows->size() == 1 && model_->ReplaceRow(std::move(rows->front())))
            UpdateCounts();
    } catch (const ostiva::IniError& e) {
        ShowFileError(this, QString::fromUtf8(e.what()));
    }
}

void TSummaryForm::SpeedChanged() {
    model_->SetSpeed(cbxSpeed_->currentIndex() - 1);
    UpdateCounts();
}

void TSummaryForm::FilterChanged() {
    const int entry = cbxFilter_->currentIndex();
    const QString verdict = entry > 0 && entry < 4 ? kFilterVerdicts[entry] : "";
    proxy_->setFilterRegularExpression(
        verdict.isEmpty() ? QString() : "^" + QRegularExpression::escape(verdict) + "$");
}

void TSummaryForm::UpdateCounts() {
    using ostiva::Verdict;
    const int outside = model_->Count(Verdict::Outside);
    const int within = model_->Count(Verdict::Within);
    const int none = model_->Count(Verdict::NoAssessment);
    lblCounts_->setText(QString(countsText_)
                            .replace("%1", QString::number(outside))
                            .replace("%2", QString::number(within))
                            .replace("%3", QString::number(none))
                            .replace("%4", QString::number(model_->rowCount())));
    // The filter's entries carry their counts too.
    const int counts[] = {model_->rowCount(), outside, within, none};
    for (int i = 0; i < cbxFilter_->count() && i < 4; ++i) {
        QString text = cbxFilter_->itemText(i);
        text = text.left(text.lastIndexOf(" (") >= 0 ? text.lastIndexOf(" (") : text.size());
        cbxFilter_->setItemText(i, QString("%1 (%2)").arg(text).arg(counts[i]));
    }
}

void TSummaryForm::ShowProfile(int modelRow) {
    if (!project_ || modelRow < 0 || modelRow >= int(model_->Rows().size()))
        return;
    const QString name = QString::fromStdString(model_->Rows()[std::size_t(modelRow)].File);
    TFileListBox& list = *project_->FileListBox1;
    if (QMdiSubWindow* window = SubWindowOf(project_))
        window->mdiArea()->setActiveSubWindow(window);
    // A search may have left the profile out of the list.
    if (!list.Entries().contains(name))
        list.SetMask(kAllProfiles);
    const int index = int(list.Entries().indexOf(name));
    if (index >= 0)
        list.setCurrentRow(index);
}

void TSummaryForm::Export() {
    FileDialogSpec spec{exportTitle_, exportFilter_, directory_, "summary.csv"};
    const QString path = Dialogs().SaveFile(this, spec);
    if (path.isEmpty())
        return;
    if (const QString clash = ProfileClash(path, directory_); !clash.isEmpty()) {
        ShowFileError(this, "Cannot write " + path + ": " + clash);
        return;
    }
    const bool json = path.endsWith(".json", Qt::CaseInsensitive);
    const auto& rows = model_->Rows();
    try {
        ostiva::ReplaceFileContents(path.toStdString(), json ? ostiva::SummaryJson(rows)
                                                             : ostiva::SummaryCsv(rows, ','));
    } catch (const std::exception& e) {
        ShowFileError(this, QString::fromUtf8(e.what()));
    }
}

void TSummaryForm::PrintPreview() {
    const SummaryPrintTexts texts{title_, FolderName(directory_),
                                  QDate::currentDate().toString("dd-MM-yyyy"),
                                  speedText_ + ": " + cbxSpeed_->currentText(), pageText_};
    TReportPreview preview([this, texts] { return SummaryPages(*proxy_, texts); }, this);
    preview.SetDocument(directory_, "summary.pdf");
    preview.Run();
}
