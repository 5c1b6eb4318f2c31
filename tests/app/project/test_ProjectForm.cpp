// The project window driven headless: opening, selection, editing and saving, the speed list,
// the norm-limit boxes, the quality labels and the graph kinds.
#include "TestSupport.h"
#include "app/chart/TProfileChart.h"
#include "app/common/AppContext.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "core/IniFile.h"
#include "core/NumberText.h"
#include "core/ProjectData.h"
#include "testdata/TestFiles.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <sys/stat.h>

using ostiva::testdata::ReadFileBytes;

namespace {

const QStringList kAllPanels = {
    "gbxTopMeasParms",    "gbxZijMeasParms",    "gbxSWParms",         "gbxSWParms1",  "gbxSWParms2",
    "gbxSWParms3",        "gbxNormTop",         "gbxNormShortWaves",  "gbxNormTrend", "gbxNormZij",
    "gbxNormShortWaves1", "gbxNormShortWaves2", "gbxNormShortWaves3", "grpQuality",   "gbxQIZij"};

class ProjectFormTest : public ::testing::Test {
  protected:
    ExecutableFolder folder;
    ScriptedDialogs dialogs;
    QMdiArea area;

    template <typename T> T* Find(TProjectForm* form, const QString& name) {
        return FindNamed<T>(form, name);
    }
    QString Text(TProjectForm* form, const QString& name) {
        return Find<QLineEdit>(form, name)->text();
    }
    void Type(TProjectForm* form, const QString& name, const QString& text) {
        QTest::keyClicks(Find<QLineEdit>(form, name), text);
    }
    void Select(TProjectForm* form, int row) { form->FileListBox1->setCurrentRow(row); }
    std::string Attribute(const QString& path, const char* element, const char* attribute) {
        ostiva::ProfileDocument document;
        document.Load(path.toStdString());
        return document.GetAttribute(element, attribute);
    }
    void ChooseSpeed(TProjectForm* form, const QString& speed) {
        auto* speeds = Find<QComboBox>(form, "cbxVelInp");
        const int index = speeds->findText(speed);
        speeds->setCurrentIndex(index);
        emit speeds->activated(index);
    }
    QString Question(const QString& path) {
        return "File " + path + " is modified. Do you wish to save it?";
    }
    TProjectForm* OpenAtSpeed80(const QString& dir) {
        ostiva::testdata::GeneratorOptions options;
        options.speed = "80";
        return TProjectForm::OpenProject(&area, folder.WriteProfile(dir + "zq0001.xml", options));
    }
    bool HeaderReadOnly(TProjectForm* form) {
        return Find<QLineEdit>(form, "Edit12")->isReadOnly() &&
               Find<QLineEdit>(form, "Edit7")->isReadOnly() &&
               Find<QPlainTextEdit>(form, "Memo1")->isReadOnly();
    }
};

// A minimal profile whose vertical profile steps by `stepUm` micrometres between the 25 mm
// means at -25 mm and 0 mm, so that its quality index is known exactly.
QString WriteStepProfile(const QString& path, int stepUm, const char* speed, const char* zijPosP) {
    std::string top;
    for (int j = 1; j <= 201; ++j)
        top += std::to_string(-500 + 5 * (j - 1)) + " " +
               (j >= 99 ? std::to_string(stepUm / 1000.0) : std::string("0")) + "\n";
    const std::string xml = std::string("<?xml version=\"1.0\"?>\n<PROFILE>") +
                            "<INFO_AUTO DEVICE=\"D1\" DATUM=\"01-02-2026\" TIJD=\"10:00\" "
                            "EIGENAAR=\"Rail BV\"/>" +
                            "<INFO_MANU PLAATS=\"Ut\" SPOOR=\"1\" KM=\"54E1\" RAIL=\"L\" "
                            "LASTYPE=\"TW\" LASSER=\"Jan\" LASNR=\"7\" WERKNUMMER=\"W1\" "
                            "WISSEL=\"\" SNELHEID=\"" +
                            speed + "\"/>" +
                            "<TOP_MEAS POSP=\"0.1\" NEGP=\"0\" POSH=\"0\" NEGH=\"0\">" + top +
                            "</TOP_MEAS><ZIJ_MEAS POSP=\"" + zijPosP +
                            "\" NEGP=\"0\" POSH=\"0\" NEGH=\"0\">-500 0</ZIJ_MEAS>"
                            "<TOP_QUALITY QI=\"\" NORM=\"\"/></PROFILE>\n";
    ostiva::testdata::WriteFileBytes(path.toStdString(), xml);
    return path;
}

TEST_F(ProjectFormTest, OpenProjectShowsTheFileWithItsHeaderAndParameters) {
    const QString dir = folder.MakeProject("p", 3);
    WriteStepProfile(dir + "zq0002.xml", 80, "40", "1.00");
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0002.xml");

    EXPECT_EQ(form->ProjectDir, dir);
    EXPECT_EQ(form->windowTitle(), dir);
    EXPECT_EQ(form->CurrentFile, dir + "zq0002.xml");
    EXPECT_EQ(form->FileListBox1->Entries(),
              QStringList({"zq0001.xml", "zq0002.xml", "zq0003.xml"}));
    EXPECT_EQ(form->FileListBox1->SelectedEntry(), "zq0002.xml");
    EXPECT_EQ(Text(form, "Edit2"), "zq0002.xml");
    EXPECT_EQ(QDir::currentPath() + "/", dir);

    // The texts of WriteStepProfile as they stand; POSP "0.1" and NEGP "0" as "%5.2f".
    EXPECT_EQ(Text(form, "Edit12"), "7");
    EXPECT_EQ(Text(form, "Edit1"), "D1");
    EXPECT_EQ(Text(form, "Edit8"), "Ut");
    EXPECT_EQ(Find<QPlainTextEdit>(form, "Memo1")->toPlainText(), "1");
    EXPECT_EQ(Find<QLabel>(form, "Label22")->text(), "Rail BV");
    EXPECT_EQ(Text(form, "Edit14"), " 0.10");
    EXPECT_EQ(Text(form, "Edit15"), " 0.00");
    EXPECT_EQ(Find<QLabel>(form, "lblQuality")->text(), " 1.00");
    EXPECT_EQ(Find<QLabel>(form, "lblVel")->text(), "40");

    EXPECT_FALSE(form->Modified);
    for (bool flag :
         {form->Editable, form->CanLoadData, form->CanLoadFromDevice, form->CanPrintPreview,
          form->CanPrintProfiles, form->CanDelete, form->CanSearch, form->CanCopyTo})
        EXPECT_TRUE(flag);
    EXPECT_FALSE(Find<QLineEdit>(form, "Edit12")->isReadOnly());
    EXPECT_TRUE(Find<QLineEdit>(form, "Edit2")->isReadOnly());
    EXPECT_TRUE(Find<QLineEdit>(form, "Edit14")->isReadOnly());
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(ProjectFormTest, OpenProjectOfMissingFileOrNameOutsideTheMask) {
    const QString dir = folder.MakeProject("p", 2);
    EXPECT_THROW(
        {
            try {
                TProjectForm::OpenProject(&area, dir + "zq9999.xml");
            } catch (const std::runtime_error& e) {
                EXPECT_EQ(QString(e.what()), "Invalid file name - " + dir + "zq9999.xml");
                throw;
            }
        },
        std::runtime_error);

    QFile::copy(dir + "zq0001.xml", dir + "weld.xml");
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "weld.xml");
    EXPECT_EQ(form->FileListBox1->Entries(), QStringList({"weld.xml"}));
    EXPECT_EQ(form->CurrentFile, dir + "weld.xml");
}

TEST_F(ProjectFormTest, ListMatchesAndSortsWithoutRegardToCase) {
    const QString dir = folder.MakeProject("p", 1);
    QFile::copy(dir + "zq0001.xml", dir + "ZQB.XML");
    QFile::copy(dir + "zq0001.xml", dir + "zqa.xml");
    QFile::copy(dir + "zq0001.xml", dir + "other.xml");
    QDir(dir).mkdir("zqdir.xml");
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    EXPECT_EQ(form->FileListBox1->Entries(), QStringList({"zq0001.xml", "zqa.xml", "ZQB.XML"}));
    form->FileListBox1->SetMask("other.xml;zqa.*");
    EXPECT_EQ(form->FileListBox1->Entries(), QStringList({"other.xml", "zqa.xml"}));
}

TEST_F(ProjectFormTest, RefreshAfterFilesWereAddedShowsTheFirstEntry) {
    const QString dir = folder.MakeProject("p", 3);
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0003.xml");
    folder.WriteProfile(dir + "zq0000.xml");
    form->FileListBox1->Refresh();
    EXPECT_EQ(form->FileListBox1->count(), 4);
    EXPECT_EQ(form->CurrentFile, dir + "zq0000.xml");
    EXPECT_EQ(Text(form, "Edit2"), "zq0000.xml");
}

TEST_F(ProjectFormTest, SelectionAsksToSaveEditsYesWritesNoDiscards) {
    const QString dir = folder.MakeProject("p", 3);
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    const std::string before = ReadFileBytes((dir + "zq0001.xml").toStdString());

    Type(form, "Edit12", "X");
    EXPECT_TRUE(form->Modified);
    dialogs.YesNoAnswers = {false};
    Select(form, 1);
    EXPECT_EQ(dialogs.Texts("YesNo"),
              QStringList({"File " + dir + "zq0001.xml is modified. Do you wish to save it?"}));
    EXPECT_EQ(ReadFileBytes((dir + "zq0001.xml").toStdString()), before);
    EXPECT_EQ(form->CurrentFile, dir + "zq0002.xml");
    EXPECT_FALSE(form->Modified);

    const QString lasNr = Text(form, "Edit12") + "-B";
    Find<QLineEdit>(form, "Edit12")->setText(lasNr);
    Find<QPlainTextEdit>(form, "Memo1")->setPlainText("track 3\nleft");
    const QString owner = Find<QLabel>(form, "Label22")->text();
    dialogs.YesNoAnswers = {true};
    Select(form, 2);
    EXPECT_EQ(dialogs.Texts("YesNo").size(), 2);
    EXPECT_EQ(Attribute(dir + "zq0002.xml", "INFO_MANU", "LASNR"), lasNr.toStdString());
    EXPECT_EQ(Attribute(dir + "zq0002.xml", "INFO_MANU", "SPOOR"), "track 3\nleft");
    EXPECT_EQ(Attribute(dir + "zq0002.xml", "INFO_AUTO", "EIGENAAR"), owner.toStdString());
    EXPECT_FALSE(Attribute(dir + "zq0002.xml", "TOP_QUALITY", "QI").empty());
    EXPECT_EQ(form->CurrentFile, dir + "zq0003.xml");
    EXPECT_FALSE(form->Modified);
}

TEST_F(ProjectFormTest, EachHeaderFieldShowsAndSavesItsOwnAttribute) {
    ostiva::testdata::GeneratorOptions options;
    options.header =
        ostiva::testdata::ProfileHeader{"dev",  "date", "time",   "owner", "place", "track", "km",
                                        "rail", "type", "welder", "nr",    "job",   "switch"};
    const QString path = folder.WriteProfile(folder.MakeDirectory("h") + "zq0001.xml", options);
    TProjectForm* form = TProjectForm::OpenProject(&area, path);
    // The captions "Serial No:", "Date:", "Time:", "Job number:", "Switch / Km:", "Operator:",
    // "Location code:", "Rail type", "Rail L/R:", "Weld number:" and "Weld type:" name what
    // each field holds.
    struct Field {
        const char* field;
        const char* element;
        const char* attribute;
    };
    const Field fields[] = {{"Edit1", "INFO_AUTO", "DEVICE"},  {"Edit3", "INFO_AUTO", "DATUM"},
                            {"Edit4", "INFO_AUTO", "TIJD"},    {"Edit5", "INFO_MANU", "WERKNUMMER"},
                            {"Edit6", "INFO_MANU", "WISSEL"},  {"Edit7", "INFO_MANU", "LASSER"},
                            {"Edit8", "INFO_MANU", "PLAATS"},  {"Edit10", "INFO_MANU", "KM"},
                            {"Edit11", "INFO_MANU", "RAIL"},   {"Edit12", "INFO_MANU", "LASNR"},
                            {"Edit13", "INFO_MANU", "LASTYPE"}};
    for (const Field& f : fields) {
        EXPECT_EQ(Text(form, f.field).toStdString(), Attribute(path, f.element, f.attribute))
            << f.field;
        Find<QLineEdit>(form, f.field)->setText(QString(f.field) + " new");
    }
    EXPECT_EQ(Find<QPlainTextEdit>(form, "Memo1")->toPlainText(), "track");
    Find<QPlainTextEdit>(form, "Memo1")->setPlainText("Memo1 new");
    ASSERT_TRUE(form->ProfileSave(false));
    for (const Field& f : fields)
        EXPECT_EQ(Attribute(path, f.element, f.attribute), std::string(f.field) + " new")
            << f.attribute;
    EXPECT_EQ(Attribute(path, "INFO_MANU", "SPOOR"), "Memo1 new");
    EXPECT_EQ(Attribute(path, "INFO_AUTO", "EIGENAAR"), "owner");
}

TEST_F(ProjectFormTest, FailedSaveKeepsTheEditsAndTheSelection) {
    const QString dir = folder.MakeProject("p", 2);
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    const std::string before = ReadFileBytes((dir + "zq0001.xml").toStdString());
    ASSERT_EQ(chmod(qPrintable(dir + "zq0001.xml"), 0444), 0);

    Type(form, "Edit12", "Z");
    const QString edited = Text(form, "Edit12");
    dialogs.YesNoAnswers = {true};
    Select(form, 1);
    ASSERT_EQ(dialogs.Texts("Error").size(), 1);
    EXPECT_TRUE(dialogs.Texts("Error")[0].startsWith("XMLFile " + dir + "zq0001.xml save error: "));
    EXPECT_EQ(ReadFileBytes((dir + "zq0001.xml").toStdString()), before);
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(form->CurrentFile, dir + "zq0001.xml");
    EXPECT_EQ(form->FileListBox1->SelectedEntry(), "zq0001.xml");
    EXPECT_EQ(Text(form, "Edit12"), edited);

    // Chosen by mouse, too, the highlight goes back to the profile shown.
    area.show();
    dialogs.YesNoAnswers = {true};
    QListWidget* list = form->FileListBox1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    QApplication::processEvents();
    EXPECT_EQ(dialogs.Texts("Error").size(), 2);
    EXPECT_EQ(form->CurrentFile, dir + "zq0001.xml");
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems()[0]->text(), "zq0001.xml");
    EXPECT_EQ(form->FileListBox1->SelectedEntry(), "zq0001.xml");

