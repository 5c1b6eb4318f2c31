// The commands that bring files into a project, move, delete and compare profiles, the files
// dropped onto a project window, and a sweep over every enabled command.
#include "TestSupport.h"
#include "app/common/AppContext.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/search/TSearchForm.h"
#include "app/shell/ProfileFileCommands.h"
#include "app/shell/TMainForm.h"
#include "core/IniFile.h"
#include "core/ProfileDocument.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>

static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

// Notes how many file dialogs were shown before each question, to see the order of the two.
class OrderedDialogs : public ScriptedDialogs {
  public:
    QList<qsizetype> FileDialogsBeforeQuestion;
    bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override {
        FileDialogsBeforeQuestion << FileDialogs.size();
        return ScriptedDialogs::AskYesNo(parent, caption, text);
    }
};

QString SourceText(const QString& code, const QString& section, const QString& key) {
    const std::string path = (QString(OSTIVA_DATA_DIR) + "/ostiva_" + code + ".ini").toStdString();
    return QString::fromStdString(
        ostiva::IniFile(path).ReadString(section.toStdString(), key.toStdString(), "<missing>"));
}

// Searches for a weld number no profile has, without showing itself.
class WeldSearchForm : public TSearchForm {
  public:
    using TSearchForm::TSearchForm;
    bool Ask() override {
        findChild<QCheckBox*>("CheckBox3")->setChecked(true);
        findChild<QLineEdit*>("Edit3")->setText("none such");
        return true;
    }
};

// Cancels instead of showing itself.
class RefusedSearchForm : public TSearchForm {
  public:
    using TSearchForm::TSearchForm;
    int Asked = 0;
    bool Ask() override {
        ++Asked;
        return false;
    }
};

class ProfileCommandsTest : public ::testing::Test {
  protected:
    TMainForm& CreateShown() {
        main = std::make_unique<TMainForm>();
        main->show();
        QCoreApplication::processEvents();
        return *main;
    }
    QAction* Action(const QString& name) const { return FindNamed<QAction>(main.get(), name); }
    TProjectForm* Open(const QString& profile) {
        dialogs.FileAnswers << profile;
        Action("actProjectOpen")->trigger();
        return main->ActiveProjectForm();
    }
    QString WriteProfile(const QString& path, unsigned seed) const {
        ostiva::testdata::GeneratorOptions options;
        options.seed = seed;
        return folder.WriteProfile(path, options);
    }
    static void Type(TProjectForm* window, const QString& field, const QString& text) {
        QTest::keyClicks(window->findChild<QLineEdit*>(field), text);
    }
    static QString WeldNumber(const QString& path) {
        ostiva::ProfileDocument document;
        document.Load(path.toStdString());
        return QString::fromStdString(document.GetAttribute("INFO_MANU", "LASNR"));
    }
    QString CopyFailure(const QString& source, const QString& destination) const {
        return "Unable to copy " + source + " to " + destination;
    }

    ExecutableFolder folder;
    OrderedDialogs dialogs;
    std::unique_ptr<TMainForm> main;
};

