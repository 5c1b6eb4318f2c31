// The print-selection dialog, the composite report and the print preview driven headless:
// captions from the language file, the file list's mask and order, the selection and kind OK
// returns, the pages of a composite and of a comparison window, and Save as PDF.
#include "TestSupport.h"
#include "app/common/AppContext.h"
#include "app/project/ProjectFormControls.h"
#include "app/project/TProjectForm.h"
#include "app/report/PrintCommands.h"
#include "app/report/TReportPreview.h"
#include "app/report/TdlgPrintProfiles.h"
#include "app/report/TfrmCompReport.h"
#include "app/report/TfrmReport.h"
#include "testdata/TestFiles.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The dialog shown without a modal loop: `User` works it while it is open.
class DrivenPrintDialog : public DrivenDialog<TdlgPrintProfiles, DrivenPrintDialog> {
  public:
    using DrivenDialog::DrivenDialog;
    // Clicks a file entry, with Ctrl to add it to the selection.
    void ClickFile(const QString& name, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QListWidget* list = Find<QListWidget>("FileListBox");
        const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        list->scrollToItem(items.first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->visualItemRect(items.first()).center());
    }
    QStringList Captions() {
        QStringList captions;
        for (QRadioButton* button : findChildren<QRadioButton*>())
            captions << button->objectName() + "=" + button->text();
        return captions;
    }
};

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

// The texts of a page's shown labels and legend.
QString PageTexts(const ReportPage& page) {
    QStringList texts{page.title};
    for (const ReportLabel& label : page.labels)
        if (label.visible)
            texts << label.text;
    for (const ReportSeries& series : page.series)
        if (series.visible)
            texts << series.title;
    return texts.join('|');
}

