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

    // Asks for a file name and writes the document there as PDF. False when cancelled, when
    // there is no page to write or writing failed (the error was shown then).
    bool SavePdf();

    QToolButton* SavePdfButton() const { return savePdfButton_; }
    // The pages of the document, built afresh.
    QList<ReportPage> Pages() const { return build_(); }

  private:
    BuildDocument build_;
    QToolButton* savePdfButton_ = nullptr;
};

// Runs a preview in place of its modal loop; an empty runner restores the real one.
using PreviewRunner = std::function<void(TReportPreview& preview)>;
void SetPreviewRunner(PreviewRunner runner);
