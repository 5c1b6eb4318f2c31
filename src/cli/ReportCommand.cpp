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

// The record of a file; nullptr (after the message) when the file could not be read.
std::unique_ptr<TProjectData> ReadRecord(const std::string& path, const std::string& language) {
    auto record = std::make_unique<TProjectData>(path, "", language);
    if (!record->Error.empty()) {
        std::cerr << "ostiva-cli: " << record->Error << "\n";
        return nullptr;
    }
    return record;
}

} // namespace

int WriteReport(const ReportRequest& request) {
    const auto app = StartGuiApplication();
    const TGraphKind kind = *GraphKindAt(request.kind);
    try {
        const LanguageTexts language(request.languageFile);
        const ReportCaptions captions = ReportCaptions::Read(language);
        const QString title = language.Text("ProjectForm", GraphKindOf(kind).tabKey);
        QList<ReportPage> pages;
        if (request.compare) {
            // Profile I's record is gone before profile II's is read.
            TfrmReport form(captions);
            form.ShowComparisonColumns();
            {
                const auto first = ReadRecord(request.profiles[0], request.languageFile);
                if (!first)
                    return 1;
                form.FillReport(*first, kind, title);
            }
            form.ShowSeries2();
            const auto second = ReadRecord(request.profiles[1], request.languageFile);
            if (!second)
                return 1;
            form.FillReport(*second, kind, title);
            pages.append(form.QuickRep1());
        } else {
            for (const std::string& path : SortedByName(request.profiles)) {
                const auto record = ReadRecord(path, request.languageFile);
                if (!record)
                    return 1;
                pages.append(SingleReportPage(captions, *record, kind, title));
            }
        }
        WriteReportPdf(QString::fromStdString(request.output), pages);
    } catch (const std::exception& e) {
        std::cerr << "ostiva-cli: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace ostiva::cli
