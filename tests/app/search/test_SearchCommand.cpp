// The search command's result in the project window: exactly the profiles found whatever
// their names, the note that the list is narrowed, and one box for the profiles that could
// not be read.
#include "TestSupport.h"
#include "app/common/AppContext.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/search/ProfileSearchCommand.h"
#include "app/search/TSearchForm.h"
#include "testdata/TestFiles.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <gtest/gtest.h>

namespace {

// Searches for an operator holding `Text`, without showing itself.
class OperatorSearchForm : public TSearchForm {
  public:
    using TSearchForm::TSearchForm;
    QString Text = "jan";
    bool Ask() override {
        for (const char* name : {"cbQITop", "cbQIZij", "CheckBox2", "CheckBox3"})
            findChild<QCheckBox*>(name)->setChecked(false);
        findChild<QCheckBox*>("CheckBox1")->setChecked(true);
        findChild<QLineEdit*>("Edit1")->setText(Text);
        return true;
    }
};

class SearchCommandTest : public ::testing::Test {
  protected:
    void WriteProfile(const QString& name, const std::string& lasSer) {
        ostiva::testdata::GeneratorOptions options;
        options.seed = ++seed_;
        options.header = ostiva::testdata::ProfileHeader{
            "D1", "01-02-2026", "10:00", "Rail BV", "Ut", "1",  "54E1",
            "L",  "TW",         lasSer,  "7",       "W1", "W12"};
        folder.WriteProfile(dir + name, options);
    }
    QLabel* Note() const { return FindNamed<QLabel>(form->FileListBox1, "lblNarrowed"); }

    ExecutableFolder folder;
    ScriptedDialogs dialogs;
    QMdiArea area;
    QString dir = folder.MakeDirectory("p");
    TProjectForm* form = nullptr;
    OperatorSearchForm search;