TEST_F(ProfileCommandsTest, LoadDataAsksFirstThenCopiesAllButAnExistingName) {
    const QString project = folder.MakeProject("job", 3);
    const QString source = folder.MakeDirectory("device");
    for (const char* name : {"zq0010.xml", "zq0002.xml", "zq0011.xml"})
        WriteProfile(source + name, 20);
    const QByteArray existing = FileBytes(project + "zq0002.xml");
    CreateShown();
    TProjectForm* window = Open(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);
    const QString weld = window->findChild<QLineEdit*>("Edit12")->text();
    Type(window, "Edit12", "X");

    dialogs.YesNoAnswers << false;
    dialogs.FilesAnswers << QStringList{source + "zq0010.xml", source + "zq0002.xml",
                                        source + "zq0011.xml"};
    Action("actLoadData")->trigger();

    EXPECT_EQ(dialogs.FileDialogsBeforeQuestion, (QList<qsizetype>{1})) << "asked before loading";
    ASSERT_EQ(dialogs.FileDialogs.size(), 2);
    EXPECT_EQ(dialogs.FileDialogs[1].title, "Load Data");
    EXPECT_EQ(dialogs.FileDialogs[1].filter, "Ostiva files (zq*.*)|zq*.*");
    EXPECT_EQ(dialogs.FileDialogs[1].startFolder, folder.Path() + "/demo");
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[1].kind, "Information");
    EXPECT_EQ(dialogs.Messages[1].caption, "Ostiva GUI ");
    EXPECT_EQ(dialogs.Messages[1].text, CopyFailure(source + "zq0002.xml", project + "zq0002.xml"));

    EXPECT_EQ(FileBytes(project + "zq0002.xml"), existing);
    EXPECT_EQ(FileBytes(project + "zq0010.xml"), FileBytes(source + "zq0010.xml"));
    EXPECT_EQ(FileBytes(project + "zq0011.xml"), FileBytes(source + "zq0011.xml"));
    const QStringList all = {"zq0001.xml", "zq0002.xml", "zq0003.xml", "zq0010.xml", "zq0011.xml"};
    EXPECT_EQ(FilesIn(project), all);
    EXPECT_EQ(window->FileListBox1->Entries(), all);
    // No discarded the edit: neither the file nor the refreshed window has it.
    EXPECT_EQ(WeldNumber(project + "zq0001.xml"), weld);
    EXPECT_EQ(window->CurrentFile, project + "zq0001.xml");
    EXPECT_EQ(window->findChild<QLineEdit*>("Edit12")->text(), weld);
    EXPECT_FALSE(window->Modified);
}

TEST_F(ProfileCommandsTest, LoadDataCancelledInTheDialogCopiesNothingAndKeepsTheList) {
    const QString project = folder.MakeProject("job", 2);
    CreateShown();
    TProjectForm* window = Open(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);
    Type(window, "Edit12", "7");
    const QString typed = window->findChild<QLineEdit*>("Edit12")->text();
    WriteProfile(project + "zq0009.xml", 9); // the list has not read it yet

    dialogs.YesNoAnswers << true;
    Action("actLoadData")->trigger();
    EXPECT_EQ(dialogs.FileDialogs.size(), 2);
    EXPECT_EQ(WeldNumber(project + "zq0001.xml"), typed) << "saved on Yes";
    EXPECT_EQ(window->FileListBox1->Entries(), (QStringList{"zq0001.xml", "zq0002.xml"}));
    EXPECT_EQ(FilesIn(project), (QStringList{"zq0001.xml", "zq0002.xml", "zq0009.xml"}));
}

TEST_F(ProfileCommandsTest, LoadDataAfterASearchCopiesButListsOnlyTheProfilesFound) {
    const QString project = folder.MakeProject("job", 3);
    const QString source = folder.MakeDirectory("device");
    WriteProfile(source + "zq0010.xml", 10);
    CreateShown();
    TProjectForm* window = Open(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);
    window->FileListBox1->ShowOnly({"zq0001.xml", "zq0003.xml"}); // what a search leaves behind

    dialogs.FilesAnswers << QStringList{source + "zq0010.xml"};
    Action("actLoadData")->trigger();
    EXPECT_EQ(FilesIn(project),
              (QStringList{"zq0001.xml", "zq0002.xml", "zq0003.xml", "zq0010.xml"}));
    EXPECT_EQ(window->FileListBox1->Entries(), (QStringList{"zq0001.xml", "zq0003.xml"}));
}