// The text of each page of a PDF file, read back with poppler's pdftotext.
QStringList PdfPages(const QString& path) {
    QProcess process;
    process.start("pdftotext", {"-layout", path, "-"});
    EXPECT_TRUE(process.waitForFinished(30000));
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The Title field of a PDF file, read back with poppler's pdfinfo.
QString PdfTitle(const QString& path) {
    QProcess process;
    process.start("pdfinfo", {path});
    EXPECT_TRUE(process.waitForFinished(30000));
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n'))
        if (line.startsWith("Title:"))
            return line.mid(6).trimmed();
    return QString();
}

class PrintProfilesTest : public ::testing::Test {
  protected:
    ExecutableFolder folder;
    ScriptedDialogs dialogs;
    QMdiArea area;
    int previews = 0;
    QList<ReportPage> shownPages; // of the last preview

    ~PrintProfilesTest() override { SetPreviewRunner({}); }

    // A profile whose weld number names it on the page.
    QString WriteProfile(const QString& path, const std::string& weld, std::uint32_t seed) {
        ostiva::testdata::GeneratorOptions options;
        options.seed = seed;
        options.header = ostiva::testdata::ProfileHeader{
            "D1", "01-02-2026", "10:00", "Rail BV", "Ut", "1",  "54E1",
            "L",  "TW",         "S",     weld,      "W1", "W12"};
        return folder.WriteProfile(path, options);
    }
    // Each preview is shown and saved as PDF into the next of `files`; `between` runs between
    // two saves of one preview.
    void SaveEachPreview(const QStringList& files, std::function<void()> between = {}) {
        dialogs.FileAnswers = files;
        SetPreviewRunner([this, files, between](TReportPreview& preview) {
            ++previews;
            shownPages = preview.Pages();
            preview.show();
            for (qsizetype i = 0; i < files.size(); ++i) {
                if (i > 0 && between)
                    between();
                QTest::mouseClick(preview.SavePdfButton(), Qt::LeftButton);
            }
            preview.close();
        });
    }
};

TEST_F(PrintProfilesTest, CaptionsComeFromTheLanguageFileAndOneKindIsChosen) {
    App().LanguageCode = "NL";
    DrivenPrintDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Profielen afdrukken");
    EXPECT_EQ(
        dialog.Captions(),
        QStringList({"rdbRdb0=Top_Meting", "rdbRdb1=Top_Norm", "rdbRdb2=Top Riffels",
                     "rdbRdb3=Top Trend", "rdbRdb4=Zij_Meting", "rdbRdb5=Zij_Norm",
                     "rdbRdb6=Top Riffels 1", "rdbRdb7=Top Riffels 2", "rdbRdb8=Top Riffels 3"}));
    EXPECT_TRUE(dialog.Find<QRadioButton>("rdbRdb0")->isChecked());
    EXPECT_EQ(dialog.GraphKind(), gkTopMeas);
    EXPECT_EQ(dialog.Find<QPushButton>("btnOK")->text(), "OK");
    EXPECT_TRUE(dialog.Find<QPushButton>("btnOK")->isDefault());
    EXPECT_EQ(dialog.Find<QPushButton>("BtnCancel")->text(), "Cancel");
    EXPECT_EQ(dialog.Mask(), "zq*.xml");
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    // A key the language file lacks reads "Error".
    App().LanguageCode = "EN";
    ostiva::testdata::WriteFileBytes(folder.LanguageFile("EN").toStdString(),
                                     "[ProjectForm]\r\nTab0=Hoogte\r\n");
    DrivenPrintDialog sparse;
    EXPECT_EQ(sparse.windowTitle(), "Error");
    EXPECT_EQ(sparse.Captions().mid(0, 2), QStringList({"rdbRdb0=Hoogte", "rdbRdb1=Error"}));
}

TEST_F(PrintProfilesTest, FileListShowsTheMatchingFilesByNameWithoutRegardToCase) {
    const QString dir = folder.MakeDirectory("mixed");
    for (const char* name : {"zq10.xml", "ZQ2.XML", "zq1.xml", "Zq3.xml", "other.xml", "zq4.txt",
                             "azq5.xml", "zq6.xml.bak"})
        Touch(dir + name);
    QDir(dir).mkdir("zq7.xml"); // a folder is not a file
    DrivenPrintDialog dialog;
    dialog.PointAt(dir);
    EXPECT_EQ(dialog.Directory(), dir);
    EXPECT_EQ(dialog.Entries(), QStringList({"zq1.xml", "zq10.xml", "ZQ2.XML", "Zq3.xml"}));
    // Print Profiles starts with the window's profile selected, whatever its letter case.
    dialog.SelectOnly("zq2.xml");
    EXPECT_EQ(dialog.SelectedPaths(), QStringList({dir + "ZQ2.XML"}));
    dialog.SelectOnly("");
    EXPECT_TRUE(dialog.SelectedPaths().isEmpty());

    // Pointed at the same directory again, the list shows files added in between.
    Touch(dir + "zq0.xml");
    dialog.PointAt(dir);
    EXPECT_EQ(dialog.Entries().first(), "zq0.xml");
}

TEST_F(PrintProfilesTest, OkGivesTheSelectionInListOrderAndTheKindCancelGivesNothing) {
    const QString project = folder.MakeProject("project", 0);
    const QString other = folder.MakeDirectory("project/sub");
    for (const char* name : {"zq001.xml", "zq005.xml", "zq009.xml", "zq010.xml"})
        Touch(project + name);
    Touch(other + "zq100.xml");
    DrivenPrintDialog dialog;
    dialog.PointAt(project);
    dialog.SelectOnly("zq010.xml");
    dialog.User = [](DrivenPrintDialog& d) {
        d.ClickFile("zq009.xml", Qt::NoModifier); // a plain click replaces the selection
        d.ClickFile("zq001.xml");
        d.ClickFile("zq005.xml");
        d.Click("rdbRdb6");
        d.Click("btnOK");
    };
    ASSERT_TRUE(dialog.Ask());
    EXPECT_EQ(dialog.SelectedPaths(),
              QStringList({project + "zq001.xml", project + "zq005.xml", project + "zq009.xml"}));
    EXPECT_EQ(dialog.GraphKind(), gkShortWaves1);
    EXPECT_EQ(dialog.GraphCaption(), "Top Corrugat.1");

    // The kind is kept for the next use; Cancel reports no OK.
    dialog.User = [](DrivenPrintDialog& d) { d.Click("BtnCancel"); };
    EXPECT_FALSE(dialog.Ask());
    EXPECT_EQ(dialog.GraphKind(), gkShortWaves1);

    // Opening a folder of the directory list shows its files; pages then come from there.
    dialog.User = [](DrivenPrintDialog& d) {
        QListWidget* directories = d.Find<QListWidget>("DirectoryListBox");
        const QList<QListWidgetItem*> sub = directories->findItems("sub", Qt::MatchEndsWith);
        ASSERT_EQ(sub.size(), 1);
        const QPoint at = directories->visualItemRect(sub.first()).center();
        QTest::mouseClick(directories->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(directories->viewport(), Qt::LeftButton, {}, at);
        d.ClickFile("zq100.xml", Qt::NoModifier);
        d.Click("btnOK");
    };
    ASSERT_TRUE(dialog.Ask());
    EXPECT_EQ(dialog.Directory(), other);
    EXPECT_EQ(dialog.SelectedPaths(), QStringList({other + "zq100.xml"}));
}

TEST_F(PrintProfilesTest, CompositeHoldsTheChosenFilesInListOrderReadAgainForEveryPrint) {
    const QString project = folder.MakeDirectory("project");
    std::uint32_t seed = 1;
    for (const char* name : {"zq001", "zq005", "zq009", "zq010"})
        WriteProfile(project + name + ".xml", std::string("W-") + name, seed++);
    TProjectForm* form = TProjectForm::OpenProject(&area, project + "zq005.xml");
    ASSERT_NE(form, nullptr);
    DrivenPrintDialog dialog;
    TfrmCompReport composite(dialog);
    dialog.User = [&](DrivenPrintDialog& d) {
        EXPECT_EQ(d.Directory(), project);
        EXPECT_EQ(d.SelectedPaths(), QStringList({project + "zq005.xml"}));
        d.ClickFile("zq009.xml", Qt::NoModifier);
        d.ClickFile("zq001.xml");
        d.ClickFile("zq005.xml");
        d.Click("rdbRdb6");
        d.Click("btnOK");
    };
    // Between the two saves the first save's pages are noted and a file changes.
    QStringList firstBuild;
    const QString first = folder.Path() + "/first.pdf", second = folder.Path() + "/second.pdf";
    SaveEachPreview({first, second}, [&] {
        for (const auto& report : composite.Reports())
            firstBuild << PageTexts(report->QuickRep1());
        WriteProfile(project + "zq001.xml", "W-changed", 1);
    });
    PrintProfiles(nullptr, *form, dialog, composite);
    ASSERT_EQ(previews, 1);
    EXPECT_EQ(dialogs.Unanswered, 0);
    EXPECT_TRUE(dialogs.Texts("Error").isEmpty());

    ASSERT_EQ(firstBuild.size(), 3);
    const QStringList welds = {"|W-zq001|", "|W-zq005|", "|W-zq009|"};
    for (qsizetype i = 0; i < firstBuild.size(); ++i) {
        EXPECT_TRUE(firstBuild[i].contains(welds[i])) << firstBuild[i].toStdString();
        EXPECT_TRUE(firstBuild[i].startsWith("Top Corrugat.1|")) << firstBuild[i].toStdString();
    }
    const QStringList pages = PdfPages(first);
    ASSERT_EQ(pages.size(), 3);
    for (const QString& page : pages)
        EXPECT_TRUE(page.contains("Top Corrugat.1"));
    // The second save built the composite again from the files as they are now.
    EXPECT_EQ(PdfPages(second).size(), 3);
    ASSERT_EQ(composite.Reports().size(), 3u);
    EXPECT_TRUE(PageTexts(composite.Reports()[0]->QuickRep1()).contains("|W-changed|"));

    // Cancel previews nothing.
    dialog.User = [](DrivenPrintDialog& d) { d.Click("BtnCancel"); };
    PrintProfiles(nullptr, *form, dialog, composite);
    EXPECT_EQ(previews, 1);
}

TEST_F(PrintProfilesTest, AnUnreadableProfileIsReportedAndStillGetsItsPage) {
    const QString project = folder.MakeDirectory("project");
    WriteProfile(project + "zq001.xml", "W-good", 1);
    const QString bad = WriteProfile(project + "zq002.xml", "W-bad", 2);
    TProjectForm* form = TProjectForm::OpenProject(&area, bad);
    ASSERT_NE(form, nullptr);
    ostiva::testdata::WriteFileBytes(bad.toStdString(), "<METING><INFO_MANU LASNR=\"x\"");
    const QString loadError = "XMLFile " + bad + " load error: ";

    // Each build of the pages reads the files again: the preview is built once here.
    SetPreviewRunner([this](TReportPreview& preview) {
        ++previews;
        shownPages = preview.Pages();
    });
    // Print Preview: one error box, then the page of what the record holds.
    PrintPreview(nullptr, *form);
    ASSERT_EQ(previews, 1);
    ASSERT_EQ(dialogs.Texts("Error").size(), 1);
    EXPECT_TRUE(dialogs.Texts("Error")[0].startsWith(loadError))
        << dialogs.Texts("Error")[0].toStdString();
    ASSERT_EQ(shownPages.size(), 1);
    EXPECT_TRUE(PageTexts(shownPages[0]).contains("|zq002.xml|"));

    // Print Profiles: one box for the bad file, a page for each file.
    DrivenPrintDialog dialog;
    TfrmCompReport composite(dialog);
    dialog.User = [](DrivenPrintDialog& d) {
        d.ClickFile("zq001.xml");
        d.Click("btnOK");
    };
    PrintProfiles(nullptr, *form, dialog, composite);
    ASSERT_EQ(previews, 2);
    ASSERT_EQ(dialogs.Texts("Error").size(), 2);
    EXPECT_TRUE(dialogs.Texts("Error")[1].startsWith(loadError));
    ASSERT_EQ(shownPages.size(), 2);
    EXPECT_TRUE(PageTexts(shownPages[0]).contains("|W-good|"));
    EXPECT_TRUE(PageTexts(shownPages[1]).contains("|zq002.xml|"));
    EXPECT_FALSE(PageTexts(shownPages[1]).contains("W-bad"));
}

TEST_F(PrintProfilesTest, PrintPreviewPrintsTheSavedFileOrTheComparisonPage) {
    const QString project = folder.MakeDirectory("project");
    const QString one = WriteProfile(project + "zq001.xml", "W-one", 1);
    const QString two = WriteProfile(project + "zq002.xml", "W-two", 2);

    // An edit not yet saved stays out of the page: it is built from the file.
    TProjectForm* form = TProjectForm::OpenProject(&area, one);
    ASSERT_NE(form, nullptr);
    QLineEdit* weld = form->Controls().Edit("Edit12");
    ASSERT_NE(weld, nullptr);
    weld->setText("W-unsaved");
    ASSERT_TRUE(form->Modified);
    const QString single = folder.Path() + "/single.pdf";
    SaveEachPreview({single});
    PrintPreview(nullptr, *form);
    ASSERT_EQ(previews, 1);
    ASSERT_EQ(shownPages.size(), 1);
    EXPECT_TRUE(PageTexts(shownPages[0]).contains("|W-one|"));
    EXPECT_FALSE(PageTexts(shownPages[0]).contains("W-unsaved"));
    EXPECT_FALSE(shownPages[0].Series(2).visible);
    EXPECT_EQ(PdfPages(single).size(), 1);

    TProjectForm* comparison = TProjectForm::OpenComparison(&area, one, two);
    ASSERT_NE(comparison, nullptr);
    const QString compared = folder.Path() + "/compared.pdf";
    SaveEachPreview({compared});
    PrintPreview(nullptr, *comparison);
    ASSERT_EQ(previews, 2);
    EXPECT_EQ(dialogs.FileDialogs.last().title, "Save as PDF");
    ASSERT_EQ(shownPages.size(), 1);
    const QString texts = PageTexts(shownPages[0]);
    EXPECT_TRUE(texts.contains("|W-one|")) << texts.toStdString();
    EXPECT_TRUE(texts.contains("|W-two|")) << texts.toStdString();
    EXPECT_TRUE(shownPages[0].Series(2).visible);
    const QStringList pages = PdfPages(compared);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(" - II"));

    // An empty project has no profile to preview.
    TProjectForm* empty = TProjectForm::NewProject(&area, folder.MakeDirectory("empty"));
    PrintPreview(nullptr, *empty);
    EXPECT_EQ(previews, 2);
}

TEST_F(PrintProfilesTest, SaveAsPdfSuggestsTheProfilesNameAndStartsWhereThePreviousPdfWent) {
    const QString project = folder.MakeDirectory("project");
    const QString one = WriteProfile(project + "zq001.xml", "W-one", 1);
    const QString two = WriteProfile(project + "zq002.xml", "W-two", 2);
    const QString out = folder.MakeDirectory("out");
    TProjectForm* form = TProjectForm::OpenProject(&area, one);
    ASSERT_NE(form, nullptr);
    App().RememberedDirectory = folder.Path() + "/demo";
    const QString projectFolder = folder.Path() + "/project";

    // No PDF saved yet: the profile's folder and name; the box names where the file went.
    SaveEachPreview({out + "weld.pdf"});
    PrintPreview(nullptr, *form);
    ASSERT_EQ(dialogs.FileDialogs.size(), 1);
    EXPECT_EQ(dialogs.FileDialogs[0].startFolder, projectFolder);
    EXPECT_EQ(dialogs.FileDialogs[0].fileName, "zq001.pdf");
    EXPECT_EQ(PdfTitle(out + "weld.pdf"), "zq001.pdf");
    EXPECT_EQ(dialogs.Texts("Information"),
              QStringList{"The report was saved as " + out + "weld.pdf."});
    EXPECT_EQ(folder.ReadSetting("Paths", "PdfDir"), folder.Path() + "/out");

    // Later ones start in that folder: a comparison page, a composite named after its folder.
    TProjectForm* comparison = TProjectForm::OpenComparison(&area, one, two);
    SaveEachPreview({out + "compared.pdf"});
    PrintPreview(nullptr, *comparison);
    DrivenPrintDialog dialog;
    TfrmCompReport composite(dialog);
    dialog.User = [](DrivenPrintDialog& d) {
        d.ClickFile("zq002.xml");
        d.Click("btnOK");
    };
    SaveEachPreview({out + "all.pdf"});
    PrintProfiles(nullptr, *form, dialog, composite);
    ASSERT_EQ(dialogs.FileDialogs.size(), 3);
    EXPECT_EQ(dialogs.FileDialogs[1].startFolder, folder.Path() + "/out");
    EXPECT_EQ(dialogs.FileDialogs[1].fileName, "zq001-zq002.pdf");
    EXPECT_EQ(dialogs.FileDialogs[2].startFolder, folder.Path() + "/out");
    EXPECT_EQ(dialogs.FileDialogs[2].fileName, "project.pdf");
    EXPECT_EQ(PdfTitle(out + "all.pdf"), "project.pdf");
    EXPECT_EQ(PdfPages(out + "all.pdf").size(), 2);

    // A remembered folder that is gone gives way to the profile's; a cancelled save says
    // nothing.
    ASSERT_TRUE(QDir(out).removeRecursively());
    dialogs.Messages.clear();
    SaveEachPreview({""});
    PrintPreview(nullptr, *form);
    EXPECT_EQ(dialogs.FileDialogs.last().startFolder, projectFolder);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

} // namespace