    // Once the file may be written again, saving succeeds.
    ASSERT_EQ(chmod(qPrintable(dir + "zq0001.xml"), 0644), 0);
    EXPECT_TRUE(form->ProfileSave(false));
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(Attribute(dir + "zq0001.xml", "INFO_MANU", "LASNR"), edited.toStdString());
}

TEST_F(ProjectFormTest, ClosingAsksAboutUnsavedEdits) {
    const QString dir = folder.MakeProject("p", 2);
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    Type(form, "Edit8", "Q");
    const QString edited = Text(form, "Edit8");
    dialogs.YesNoAnswers = {true};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dialogs.Texts("YesNo").size(), 1);
    EXPECT_EQ(Attribute(dir + "zq0001.xml", "INFO_MANU", "PLAATS"), edited.toStdString());

    const std::string before = ReadFileBytes((dir + "zq0002.xml").toStdString());
    form = TProjectForm::OpenProject(&area, dir + "zq0002.xml");
    Type(form, "Edit8", "Q");
    dialogs.YesNoAnswers = {false};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(ReadFileBytes((dir + "zq0002.xml").toStdString()), before);

    form = TProjectForm::OpenProject(&area, dir + "zq0002.xml");
    EXPECT_TRUE(form->close()); // nothing edited: no question
    EXPECT_EQ(dialogs.Texts("YesNo").size(), 2);
}

