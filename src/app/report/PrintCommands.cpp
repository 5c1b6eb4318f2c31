#include "app/report/PrintCommands.h"

#include "app/common/AppContext.h"
#include "app/common/Dialogs.h"
#include "app/common/LanguageTexts.h"
#include "app/project/ProjectFormControls.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/report/TReportPreview.h"
#include "app/report/TdlgPrintProfiles.h"
#include "app/report/TfrmCompReport.h"
#include "app/report/TfrmReport.h"
#include "core/IniFile.h"
#include "core/ProjectData.h"

#include <QFileInfo>
#include <QLabel>
#include <QTabBar>

namespace {

// The full path of the entry selected in the window's profile list; empty when none is.
QString SelectedProfilePath(const TProjectForm& form) {
    const QString entry = form.FileListBox1->SelectedEntry();
    if (entry.isEmpty())
        return QString();
    QString directory = form.FileListBox1->Directory();
    if (!directory.isEmpty() && !directory.endsWith('/'))
        directory += '/';
    return directory + entry;
}

// The page of the preview, built once: its records are gone before the preview opens.
std::unique_ptr<TfrmReport> BuildPreviewPage(QWidget* parent, TProjectForm& form) {
    const TGraphKind kind = form.GraphKind();
    const QString title = form.Controls().tabGraficType->tabText(int(kind));
    const QString path = SelectedProfilePath(form);
    const QString first = form.Controls().lblDir_1->text();
    const QString second = form.Controls().lblDir_2->text();
    if (path.isEmpty() && (first.isEmpty() || second.isEmpty()))
        return nullptr; // an empty project: no profile to print
    // Read once here: an unreadable language file is then reported once, not also for the
    // records, which cannot be built without it.
    auto report = std::make_unique<TfrmReport>(ReportCaptions::Read(LanguageTexts()));
    if (!path.isEmpty()) {
        report->FillReport(*ReadPrintRecord(parent, path), kind, title);
        return report;
    }
    report->ShowComparisonColumns();
    report->FillReport(*ReadPrintRecord(parent, first), kind, title);
    report->ShowSeries2();
    report->FillReport(*ReadPrintRecord(parent, second), kind, title);
    return report;
}

} // namespace

std::unique_ptr<ostiva::TProjectData> ReadPrintRecord(QWidget* parent, const QString& path) {
    auto record = std::make_unique<ostiva::TProjectData>(path.toStdString(), std::string(),
                                                         App().LanguageFile());
    if (!record->Error.empty())
        ShowError(parent, QString::fromStdString(record->Error));
    return record;
}

void PrintPreview(QWidget* parent, TProjectForm& form) {
    std::unique_ptr<TfrmReport> report;
    try {
        report = BuildPreviewPage(parent, form);
    } catch (const ostiva::IniError& e) {
        ShowFileError(parent, QString::fromUtf8(e.what()));
        return;
    }
    if (!report)
        return;
    const ReportPage page = report->QuickRep1();
    TReportPreview preview([page] { return QList<ReportPage>{page}; }, parent);
    // Named after its profile, a comparison page after both.
    const QString path = SelectedProfilePath(form);
    const QFileInfo first(path.isEmpty() ? form.Controls().lblDir_1->text() : path);
    QString name = first.completeBaseName();
    if (path.isEmpty())
        name += "-" + QFileInfo(form.Controls().lblDir_2->text()).completeBaseName();
    preview.SetDocument(first.absolutePath(), name + ".pdf");
    preview.Run();
}

void PrintProfiles(QWidget* parent, TProjectForm& form, TdlgPrintProfiles& dialog,
                   TfrmCompReport& composite) {
    dialog.PointAt(form.ProjectDir);
    dialog.SelectOnly(QFileInfo(SelectedProfilePath(form)).fileName());
    if (!dialog.Ask())
        return;
    composite.Preview(parent);
}