TEST_F(ProfileCommandsTest, CancelledLoadKeepsTheFilesCopiedWholeAndListsThem) {
    const QString project = folder.MakeProject("job", 1);
    const QString source = folder.MakeDirectory("device");
    QStringList files;
    for (unsigned i = 0; i < 6; ++i)
        files << WriteProfile(source + QString("zq10%1.xml").arg(i), 30 + i);
    TMainForm& form = CreateShown();
    TProjectForm* window = Open(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);

    // The user presses Cancel as soon as the progress box shows.
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        if (auto* progress = form.findChild<QProgressDialog*>("LoadDataProgress");
            progress && progress->isVisible()) {
            progress->cancel();
            canceller.stop();
        }
    });
    canceller.start(0);
    CopyProfilesInto(&form, *window, files, form.Texts(), 0);
    EXPECT_FALSE(canceller.isActive()) << "the progress box never showed";

    const QStringList copied = FilesIn(project).filter(QRegularExpression("^zq10"));
    EXPECT_GE(copied.size(), 1);
    EXPECT_LT(copied.size(), files.size());
    for (const QString& name : copied)
        EXPECT_EQ(FileBytes(project + name), FileBytes(source + name)) << name.toStdString();
    EXPECT_EQ(FilesIn(project), QStringList{"zq0001.xml"} + copied) << "no partial file";
    EXPECT_EQ(window->FileListBox1->Entries(), QStringList{"zq0001.xml"} + copied);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

// Notes whether the load's progress box is still there when a box is shown.
class ProgressWatchingDialogs : public ScriptedDialogs {
  public:
    QWidget* Main = nullptr;
    QList<bool> ProgressPresent;
    void Information(QWidget* parent, const QString& caption, const QString& text) override {
        ProgressPresent << (Main->findChild<QProgressDialog*>("LoadDataProgress") != nullptr);
        ScriptedDialogs::Information(parent, caption, text);
    }
};

TEST_F(ProfileCommandsTest, FailedCopiesNeitherStopTheLoadNorMeetItsProgressBox) {
    const QString project = folder.MakeProject("job", 2);
    const QString source = folder.MakeDirectory("device");
    QStringList files;
    for (const char* name : {"zq0010.xml", "zq0002.xml", "zq0011.xml"})
        files << WriteProfile(source + name, 50);
    // A folder cannot be read as a file, even by a user who may read everything.
    files.insert(2, folder.MakeDirectory("device/zq0012.xml").chopped(1));
    files << WriteProfile(source + "zq0013.xml", 51);
    const QByteArray existing = FileBytes(project + "zq0002.xml");
    TMainForm& form = CreateShown();
    TProjectForm* window = Open(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);

    ProgressWatchingDialogs watching; // takes over from the test's dialogs
    watching.Main = &form;
    bool progressShown = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* progress = form.findChild<QProgressDialog*>("LoadDataProgress"))
            progressShown = progressShown || progress->isVisible();
    });
    watcher.start(0);
    CopyProfilesInto(&form, *window, files, form.Texts(), 0);
    watcher.stop();

    EXPECT_TRUE(progressShown);
    EXPECT_EQ(watching.ProgressPresent, QList<bool>{false});
    EXPECT_EQ(watching.Texts("Information"),
              QStringList{"Unable to copy " + source + "zq0002.xml to " + project + "zq0002.xml\n" +
                          "Unable to copy " + source + "zq0012.xml to " + project + "zq0012.xml"});
    EXPECT_EQ(watching.Messages.size(), 1);
    EXPECT_EQ(FileBytes(project + "zq0002.xml"), existing);
    const QStringList all = {"zq0001.xml", "zq0002.xml", "zq0010.xml", "zq0011.xml", "zq0013.xml"};
    EXPECT_EQ(FilesIn(project), all);
    for (const char* name : {"zq0010.xml", "zq0011.xml", "zq0013.xml"})
        EXPECT_EQ(FileBytes(project + name), FileBytes(source + name)) << name;
    EXPECT_EQ(window->FileListBox1->Entries(), all);
}

