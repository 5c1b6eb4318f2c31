#pragma once
// The composite report: one page per profile file selected in the print-selection dialog, in
// the order of the dialog's list, all in the dialog's graph kind. It lives for the whole run
// and is never shown; every build reads the selected files again, so printing from the preview
// prints what the files hold at that moment.
#include "app/report/ReportPage.h"

#include <QList>
#include <QObject>
#include <memory>
#include <vector>

class QWidget;
class TdlgPrintProfiles;
class TfrmReport;

class TfrmCompReport : public QObject {
    Q_OBJECT
  public:
    explicit TfrmCompReport(const TdlgPrintProfiles& dialog, QObject* parent = nullptr);
    ~TfrmCompReport() override;

    // Empties the page list and runs the add-reports handler; returns the pages in list order.
    // Errors (a file that cannot be read, the language file) are shown over `parent`.
    QList<ReportPage> Build(QWidget* parent);
    // Shows the preview of the composite and returns when it is closed.
    void Preview(QWidget* parent);

    const std::vector<std::unique_ptr<TfrmReport>>& Reports() const { return reports_; }

  private:
    void QRCompositeReport1AddReports(QWidget* parent);

    const TdlgPrintProfiles& dialog_;
    std::vector<std::unique_ptr<TfrmReport>> reports_;
};