TEST_F(ProjectFormTest, TwoWindowsOnOneDirectoryKeepTheirOwnRecords) {
    const QString dir = folder.MakeProject("p", 2);
    TProjectForm* first = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    TProjectForm* second = TProjectForm::OpenProject(&area, dir + "zq0002.xml");
    const std::string secondBefore = ReadFileBytes((dir + "zq0002.xml").toStdString());
    Find<QLineEdit>(first, "Edit5")->setText("JOB-1");
    Find<QLineEdit>(second, "Edit5")->setText("JOB-2");
    dialogs.YesNoAnswers = {true};
    EXPECT_TRUE(first->close());
    EXPECT_EQ(Attribute(dir + "zq0001.xml", "INFO_MANU", "WERKNUMMER"), "JOB-1");
    EXPECT_EQ(ReadFileBytes((dir + "zq0002.xml").toStdString()), secondBefore);
    EXPECT_TRUE(second->ProfileSave(false));
    EXPECT_EQ(Attribute(dir + "zq0002.xml", "INFO_MANU", "WERKNUMMER"), "JOB-2");
    EXPECT_EQ(Attribute(dir + "zq0001.xml", "INFO_MANU", "WERKNUMMER"), "JOB-1");
}

TEST_F(ProjectFormTest, NewProjectIsEmptyAndIgnoresTyping) {
    const QString dir = folder.MakeDirectory("new");
    TProjectForm* form = TProjectForm::NewProject(&area, dir);
    EXPECT_EQ(form->FileListBox1->count(), 0);
    EXPECT_TRUE(form->CanDelete);
    EXPECT_FALSE(form->CanCopyTo);
    EXPECT_TRUE(form->CanSearch);
    auto* chart = Find<TProfileChart>(form, "chtDisplay");
    EXPECT_DOUBLE_EQ(chart->VerticalRange(), 2.0);
    for (const QString& name : chart->SeriesNames())
        EXPECT_FALSE(chart->IsActive(name)) << name.toStdString();
    EXPECT_TRUE(HeaderReadOnly(form));
    Type(form, "Edit12", "abc");
    EXPECT_FALSE(form->Modified);

    // The panels of the selected kind and nothing else, and no quality without a profile.
    EXPECT_EQ(form->GraphKind(), 0);
    const QStringList shown = {"gbxTopMeasParms", "gbxNormTop", "grpQuality"};
    for (const QString& name : kAllPanels)
        EXPECT_EQ(Find<QGroupBox>(form, name)->isVisibleTo(form), shown.contains(name))
            << name.toStdString();
    for (const char* name : {"lblQuality", "lblVel", "lblQIZij", "lblVelZij"})
        EXPECT_EQ(Find<QLabel>(form, name)->text(), "") << name;
}