TEST_F(ProfileCommandsTest, CopyToMovesTheListedProfilesAfterTheirEditsAndListsTheRest) {
    const QString project = folder.MakeProject("job", 4);
    const QString target = folder.MakeDirectory("archive");
    const QByteArray fourth = FileBytes(project + "zq0004.xml");
    CreateShown();
    TProjectForm* window = Open(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);
    window->FileListBox1->ShowOnly({"zq0002.xml", "zq0004.xml"}); // as a search leaves it
    ASSERT_EQ(window->CurrentFile, project + "zq0002.xml");
    Type(window, "Edit12", "-moved");
    const QString typed = window->findChild<QLineEdit*>("Edit12")->text();

    dialogs.OkCancelAnswers << true;
    dialogs.YesNoAnswers << true;
    dialogs.FileAnswers << target + "Select directory";
    Action("actProfileCopyTo")->trigger();

    ASSERT_EQ(dialogs.FileDialogs.size(), 2);
    EXPECT_EQ(dialogs.FileDialogs[1].title, "Copy profiles to directory");
    EXPECT_EQ(dialogs.FileDialogs[1].filter, "Select target directory|...");
    EXPECT_EQ(dialogs.FileDialogs[1].fileName, "Select directory");
    const QString archive = folder.Path() + "/archive";
    // Asked before the save question, told afterwards.
    QStringList kinds;
    for (const auto& message : dialogs.Messages)
        kinds << message.kind;
    EXPECT_EQ(kinds, (QStringList{"OkCancel", "YesNo", "Information"}));
    EXPECT_EQ(dialogs.Texts("OkCancel"),
              QStringList{"Move 2 profiles to " + archive + "? They leave this project."});
    EXPECT_EQ(dialogs.Texts("Information"), QStringList{"2 profiles moved to " + archive + "."});
    EXPECT_EQ(FilesIn(target), (QStringList{"zq0002.xml", "zq0004.xml"}));
    EXPECT_EQ(WeldNumber(target + "zq0002.xml"), typed) << "the edits moved with the file";
    EXPECT_EQ(FileBytes(target + "zq0004.xml"), fourth);
    EXPECT_EQ(FilesIn(project), (QStringList{"zq0001.xml", "zq0003.xml"}));
    EXPECT_EQ(window->FileListBox1->Mask(), "zq*.xml");
    EXPECT_EQ(window->FileListBox1->Entries(), (QStringList{"zq0001.xml", "zq0003.xml"}));
    EXPECT_EQ(window->CurrentFile, project + "zq0001.xml");
    EXPECT_FALSE(window->Modified);
}

TEST_F(ProfileCommandsTest, CopyToSpeaksTheLanguageOfTheProgram) {
    folder.WriteSetting("Software", "Language", "DE");
    const QString project = folder.MakeProject("job", 2);
    CreateShown();
    TProjectForm* window = Open(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);
    // A "%" in the folder's name is not taken for a text to fill in.
    const QString target = folder.MakeDirectory("%2 archiv");
    dialogs.OkCancelAnswers << true;
    dialogs.FileAnswers << target + "Verzeichnis";
    Action("actProfileCopyTo")->trigger();
    const QString shown = folder.Path() + "/%2 archiv";
    EXPECT_EQ(
        dialogs.Texts("OkCancel"),
        QStringList{"2 Profile nach " + shown + " verschieben? Sie verlassen dieses Projekt."});
    EXPECT_EQ(dialogs.Texts("Information"),
              QStringList{"2 Profile nach " + shown + " verschoben."});
    EXPECT_EQ(FilesIn(target), (QStringList{"zq0001.xml", "zq0002.xml"}));
}

