#pragma once
// The preview of a report: the toolkit's print preview (pages, zoom, printer choice, print)
// with a button that saves the previewed document as a PDF file without a printer dialog.
#include "app/report/ReportPage.h"

#include <QList>
#include <QPrintPreviewDialog>
#include <functional>

class QToolButton;

// The pages of the document, in order. It runs for the preview, for every print from it and
// for every PDF, so a document that reads files reads them again each time.
using BuildDocument = std::function<QList<ReportPage>()>;

class TReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
  public:
    explicit TReportPreview(BuildDocument build, QWidget* parent = nullptr);

    // Shows the preview modally and returns when it is closed; through the installed runner,
    // so that tests never enter a modal loop.
    void Run();

    // What the document is called: `name` ("zq0001.pdf") is the suggested file name, the PDF's
    // title and the print job's name; `folder` is where Save as PDF starts until a PDF has been
    // saved somewhere. Without it: "report.pdf" in the remembered directory.
    void SetDocument(const QString& folder, const QString& name);

    // Asks for a file name and writes the document there as PDF, then says where it went and
    // remembers the folder for the next Save as PDF. False when cancelled, when there is no
    // page to write or writing failed (the error was shown then).
    bool SavePdf();

    QToolButton* SavePdfButton() const { return savePdfButton_; }
    // The pages of the document, built afresh.
    QList<ReportPage> Pages() const { return build_(); }

  private:
    BuildDocument build_;
    QString folder_;
    QString name_ = "report.pdf";
    QToolButton* savePdfButton_ = nullptr;
};

// The folder the last PDF was saved to, from the settings file; empty when none was or it no
// longer exists.
QString RememberedPdfFolder();

// Runs a preview in place of its modal loop; an empty runner restores the real one.
using PreviewRunner = std::function<void(TReportPreview& preview)>;
void SetPreviewRunner(PreviewRunner runner);