TEST_F(ProjectFormTest, WindowOfAFailedOpenTakesNoTypingUntilAProfileIsShown) {
    const QString dir = folder.MakeProject("p", 1);
    QDir(dir).mkdir("zqdir.xml");
    EXPECT_THROW(TProjectForm::OpenProject(&area, dir + "zqdir.xml"), std::runtime_error);
    ASSERT_EQ(area.subWindowList().size(), 1);
    auto* form = qobject_cast<TProjectForm*>(area.subWindowList()[0]->widget());
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(HeaderReadOnly(form));
    Type(form, "Edit12", "lost");
    EXPECT_EQ(Text(form, "Edit12"), "");
    EXPECT_FALSE(form->Modified);
    for (const QString& name : kAllPanels)
        EXPECT_EQ(Find<QGroupBox>(form, name)->isVisibleTo(form),
                  name == "gbxTopMeasParms" || name == "gbxNormTop" || name == "grpQuality")
            << name.toStdString();

    Select(form, 0);
    EXPECT_EQ(form->CurrentFile, dir + "zq0001.xml");
    EXPECT_FALSE(Find<QLineEdit>(form, "Edit12")->isReadOnly());
    EXPECT_FALSE(Find<QPlainTextEdit>(form, "Memo1")->isReadOnly());
    Type(form, "Edit12", "kept");
    const QString kept = Text(form, "Edit12");
    EXPECT_TRUE(form->Modified);
    dialogs.YesNoAnswers = {true};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dialogs.Texts("YesNo"), QStringList{Question(dir + "zq0001.xml")});
    EXPECT_EQ(Attribute(dir + "zq0001.xml", "INFO_MANU", "LASNR"), kept.toStdString());
}

