#include "app/report/TReportPreview.h"

#include "app/common/AppContext.h"
#include "app/common/Dialogs.h"
#include "app/report/TfrmReport.h"

#include "core/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>

namespace {

PreviewRunner& InstalledRunner() {
    static PreviewRunner runner;
    return runner;
}

constexpr char kPathsSection[] = "Paths";
constexpr char kPdfFolderKey[] = "PdfDir";

// A folder that cannot be remembered costs the user only a click next time; the PDF itself was
// written and reported.
void RememberPdfFolder(const QString& folder) {
    try {
        ostiva::IniFile(App().WritableSettingsFile())
            .WriteString(kPathsSection, kPdfFolderKey, S(QDir::toNativeSeparators(folder)));
    } catch (const std::exception&) {
    }
}

} // namespace

QString RememberedPdfFolder() {
    try {
        const QString folder =
            Q(ostiva::IniFile(App().SettingsFile()).ReadString(kPathsSection, kPdfFolderKey, ""));
        return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
    } catch (const std::exception&) {
        return QString();
    }
}

void SetPreviewRunner(PreviewRunner runner) {
    InstalledRunner() = std::move(runner);
}

TReportPreview::TReportPreview(BuildDocument build, QWidget* parent)
    : QPrintPreviewDialog(parent), build_(std::move(build)) {
    setObjectName("ReportPreview");
    QPrinter* device = printer();
    device->setDocName(name_);
    device->setCopyCount(1);
    device->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    connect(this, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { PaintReportPages(*target, build_()); });

    auto* save = new QAction("Save as PDF", this);
    save->setObjectName("actSavePdf");
    save->setToolTip("Save the report as a PDF file");
    connect(save, &QAction::triggered, this, [this] { SavePdf(); });
    if (auto* toolBar = findChild<QToolBar*>()) {
        toolBar->addSeparator();
        toolBar->addAction(save);
        savePdfButton_ = qobject_cast<QToolButton*>(toolBar->widgetForAction(save));
    }
    if (!savePdfButton_) { // a preview without a tool bar: the button stands on its own
        savePdfButton_ = new QToolButton(this);
        savePdfButton_->setDefaultAction(save);
    }
    savePdfButton_->setObjectName("btnSavePdf");
    savePdfButton_->setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void TReportPreview::SetDocument(const QString& folder, const QString& name) {
    folder_ = folder;
    name_ = name;
    printer()->setDocName(name);
}

void TReportPreview::Run() {
    if (InstalledRunner())
        InstalledRunner()(*this);
    else
        exec();
}

bool TReportPreview::SavePdf() {
    FileDialogSpec spec;
    spec.title = "Save as PDF";
    spec.filter = "PDF files (*.pdf)|*.pdf";
    spec.startFolder = RememberedPdfFolder();
    if (spec.startFolder.isEmpty())
        spec.startFolder = folder_.isEmpty() ? App().RememberedDirectory : folder_;
    spec.fileName = name_;
    const QString path = Dialogs().SaveFile(this, spec);
    if (path.isEmpty())
        return false;
    const QList<ReportPage> pages = build_();
    if (pages.isEmpty()) {
        // An empty PDF would look like a saved report.
        ShowError(this, "The report has no pages; " + path + " was not written.");
        return false;
    }
    try {
        WriteReportPdf(path, pages, name_);
    } catch (const std::exception& e) {
        ShowError(this, QString::fromUtf8(e.what()));
        return false;
    }
    const QFileInfo saved(path);
    RememberPdfFolder(saved.absolutePath());
    Dialogs().Information(this, App().ApplicationTitle,
                          "The report was saved as " +
                              QDir::toNativeSeparators(saved.absoluteFilePath()) + ".");
    return true;
}
