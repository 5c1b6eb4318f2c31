#include "app/report/TfrmCompReport.h"

#include "app/common/AppContext.h"
#include "app/common/Dialogs.h"
#include "app/common/LanguageTexts.h"
#include "app/report/PrintCommands.h"
#include "app/report/TReportPreview.h"
#include "app/report/TdlgPrintProfiles.h"
#include "app/report/TfrmReport.h"
#include "core/IniFile.h"
#include "core/ProjectData.h"

#include <QDir>
#include <QFileInfo>

TfrmCompReport::TfrmCompReport(const TdlgPrintProfiles& dialog, QObject* parent)
    : QObject(parent), dialog_(dialog) {
    setObjectName("frmCompReport");
}

TfrmCompReport::~TfrmCompReport() = default;

QList<ReportPage> TfrmCompReport::Build(QWidget* parent) {
    reports_.clear();
    QRCompositeReport1AddReports(parent);
    QList<ReportPage> pages;
    for (const auto& report : reports_)
        pages.append(report->QuickRep1());
    return pages;
}

void TfrmCompReport::QRCompositeReport1AddReports(QWidget* parent) {
    const QStringList paths = dialog_.SelectedPaths();
    if (paths.isEmpty())
        return;
    // The captions are read once for all pages, so an unreadable language file is reported
    // once and not for every page; without it no record can be built either.
    ReportCaptions captions;
    try {
        captions = ReportCaptions::Read(LanguageTexts());
    } catch (const ostiva::IniError& e) {
        ShowFileError(parent, QString::fromUtf8(e.what()));
        return;
    }
    const TGraphKind kind = dialog_.GraphKind();
    const QString title = dialog_.GraphCaption();
    for (const QString& path : paths) {
        std::unique_ptr<ostiva::TProjectData> record;
        try {
            record = ReadPrintRecord(parent, path);
        } catch (const ostiva::IniError& e) {
            ShowFileError(parent, QString::fromUtf8(e.what()));
            return;
        }
        auto report = std::make_unique<TfrmReport>(captions);
        report->FillReport(*record, kind, title);
        reports_.push_back(std::move(report));
    }
}

void TfrmCompReport::Preview(QWidget* parent) {
    TReportPreview preview([this, parent] { return Build(parent); }, parent);
    // Named after the folder its profiles come from.
    const QString folder = QDir::cleanPath(dialog_.Directory());
    const QString name = QFileInfo(folder).fileName();
    preview.SetDocument(folder, (name.isEmpty() ? QStringLiteral("report") : name) + ".pdf");
    preview.Run();
}