TEST_F(ProfileCommandsTest, CopyToItsOwnFolderReportsEveryProfileAndMovesNothing) {
    const QString project = folder.MakeProject("job", 3);
    const QByteArray first = FileBytes(project + "zq0001.xml");
    CreateShown();
    TProjectForm* window = Open(project + "zq0002.xml");
    ASSERT_NE(window, nullptr);
    window->FileListBox1->ShowOnly({"zq0002.xml", "zq0003.xml"});
    // Cancel in the question: nothing moves and the list stays as it was.
    dialogs.FileAnswers << folder.Path() + "/elsewhere/Select directory";
    Action("actProfileCopyTo")->trigger();
    EXPECT_EQ(dialogs.Texts("OkCancel"), QStringList{"Move 2 profiles to " + folder.Path() +
                                                     "/elsewhere? They leave this project."});
    EXPECT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(window->FileListBox1->Entries(), (QStringList{"zq0002.xml", "zq0003.xml"}));

    window->FileListBox1->SetMask("zq*.xml");
    dialogs.OkCancelAnswers << true;
    dialogs.FileAnswers << project + "Select directory";
    Action("actProfileCopyTo")->trigger();
    QStringList expected;
    for (const char* name : {"zq0001.xml", "zq0002.xml", "zq0003.xml"})
        expected << CopyFailure(project + name, project + name);
    expected << "0 profiles moved to " + folder.Path() + "/job.";
    EXPECT_EQ(dialogs.Texts("Information"), expected);
    EXPECT_EQ(FilesIn(project), (QStringList{"zq0001.xml", "zq0002.xml", "zq0003.xml"}));
    EXPECT_EQ(FileBytes(project + "zq0001.xml"), first);
    EXPECT_EQ(window->FileListBox1->count(), 3);
}

TEST_F(ProfileCommandsTest, DeleteAsksThenDeletesWithoutTheSaveQuestionDownToAnEmptyList) {
    const QString project = folder.MakeProject("job", 2);
    CreateShown();
    TProjectForm* window = Open(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);
    Type(window, "Edit12", "X");

    dialogs.OkCancelAnswers << false;
    Action("actProfileDelete")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].kind, "OkCancel");
    EXPECT_EQ(dialogs.Messages[0].caption, "Ostiva GUI ");
    EXPECT_EQ(dialogs.Messages[0].text, "Delete profile " + project + "zq0001.xml");
    EXPECT_EQ(FilesIn(project), (QStringList{"zq0001.xml", "zq0002.xml"}));
    EXPECT_TRUE(window->Modified) << "cancelled: the edits stay";

    dialogs.OkCancelAnswers << true << true;
    Action("actProfileDelete")->trigger();
    EXPECT_EQ(window->CurrentFile, project + "zq0002.xml");
    EXPECT_EQ(window->FileListBox1->Entries(), QStringList{"zq0002.xml"});
    Action("actProfileDelete")->trigger();
    EXPECT_EQ(dialogs.Messages.last().text, "Delete profile " + project + "zq0002.xml");
    EXPECT_EQ(FilesIn(project), QStringList{});
    EXPECT_EQ(window->FileListBox1->count(), 0);
    EXPECT_FALSE(window->Modified);
    EXPECT_EQ(dialogs.Texts("YesNo"), QStringList{});
    EXPECT_EQ(dialogs.Messages.size(), 3);
}

TEST_F(ProfileCommandsTest, DeleteRemovesTheShownProfileWhereverItStandsInTheList) {
    const QString project = folder.MakeProject("job", 4);
    QList<QByteArray> before;
    for (int i = 1; i <= 4; ++i)
        before << FileBytes(project + QString("zq000%1.xml").arg(i));
    CreateShown();
    TProjectForm* window = Open(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);
    dialogs.OkCancelAnswers << true << true;

    window->FileListBox1->setCurrentRow(2); // the third, as a click selects it
    ASSERT_EQ(window->CurrentFile, project + "zq0003.xml");
    Action("actProfileDelete")->trigger();
    EXPECT_EQ(dialogs.Texts("OkCancel").value(0), "Delete profile " + project + "zq0003.xml");
    EXPECT_EQ(FilesIn(project), (QStringList{"zq0001.xml", "zq0002.xml", "zq0004.xml"}));
    EXPECT_EQ(window->CurrentFile, project + "zq0001.xml") << "the first of the rest is shown";

    window->FileListBox1->setCurrentRow(2); // now the last
    Action("actProfileDelete")->trigger();
    EXPECT_EQ(dialogs.Texts("OkCancel").value(1), "Delete profile " + project + "zq0004.xml");
    EXPECT_EQ(FilesIn(project), (QStringList{"zq0001.xml", "zq0002.xml"}));
    EXPECT_EQ(window->FileListBox1->Entries(), (QStringList{"zq0001.xml", "zq0002.xml"}));
    EXPECT_EQ(FileBytes(project + "zq0001.xml"), before[0]);
    EXPECT_EQ(FileBytes(project + "zq0002.xml"), before[1]);
}

