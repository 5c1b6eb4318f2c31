#include "app/report/TfrmReport.h"

#include "app/common/Dialogs.h"
#include "app/common/LanguageTexts.h"
#include "core/FileReplace.h"
#include "core/IniFile.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

TfrmReport::TfrmReport(QObject* parent)
    : QObject(parent), page_(NewReportPage(ReportCaptions::BuiltIn())) {
    setObjectName("frmReport");
    FormCreate();
}

TfrmReport::TfrmReport(const ReportCaptions& captions, QObject* parent)
    : QObject(parent), page_(NewReportPage(captions)) {
    setObjectName("frmReport");
}

void TfrmReport::FormCreate() {
    try {
        const LanguageTexts language;
        page_ = NewReportPage(ReportCaptions::Read(language));
    } catch (const ostiva::IniError& e) {
        ShowFileError(nullptr, QString::fromStdString(e.what()));
    }
}

void TfrmReport::FillReport(const ostiva::TProjectData& record, TGraphKind kind,
                            const QString& title) {
    ::FillReport(page_, record, kind, title);
}

void TfrmReport::ShowComparisonColumns() {
    ::ShowComparisonColumns(page_);
}

void TfrmReport::ShowSeries2() {
    page_.Series(2).visible = true;
}

bool TfrmReport::Print(QPrinter* printer) const {
    return PaintReportPages(*printer, {page_});
}

void TfrmReport::WritePdf(const QString& path) const {
    WriteReportPdf(path, {page_});
}

bool PaintReportPages(QPagedPaintDevice& device, const QList<ReportPage>& pages) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The painter's origin is the corner of the printable area; the page is laid out on the
    // whole sheet, so a printer's own margins do not shift it.
    const QPageLayout layout = device.pageLayout();
    const int resolution = device.logicalDpiX();
    const QRectF sheet = QRectF(layout.fullRectPixels(resolution))
                             .translated(-QPointF(layout.paintRectPixels(resolution).topLeft()));
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        DrawReportPage(painter, sheet, pages[i]);
    }
    return painter.end();
}

QByteArray ReportPdf(const QList<ReportPage>& pages, const QString& title) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator("Ostiva");
        writer.setTitle(title);
        writer.setResolution(1200);
        if (!PaintReportPages(writer, pages))
            throw std::runtime_error("Cannot draw the report");
    }
    return buffer.data();
}

void WriteReportPdf(const QString& path, const QList<ReportPage>& pages, const QString& title) {
    const QByteArray pdf = ReportPdf(pages, title);
    ostiva::ReplaceFileContents(path.toStdString(), std::string_view(pdf.constData(), pdf.size()));
}