TEST_F(ProjectFormTest, EmptiedListShowsNoProfileAsAnEmptyProject) {
    const QString dir = folder.MakeProject("p", 1);
    WriteStepProfile(dir + "zq0001.xml", 81, "40", "1.01"); // both QI red
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    QFile::remove(dir + "zq0001.xml");
    form->FileListBox1->Refresh();

    EXPECT_EQ(form->CurrentProfile(), nullptr);
    EXPECT_EQ(form->CurrentFile, "");
    for (const char* name : {"Edit12", "Edit1", "Edit2", "Edit7", "Edit6", "Edit14", "Edit48"})
        EXPECT_EQ(Text(form, name), "") << name;
    EXPECT_EQ(Find<QPlainTextEdit>(form, "Memo1")->toPlainText(), "");
    EXPECT_EQ(Find<QLabel>(form, "Label22")->text(), "Company name");
    for (const char* name : {"lblQuality", "lblVel", "lblQIZij", "lblVelZij"})
        EXPECT_EQ(Find<QLabel>(form, name)->text(), "") << name;
    auto* chart = Find<TProfileChart>(form, "chtDisplay");
    EXPECT_EQ(chart->Series("serProfile")->count(), 200);
    EXPECT_DOUBLE_EQ(chart->Series("serProfile")->at(0).y(), 1000.0);
    for (const char* name : {"serZijMeas", "serNewNormProfile", "serNormZijCalcPos"})
        EXPECT_EQ(chart->Series(name)->count(), 0) << name;
    EXPECT_EQ(chart->Series("serNormTopPos")->count(), 2);
    EXPECT_TRUE(form->CanPrintPreview);
    EXPECT_FALSE(form->CanPrintProfiles || form->CanDelete || form->CanCopyTo);
    EXPECT_TRUE(HeaderReadOnly(form));
    Type(form, "Edit12", "x");
    EXPECT_FALSE(form->Modified);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(ProjectFormTest, SpeedChangeRebuildsTheRecordAndDropsHeaderEdits) {
    const QString dir = folder.MakeDirectory("p");
    TProjectForm* form = OpenAtSpeed80(dir);
    EXPECT_EQ(Find<QComboBox>(form, "cbxVelInp")->currentText(), "80");
    EXPECT_EQ(Find<QComboBox>(form, "cbxNormVal")->currentText(), "2.4");
    const QString lasNr = Text(form, "Edit12");
    const std::string before = ReadFileBytes((dir + "zq0001.xml").toStdString());
    Type(form, "Edit12", "typed");

    dialogs.YesNoAnswers = {false};
    ChooseSpeed(form, "160");
    EXPECT_EQ(dialogs.Texts("YesNo"), QStringList{Question(dir + "zq0001.xml")});
    EXPECT_EQ(ReadFileBytes((dir + "zq0001.xml").toStdString()), before);
    EXPECT_EQ(form->CurrentProfile()->Snelheid, "160");
    EXPECT_EQ(form->CurrentProfile()->Norm, "1.60");
    EXPECT_EQ(Find<QLabel>(form, "lblVel")->text(), "160");
    EXPECT_EQ(Find<QLabel>(form, "lblVelZij")->text(), "160");
    EXPECT_EQ(Find<QComboBox>(form, "cbxNormVal")->currentText(), "1.6");
    EXPECT_EQ(Text(form, "Edit12"), lasNr);
    EXPECT_TRUE(form->Modified);
    // Without typed edits another speed replaces this one unasked.
    ChooseSpeed(form, "180");
    ChooseSpeed(form, "160");
    EXPECT_EQ(dialogs.Messages.size(), 1);

    EXPECT_TRUE(form->ProfileSave(false));
    EXPECT_EQ(Attribute(dir + "zq0001.xml", "INFO_MANU", "SNELHEID"), "160");
    EXPECT_EQ(Attribute(dir + "zq0001.xml", "TOP_QUALITY", "NORM"), "1.60");
}

TEST_F(ProjectFormTest, SpeedChangeSavesTypedEditsOnYesAndKeepsThemWhenSavingFails) {
    const QString dir = folder.MakeDirectory("p");
    TProjectForm* form = OpenAtSpeed80(dir);
    const QString path = dir + "zq0001.xml";
    Type(form, "Edit12", "-Y");
    const QString saved = Text(form, "Edit12");

    dialogs.YesNoAnswers = {true};
    ChooseSpeed(form, "160");
    EXPECT_EQ(dialogs.Texts("YesNo"), QStringList{Question(path)});
    EXPECT_EQ(Attribute(path, "INFO_MANU", "LASNR"), saved.toStdString());
    EXPECT_EQ(Attribute(path, "INFO_MANU", "SNELHEID"), "80");
    EXPECT_EQ(Text(form, "Edit12"), saved);
    EXPECT_EQ(form->CurrentProfile()->Snelheid, "160");
    EXPECT_EQ(Find<QLabel>(form, "lblVel")->text(), "160");
    EXPECT_TRUE(form->Modified) << "the new speed is not saved yet";

    Type(form, "Edit12", "Z");
    const QString unsaved = Text(form, "Edit12");
    ASSERT_EQ(chmod(qPrintable(path), 0444), 0);
    dialogs.YesNoAnswers = {true};
    ChooseSpeed(form, "40");
    ASSERT_EQ(dialogs.Texts("Error").size(), 1);
    EXPECT_TRUE(dialogs.Texts("Error")[0].startsWith("XMLFile " + path + " save error: "));
    EXPECT_EQ(Text(form, "Edit12"), unsaved);
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(form->CurrentProfile()->Snelheid, "160");
    EXPECT_EQ(Find<QComboBox>(form, "cbxVelInp")->currentText(), "160");
    EXPECT_EQ(Find<QComboBox>(form, "cbxNormVal")->currentText(), "1.6");
    EXPECT_EQ(Find<QLabel>(form, "lblVel")->text(), "160");
    EXPECT_EQ(Find<QLabel>(form, "lblVelZij")->text(), "160");
}

TEST_F(ProjectFormTest, WheelOverTheSpeedListChangesItOnlyWhenTheListHasFocus) {
    TProjectForm* form = OpenAtSpeed80(folder.MakeDirectory("p"));
    area.show();
    area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&area));
    auto* speeds = Find<QComboBox>(form, "cbxVelInp");
    Type(form, "Edit12", "typed");
    const QString typed = Text(form, "Edit12");
    form->FileListBox1->setFocus();
    const auto turnWheelDown = [speeds] {
        QWheelEvent notch(QPointF(5, 5), speeds->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(speeds, &notch);
    };

    turnWheelDown(); // passing over the list while scrolling the window
    EXPECT_EQ(speeds->currentText(), "80");
    EXPECT_EQ(form->CurrentProfile()->Snelheid, "80");
    EXPECT_EQ(Text(form, "Edit12"), typed);
    EXPECT_TRUE(form->Modified);
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    speeds->setFocus();
    ASSERT_TRUE(speeds->hasFocus());
    dialogs.YesNoAnswers = {false};
    turnWheelDown();
    EXPECT_EQ(speeds->currentText(), "100");
    EXPECT_EQ(form->CurrentProfile()->Snelheid, "100");
    EXPECT_EQ(dialogs.Texts("YesNo").size(), 1);
}