TEST_F(ProfileCommandsTest, DeletingAFileGoneMeanwhileIsReported) {
    const QString project = folder.MakeProject("job", 2);
    CreateShown();
    TProjectForm* window = Open(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QFile::remove(project + "zq0001.xml"));
    dialogs.OkCancelAnswers << true;
    Action("actProfileDelete")->trigger();
    EXPECT_EQ(dialogs.Texts("Information"),
              QStringList{"Unable to delete " + project + "zq0001.xml"});
    EXPECT_EQ(window->FileListBox1->count(), 2) << "not refreshed";
}

TEST_F(ProfileCommandsTest, CompareOpensAComparisonWindowOnTheTwoChosenFiles) {
    const QString project = folder.MakeProject("job", 2);
    TMainForm& form = CreateShown();
    Action("actProfileCompare")->trigger(); // cancelled in the first dialog
    dialogs.FileAnswers << project + "zq0001.xml";
    Action("actProfileCompare")->trigger(); // cancelled in the second
    EXPECT_EQ(form.MdiArea()->subWindowList().size(), 0);
    ASSERT_EQ(dialogs.FileDialogs.size(), 3);
    EXPECT_EQ(dialogs.FileDialogs[1].title, "Select the first profile to compare");
    EXPECT_EQ(dialogs.FileDialogs[2].title, "Select the second profile to compare");

    dialogs.FileAnswers << project + "zq0002.xml" << project + "zq0001.xml";
    Action("actProfileCompare")->trigger();
    TProjectForm* comparison = form.ActiveProjectForm();
    ASSERT_NE(comparison, nullptr);
    EXPECT_EQ(comparison->windowTitle(), project + "zq0002.xml ~ " + project + "zq0001.xml");
    EXPECT_FALSE(comparison->acceptDrops()) << "nothing can be loaded into it";
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(ProfileCommandsTest, CompareDialogsStartInTheActiveProjectsFolder) {
    const QString other = folder.MakeProject("other", 1);
    const QString project = folder.MakeProject("job", 2);
    CreateShown();
    Open(other + "zq0001.xml");
    ASSERT_NE(Open(project + "zq0002.xml"), nullptr);
    dialogs.FileAnswers << project + "zq0001.xml" << other + "zq0001.xml";
    Action("actProfileCompare")->trigger();
    ASSERT_EQ(dialogs.FileDialogs.size(), 4);
    EXPECT_EQ(dialogs.FileDialogs[2].startFolder, project);
    EXPECT_EQ(dialogs.FileDialogs[3].startFolder, project);
}

TEST_F(ProfileCommandsTest, FilesDroppedOntoAProjectWindowAreCopiedIntoIt) {
    const QString project = folder.MakeProject("job", 1);
    const QString source = folder.MakeDirectory("device");
    const QString a = WriteProfile(source + "zq0100.xml", 41);
    const QString b = WriteProfile(source + "zq0001.xml", 42);
    const QString c = WriteProfile(source + "zq0101.xml", 43);
    const QByteArray existing = FileBytes(project + "zq0001.xml");
    CreateShown();
    TProjectForm* window = Open(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->acceptDrops());
    Type(window, "Edit12", "X");

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(source), QUrl::fromLocalFile(b),
                  QUrl::fromLocalFile(c)});
    // A drag proposed as a move still copies, so the source never deletes its files.
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(10, 10), actions, &data, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(10, 10), actions, &data, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(window, &drop);
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    dialogs.YesNoAnswers << false;
    QCoreApplication::processEvents();

    EXPECT_EQ(dialogs.Texts("YesNo").size(), 1);
    EXPECT_EQ(dialogs.Texts("Information"), QStringList{CopyFailure(b, project + "zq0001.xml")});
    EXPECT_EQ(FileBytes(project + "zq0001.xml"), existing);
    EXPECT_EQ(FileBytes(project + "zq0100.xml"), FileBytes(a));
    EXPECT_EQ(FileBytes(project + "zq0101.xml"), FileBytes(c));
    EXPECT_EQ(window->FileListBox1->Entries(),
              (QStringList{"zq0001.xml", "zq0100.xml", "zq0101.xml"}));
}

