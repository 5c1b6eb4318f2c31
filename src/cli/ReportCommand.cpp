#include "cli/ReportCommand.h"

#include "app/chart/GraphKinds.h"
#include "app/common/LanguageTexts.h"
#include "app/report/ReportPage.h"
#include "app/report/TfrmReport.h"
#include "core/IniFile.h"
#include "core/ProjectData.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <algorithm>
#include <iostream>
#include <memory>

namespace ostiva::cli {

namespace {

// Fonts and painting need a GUI application; without a display it draws off screen.
std::unique_ptr<QGuiApplication> StartGuiApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ostiva-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

std::vector<std::string> SortedByName(std::vector<std::string> paths) {
    std::stable_sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        return QFileInfo(QString::fromStdString(a))
                   .fileName()
                   .compare(QFileInfo(QString::fromStdString(b)).fileName(), Qt::CaseInsensitive) <
               0;
    });
    return paths;
}

// Qt's own warnings (a missing XDG_RUNTIME_DIR, font fallbacks) are not this tool's messages;
// its failures reach the user through its own ones.
QtMessageHandler qtHandler = nullptr;
void DropQtWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if ((type == QtCriticalMsg || type == QtFatalMsg) && qtHandler)
        qtHandler(type, context, message);
}

// The record of a file, built whatever happens; a failure is named on stderr and `failed` set.
std::unique_ptr<TProjectData> ReadRecord(const std::string& path, const std::string& language,
                                         bool& failed) {
    auto record = std::make_unique<TProjectData>(path, "", language);
    if (!record->Error.empty()) {
        std::cerr << "ostiva-cli: " << path << ": " << record->Error << "\n";
        failed = true;
    }
    return record;
}

} // namespace

int WriteReport(const ReportRequest& request) {
    qtHandler = qInstallMessageHandler(DropQtWarnings);
    const auto app = StartGuiApplication();
    const TGraphKind kind = *GraphKindAt(request.kind);
    bool failed = false;
    try {
        const LanguageTexts language(request.languageFile);
        const ReportCaptions captions = ReportCaptions::Read(language);
        const QString title = language.Text("ProjectForm", GraphKindOf(kind).tabKey);
        QList<ReportPage> pages;
        // A file that cannot be read still gets its page, from what its record holds, as
        // Print Profiles does: one bad file does not cost the others their pages.
        if (request.compare) {
            // Profile I's record is gone before profile II's is read.
            TfrmReport form(captions);
            form.ShowComparisonColumns();
            form.FillReport(*ReadRecord(request.profiles[0], request.languageFile, failed), kind,
                            title);
            form.ShowSeries2();
            form.FillReport(*ReadRecord(request.profiles[1], request.languageFile, failed), kind,
                            title);
            pages.append(form.QuickRep1());
        } else {
            for (const std::string& path : SortedByName(request.profiles))
                pages.append(SingleReportPage(
                    captions, *ReadRecord(path, request.languageFile, failed), kind, title));
        }
        WriteReportPdf(QString::fromStdString(request.output), pages);
    } catch (const std::exception& e) {
        std::cerr << "ostiva-cli: " << e.what() << "\n";
        return 1;
    }
    return failed ? 1 : 0;
}

} // namespace ostiva::cli