TEST_F(ProjectFormTest, QualityLabelsTurnRedOnlyAboveOne) {
    const QString dir = folder.MakeDirectory("p");
    WriteStepProfile(dir + "zq1.xml", 80, "40", "1.00"); // QI 80 um / 25 mm / 3.2 mrad = 1.00
    WriteStepProfile(dir + "zq2.xml", 81, "40", "1.01"); // 1.0125
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq1.xml");
    auto* quality = Find<QLabel>(form, "lblQuality");
    auto* lateral = Find<QLabel>(form, "lblQIZij");
    const QColor normal = form->palette().color(QPalette::WindowText);
    EXPECT_EQ(quality->text(), " 1.00");
    EXPECT_EQ(lateral->text(), " 1.00");
    EXPECT_EQ(quality->palette().color(QPalette::WindowText), normal);
    EXPECT_EQ(lateral->palette().color(QPalette::WindowText), normal);
    Select(form, 1);
    EXPECT_EQ(quality->text(), " 1.01");
    EXPECT_EQ(lateral->text(), " 1.01");
    EXPECT_EQ(quality->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(lateral->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST_F(ProjectFormTest, ChangeButtonWritesAllFourteenLimitsAndMovesTheLines) {
    const QString dir = folder.MakeProject("p", 2);
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    const QStringList buttons = {"btnNormTopChange",         "btnNormShortWavesChange",
                                 "btnNormShortWavesChange1", "btnNormShortWavesChange2",
                                 "btnNormShortWavesChange3", "btnNormTrendChange",
                                 "btnNormZijChange"};
    for (const QString& name : buttons)
        EXPECT_FALSE(Find<QPushButton>(form, name)->isEnabled());

    Find<QLineEdit>(form, "edtNormTopPos")->setText("0.5");
    Find<QLineEdit>(form, "edtNormZijNeg")->setText("-0.75");
    for (const QString& name : buttons)
        EXPECT_TRUE(Find<QPushButton>(form, name)->isEnabled());
    QTest::mouseClick(Find<QPushButton>(form, "btnNormTrendChange"), Qt::LeftButton);
    for (const QString& name : buttons)
        EXPECT_FALSE(Find<QPushButton>(form, name)->isEnabled());

    ostiva::IniFile language(folder.LanguageFile("EN").toStdString());
    EXPECT_EQ(language.ReadString("ProjectFormLabels", "edtNormTopPos", ""), "0.5");
    EXPECT_EQ(language.ReadString("ProjectFormLabels", "edtNormZijNeg", ""), "-0.75");
    for (const char* key : {"edtNormTopNeg", "edtNormTrendPos", "edtNormShortWavesNeg3"})
        EXPECT_EQ(QString::fromStdString(language.ReadString("ProjectFormLabels", key, "")),
                  Find<QLineEdit>(form, key)->text());

    auto* chart = Find<TProfileChart>(form, "chtDisplay");
    QLineSeries* top = chart->Series("serNormTopPos");
    ASSERT_EQ(top->count(), 2);
    EXPECT_EQ(top->at(0), QPointF(-500, 0.5));
    EXPECT_EQ(top->at(1), QPointF(500, 0.5));
    // The record follows at the next selection, and so does a window opened later.
    EXPECT_NE(form->CurrentProfile()->NormTopPos[0], 0.5);
    Select(form, 1);
    EXPECT_DOUBLE_EQ(form->CurrentProfile()->NormTopPos[0], 0.5);
    TProjectForm* later = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    EXPECT_EQ(Text(later, "edtNormTopPos"), "0.5");
}

TEST_F(ProjectFormTest, LimitFieldsTakeADecimalCommaAndRefuseWhatIsNoNumber) {
    TProjectForm* form =
        TProjectForm::OpenProject(&area, folder.MakeProject("p", 1) + "zq0001.xml");
    auto* field = Find<QLineEdit>(form, "edtNormTopPos");
    auto* button = Find<QPushButton>(form, "btnNormZijChange");
    struct Case {
        const char* typed;
        const char* shown;
        bool accepted;
    };
    const Case cases[] = {{"0,3", "0.3", true},      {"-0,25", "-0.25", true},
                          {"1e-1", "1e-1", true},    {"abc", "abc", false},
                          {"1.2.3", "1.2.3", false}, {"1,2,3", "1.2.3", false},
                          {"", "", false},           {"-", "-", false},
                          {"0.3mm", "0.3mm", false}, {"1e999", "1e999", false}};
    for (const Case& c : cases) {
        field->clear();
        QTest::keyClicks(field, c.typed);
        EXPECT_EQ(field->text(), c.shown) << c.typed;
        EXPECT_EQ(button->isEnabled(), c.accepted) << c.typed;
        EXPECT_EQ(field->toolTip().isEmpty(), c.accepted) << c.typed;
    }
    // What was typed with a comma is stored and drawn with its value.
    field->clear();
    QTest::keyClicks(field, "0,3");
    button->click();
    ostiva::IniFile language(folder.LanguageFile("EN").toStdString());
    EXPECT_EQ(language.ReadString("ProjectFormLabels", "edtNormTopPos", ""), "0.3");
    EXPECT_EQ(Find<TProfileChart>(form, "chtDisplay")->Series("serNormTopPos")->at(0),
              QPointF(-500, 0.3));
}

TEST_F(ProjectFormTest, LimitsThatCannotBeWrittenShowAnErrorBox) {
    TProjectForm* form =
        TProjectForm::OpenProject(&area, folder.MakeProject("p", 1) + "zq0001.xml");
    const QString language = folder.LanguageFile("EN");
    ASSERT_EQ(chmod(qPrintable(language), 0444), 0);
    Find<QLineEdit>(form, "edtNormTopPos")->setText("0.5");
    Find<QPushButton>(form, "btnNormTopChange")->click();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].kind, "Error");
    EXPECT_EQ(dialogs.Messages[0].caption, "Error");
    EXPECT_EQ(dialogs.Messages[0].text, "Unable to write to " + language);
    EXPECT_FALSE(Find<QPushButton>(form, "btnNormTopChange")->isEnabled());
}

TEST_F(ProjectFormTest, GraphKindShowsItsPanels) {
    const QString dir = folder.MakeProject("p", 1);
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    auto* tabs = Find<QTabBar>(form, "tabGraficType");
    EXPECT_EQ(tabs->count(), 9);
    EXPECT_EQ(tabs->tabText(0), "Top_Meas");
    struct Expected {
        int kind;
        QStringList shown;
    };
    const QList<Expected> cases = {
        {0, {"gbxTopMeasParms", "gbxNormTop", "grpQuality"}},
        {1, {"gbxTopMeasParms", "grpQuality"}},
        {2, {"gbxSWParms", "gbxNormShortWaves"}},
        {3, {"gbxTopMeasParms", "gbxNormTrend"}},
        {4, {"gbxTopMeasParms", "gbxZijMeasParms", "gbxNormZij", "gbxQIZij"}},
        {5, {"gbxTopMeasParms", "gbxZijMeasParms", "gbxQIZij"}},
        {6, {"gbxSWParms1", "gbxNormShortWaves1"}},
        {8, {"gbxSWParms3", "gbxNormShortWaves3"}},
    };
    auto* chart = Find<TProfileChart>(form, "chtDisplay");
    for (const Expected& expected : cases) {
        tabs->setCurrentIndex(expected.kind);
        EXPECT_EQ(form->GraphKind(), expected.kind);
        for (const QString& name : kAllPanels)
            EXPECT_EQ(Find<QGroupBox>(form, name)->isVisibleTo(form), expected.shown.contains(name))
                << "kind " << expected.kind << " " << name.toStdString();
        EXPECT_TRUE(Find<QWidget>(form, "pnlVelInp")->isVisibleTo(form));
    }
    tabs->setCurrentIndex(6);
    EXPECT_TRUE(chart->IsActive("serShortwaves1"));
    EXPECT_DOUBLE_EQ(chart->VerticalRange(), 0.06);
    EXPECT_EQ(chart->Series("serShortwaves1")->at(0), QPointF(-500, 0));
}

TEST_F(ProjectFormTest, MissingLanguageKeysShowError) {
    // A language file without the trend's series name and without the speed index.
    const std::string path = folder.LanguageFile("EN").toStdString();
    std::string text = ReadFileBytes(path);
    for (const char* key : {"serTrend=", "NewNormVelInpIdx="}) {
        const auto at = text.find(key);
        ASSERT_NE(at, std::string::npos);
        text.erase(at, text.find('\n', at) - at + 1);
    }
    ostiva::testdata::WriteFileBytes(path, text);
    const QString dir = folder.MakeDirectory("p");
    TProjectForm* form = TProjectForm::NewProject(&area, dir);
    EXPECT_EQ(Find<TProfileChart>(form, "chtDisplay")->Series("serTrend")->name(), "Error");
    EXPECT_EQ(Find<QComboBox>(form, "cbxVelInp")->currentText(), "40");
    EXPECT_EQ(Find<QComboBox>(form, "cbxNormVal")->currentText(), "3.2");
}

TEST_F(ProjectFormTest, UnreadableProfileShowsItsErrorAndTheWindowStaysUsable) {
    const QString dir = folder.MakeProject("p", 2);
    ostiva::testdata::WriteFileBytes((dir + "zq0001b.xml").toStdString(),
                                     "<PROFILE><TOP_MEAS>-500 0.1");
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    Select(form, 1); // the truncated file
    ASSERT_EQ(dialogs.Texts("Error").size(), 1);
    EXPECT_TRUE(
        dialogs.Texts("Error")[0].startsWith("XMLFile " + dir + "zq0001b.xml load error: "));
    EXPECT_EQ(form->CurrentFile, dir + "zq0001b.xml");
    EXPECT_EQ(Text(form, "Edit12"), "");
    EXPECT_EQ(Text(form, "Edit14"), " 0.00");
    Select(form, 2);
    EXPECT_EQ(form->CurrentFile, dir + "zq0002.xml");
    EXPECT_FALSE(Text(form, "Edit12").isEmpty());
    EXPECT_EQ(dialogs.Texts("Error").size(), 1);
}

TEST_F(ProjectFormTest, RecordThatCannotBeBuiltKeepsThePreviousProfile) {
    const QString dir = folder.MakeProject("p", 2);
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    const QString lasNr = Text(form, "Edit12");
    // A language file that cannot be read at all: no record can be built.
    const QString language = folder.LanguageFile("EN");
    QFile::remove(language);
    QDir().mkdir(language);
    Select(form, 1);
    ASSERT_EQ(dialogs.Texts("Error"), QStringList({"Can't open ini-file " + language}));
    EXPECT_EQ(dialogs.Messages[0].caption, "Error");
    EXPECT_EQ(form->CurrentFile, dir + "zq0001.xml");
    EXPECT_EQ(Text(form, "Edit2"), "zq0001.xml");
    EXPECT_EQ(Text(form, "Edit12"), lasNr);
    EXPECT_EQ(form->FileListBox1->SelectedEntry(), "zq0001.xml");

    // A window opened now can read neither its texts nor a record: nothing typed there could
    // be saved.
    TProjectForm* later = TProjectForm::OpenProject(&area, dir + "zq0002.xml");
    EXPECT_EQ(dialogs.Texts("Error"), QStringList(3, "Can't open ini-file " + language));
    for (const ScriptedDialogs::Message& message : dialogs.Messages)
        EXPECT_EQ(message.caption, "Error");
    EXPECT_EQ(later->CurrentProfile(), nullptr);
    EXPECT_TRUE(HeaderReadOnly(later));
}

TEST_F(ProjectFormTest, TabFollowsTheReadingOrderAndNeverTypesATab) {
    const QString dir = folder.MakeProject("p", 1);
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    area.show();
    area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&area));
    auto* memo = Find<QPlainTextEdit>(form, "Memo1");
    const QString track = memo->toPlainText();
    // Left header column top to bottom, the right one, the speed list, the Top limits (the
    // change button is disabled until a limit is typed).
    const QStringList order = {"Edit12", "Edit1",     "Edit2",         "Edit3",
                               "Edit4",  "Edit5",     "Edit7",         "Edit8",
                               "Edit10", "Edit11",    "Edit13",        "Edit6",
                               "Memo1",  "cbxVelInp", "edtNormTopPos", "edtNormTopNeg"};
    Find<QWidget>(form, order[0])->setFocus();
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), order[i]);
    }
    for (int i = order.size() - 2; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), order[i]);
    }
    EXPECT_EQ(memo->toPlainText(), track);
    EXPECT_FALSE(form->Modified);
}

} // namespace