  private:
    std::uint32_t seed_ = 0;
};

TEST_F(SearchCommandTest, ListShowsExactlyTheProfilesFoundWhateverTheirNames) {
    // Each found name read as a wildcard pattern would also admit a decoy; ";" would split it.
    for (const char* name : {"zq;a.xml", "zq*b.xml", "zq c.xml", "zq[1].xml", "zq\\d.xml"})
        WriteProfile(name, "Jan");
    for (const char* name : {"zq1.xml", "zqXb.xml", "zq.xml", "zqa.xml"})
        WriteProfile(name, "Piet");
    area.resize(1200, 800);
    area.show();
    form = TProjectForm::OpenProject(&area, dir + "zq1.xml");
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(Note()->isVisible());

    RunProfileSearch(&area, search, *form, "none:");
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    const QStringList found = {"zq c.xml", "zq*b.xml", "zq;a.xml", "zq[1].xml", "zq\\d.xml"};
    EXPECT_EQ(form->FileListBox1->Entries(), found);
    EXPECT_EQ(form->CurrentFile, dir + "zq c.xml");
    EXPECT_TRUE(Note()->isVisible());
    EXPECT_EQ(Note()->text(), "5 of 9 profiles (search)");
    // The note takes its own strip: the entries start below it.
    EXPECT_GE(form->FileListBox1->viewport()->geometry().top(), Note()->geometry().bottom());
    EXPECT_TRUE(WhollyInSight(Note()));

    // A refresh keeps the narrowed list and counts again; setting the mask ends it.
    WriteProfile("zq0.xml", "Jan");
    ASSERT_TRUE(QFile::remove(dir + "zq*b.xml"));
    form->FileListBox1->Refresh();
    EXPECT_EQ(form->FileListBox1->Entries(),
              (QStringList{"zq c.xml", "zq;a.xml", "zq[1].xml", "zq\\d.xml"}));
    EXPECT_EQ(Note()->text(), "4 of 9 profiles (search)");
    form->FileListBox1->SetMask("zq*.xml");
    EXPECT_EQ(form->FileListBox1->count(), 9);
    EXPECT_FALSE(Note()->isVisible());
    EXPECT_EQ(form->FileListBox1->viewport()->geometry().top(),
              form->FileListBox1->contentsRect().top());

    // The next search starts from the whole list: a search that finds nothing leaves it whole.
    form->FileListBox1->ShowOnly({"zq0.xml"});
    search.Text = "nobody";
    RunProfileSearch(&area, search, *form, "none:");
    EXPECT_EQ(dialogs.Texts("Information"), QStringList{"none: Operator:=nobody "});
    EXPECT_EQ(form->FileListBox1->count(), 9);
    EXPECT_FALSE(Note()->isVisible());
}

TEST_F(SearchCommandTest, NoteAndUnreadableBoxSpeakTheLanguageOfTheProgram) {
    App().LanguageCode = "NL";
    OperatorSearchForm dutch;
    WriteProfile("zq1.xml", "Jan");
    WriteProfile("zq2.xml", "Piet");
    ostiva::testdata::WriteFileBytes((dir + "zq3_empty.xml").toStdString(), "");
    form = TProjectForm::OpenProject(&area, dir + "zq1.xml");
    ASSERT_NE(form, nullptr);
    RunProfileSearch(&area, dutch, *form, "geen:");
    EXPECT_EQ(Note()->text(), "1 van 3 profielen (zoekopdracht)");
    ASSERT_EQ(dialogs.Texts("Error").size(), 1);
    EXPECT_TRUE(
        dialogs.Texts("Error")[0].startsWith("Deze profielen konden niet worden gelezen en blijven "
                                             "buiten de zoekopdracht:\nzq3_empty.xml: "));
}

TEST_F(SearchCommandTest, UnreadableProfilesAreNamedInOneBoxAfterTheSearchAndNeverFound) {
    WriteProfile("zq1.xml", "Jan");
    WriteProfile("zq2.xml", "Piet");
    WriteProfile("zq3.xml", "Jansen");
    // Cut off after the header: its operator would match, but the file cannot be read.
    ostiva::testdata::WriteFileBytes((dir + "zq4_cut.xml").toStdString(),
                                     "<?xml version=\"1.0\"?>\r\n<METING>\r\n"
                                     "<INFO_MANU LASSER=\"Jan\" SNELHEID=\"80\"/>\r\n");
    ostiva::testdata::WriteFileBytes((dir + "zq5_empty.xml").toStdString(), "");
    form = TProjectForm::OpenProject(&area, dir + "zq2.xml");
    ASSERT_NE(form, nullptr);

    RunProfileSearch(&area, search, *form, "none:");
    EXPECT_EQ(form->FileListBox1->Entries(), (QStringList{"zq1.xml", "zq3.xml"}));
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].kind, "Error");
    EXPECT_EQ(dialogs.Messages[0].caption, "Ostiva GUI ");
    const QStringList lines = dialogs.Messages[0].text.split('\n');
    ASSERT_EQ(lines.size(), 3) << dialogs.Messages[0].text.toStdString();
    EXPECT_EQ(lines[0], "These profiles could not be read and are left out of the search:");
    EXPECT_TRUE(lines[1].startsWith("zq4_cut.xml: XMLFile " + dir + "zq4_cut.xml load error: "))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("zq5_empty.xml: XMLFile " + dir + "zq5_empty.xml load error: "))
        << lines[2].toStdString();

    // Nothing found: message text 8 first, then the same one box.
    search.Text = "nobody";
    RunProfileSearch(&area, search, *form, "none:");
    ASSERT_EQ(dialogs.Messages.size(), 3);
    EXPECT_EQ(dialogs.Messages[1].text, "none: Operator:=nobody ");
    EXPECT_EQ(dialogs.Messages[2].text, dialogs.Messages[0].text);
    EXPECT_EQ(form->FileListBox1->count(), 5);

    // Twenty-three unreadable: twenty named, the rest counted, so the box keeps its OK button.
    for (int i = 0; i < 21; ++i)
        ostiva::testdata::WriteFileBytes(
            (dir + QString("zq6_%1.xml").arg(i, 2, 10, QChar('0'))).toStdString(), "");
    RunProfileSearch(&area, search, *form, "none:");
    const QStringList many = dialogs.Messages.last().text.split('\n');
    ASSERT_EQ(many.size(), 22);
    EXPECT_TRUE(many[20].startsWith("zq6_17.xml: ")) << many[20].toStdString();
    EXPECT_EQ(many[21], "... and 3 more.");
}

} // namespace