TEST_F(ProfileCommandsTest, SearchUsesTheDialogOfTheStartLanguageAndMessageEight) {
    folder.WriteSetting("Software", "Language", "NL");
    const QString project = folder.MakeProject("job", 2);
    TMainForm& form = CreateShown();
    EXPECT_EQ(form.SearchForm().windowTitle(), SourceText("NL", "SearchProfilesForm", "Title"));
    form.ReplaceSearchForm(std::make_unique<WeldSearchForm>(&form));
    TProjectForm* window = Open(project + "zq0002.xml");
    ASSERT_NE(window, nullptr);
    Action("actProfileSearch")->trigger();
    ASSERT_EQ(dialogs.Texts("Information").size(), 1);
    EXPECT_TRUE(dialogs.Texts("Information")[0].startsWith(SourceText("NL", "Messages", "8")));
    EXPECT_EQ(window->FileListBox1->count(), 2);
}

// Every command enabled with two project windows open shows a dialog or a box, or changes the
// windows. Printing and help are left to their own work.
TEST_F(ProfileCommandsTest, EveryEnabledCommandDoesSomethingVisible) {
    const QStringList leftToOtherWork = {"actPrintPreview", "actPrintProfiles", "actHelpManual1",
                                         "actHelpManual2", "HelpAbout"};
    const QString project = folder.MakeProject("job", 2);
    TMainForm& form = CreateShown();
    auto search = std::make_unique<RefusedSearchForm>(&form);
    RefusedSearchForm& searchForm = *search;
    form.ReplaceSearchForm(std::move(search));
    Open(project + "zq0001.xml");
    TProjectForm* window = Open(project + "zq0002.xml");
    ASSERT_NE(window, nullptr);

    const auto state = [&] {
        QStringList parts{QString::number(dialogs.FileDialogs.size()),
                          QString::number(dialogs.Messages.size()),
                          QString::number(searchForm.Asked), QString::number(window->Modified),
                          QString::number(form.isVisible())};
        for (const QMdiSubWindow* sub : form.MdiArea()->subWindowList())
            parts << QString("%1,%2,%3,%4/%5")
                         .arg(sub->x())
                         .arg(sub->y())
                         .arg(sub->width())
                         .arg(sub->height())
                         .arg(int(sub->windowState()));
        return parts.join(' ');
    };
    window->Modified = true;
    form.ActionList1Update();
    QStringList commands;
    for (QAction* action : form.findChildren<QAction*>(Qt::FindDirectChildrenOnly))
        if (action->isEnabled() && action->isVisible() && !action->objectName().isEmpty() &&
            !leftToOtherWork.contains(action->objectName()))
            commands << action->objectName();
    // Exit last: it ends the session.
    commands.removeAll("actApplicationExit");
    commands << "actApplicationExit";
    for (const char* name :
         {"actLoadData", "actProfileSave", "actProfileCopyTo", "actProfileDelete",
          "actProfileSearch", "actProfileCompare", "WindowTileVertical1"})
        EXPECT_TRUE(commands.contains(name)) << name;

    QStringList idle;
    for (const QString& name : commands) {
        window->Modified = true;
        form.ActionList1Update();
        const QString before = state();
        Action(name)->trigger();
        if (state() == before)
            idle << name;
    }
    EXPECT_EQ(idle, QStringList{});
    EXPECT_FALSE(form.isVisible());
}

} // namespace
