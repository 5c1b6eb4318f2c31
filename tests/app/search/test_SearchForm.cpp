// The search dialog and the search command driven headless: the criteria read at creation and
// saved at every close, Reset, the message of an empty result and the narrowed list.
#include "TestSupport.h"
#include "app/common/AppContext.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/search/ProfileSearchCommand.h"
#include "app/search/TSearchForm.h"
#include "core/IniFile.h"
#include "testdata/TestFiles.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QStringList kSwitches = {"cbQITop", "cbQIZij", "CheckBox1", "CheckBox2", "CheckBox3"};
const QStringList kValues = {"eQITopLimit", "eQIZijLimit", "Edit1", "Edit2", "Edit3"};
const QString kNoMatch = "No profiles found matching:";

// The dialog shown without a modal loop: `User` works it while it is open.
class DrivenSearchForm : public DrivenDialog<TSearchForm, DrivenSearchForm> {
  public:
    using DrivenDialog::DrivenDialog;
    void Switch(const QString& name, bool on) {
        if (Find<QCheckBox>(name)->isChecked() != on)
            QTest::mouseClick(Find<QCheckBox>(name), Qt::LeftButton);
    }
    void Type(const QString& name, const QString& text) {
        Find<QLineEdit>(name)->clear();
        QTest::keyClicks(Find<QLineEdit>(name), text);
    }
    QList<bool> Switches() {
        QList<bool> states;
        for (const QString& name : kSwitches)
            states << Find<QCheckBox>(name)->isChecked();
        return states;
    }
    QStringList Values() {
        QStringList values;
        for (const QString& name : kValues)
            values << Find<QLineEdit>(name)->text();
        return values;
    }
};

class SearchFormTest : public ::testing::Test {
  protected:
    ExecutableFolder folder;
    ScriptedDialogs dialogs;
    QMdiArea area;

    // The lines of the dialog's section in the language file, in file order.
    QStringList SectionLines(const QString& code) {
        const std::string bytes =
            ostiva::testdata::ReadFileBytes(folder.LanguageFile(code).toStdString());
        QStringList lines;
        bool inSection = false;
        for (const QString& line : QString::fromStdString(bytes).split('\n')) {
            const QString trimmed = line.trimmed();
            if (trimmed.startsWith('['))
                inSection = trimmed == "[SearchProfilesForm]";
            else if (inSection && !trimmed.isEmpty())
                lines << trimmed;
        }
        return lines;
    }
    void WriteLanguageFile(const QString& code, const std::string& text) {
        ostiva::testdata::WriteFileBytes(folder.LanguageFile(code).toStdString(), text);
    }
    QString WriteProfile(const QString& path, const std::string& lasSer, std::uint32_t seed) {
        ostiva::testdata::GeneratorOptions options;
        options.seed = seed;
        options.header = ostiva::testdata::ProfileHeader{
            "D1", "01-02-2026", "10:00", "Rail BV", "Ut", "1",  "54E1",
            "L",  "TW",         lasSer,  "7",       "W1", "W12"};
        return folder.WriteProfile(path, options);
    }
    void Search(DrivenSearchForm& dialog, TProjectForm* form) {
        RunProfileSearch(&area, dialog, *form, kNoMatch);
    }
};

TEST_F(SearchFormTest, CreationReadsTextsAndCriteriaOfTheCurrentLanguage) {
    WriteLanguageFile("EN", "[ProjectFormLabels]\r\nLabel8=Welder:\r\nLabel7=Km:\r\n"
                            "Label13=Weld:\r\n[SearchProfilesForm]\r\nTitle=Find\r\nOKbtn=Go\r\n"
                            "Clearbtn=Wipe\r\nCancelbtn=Stop\r\nlblQITop=Top\r\nlblQIZij=Zij\r\n"
                            "QITopLimit=0,8x\r\nEdit2=km 12\r\nQITopChecked=True\r\n"
                            "QIZijChecked=true\r\nCheckBox2=True\r\nCheckBox3=yes\r\n");
    DrivenSearchForm dialog;
    EXPECT_EQ(dialog.objectName(), "SearchProfilesForm");
    EXPECT_EQ(dialog.windowTitle(), "Find");
    EXPECT_EQ(dialog.Find<QPushButton>("OKbtn")->text(), "Go");
    EXPECT_EQ(dialog.Find<QPushButton>("Clearbtn")->text(), "Wipe");
    EXPECT_EQ(dialog.Find<QPushButton>("Cancelbtn")->text(), "Stop");
    // A limit is kept as it was typed; a missing one reads "1.0". Only "True" switches on.
    EXPECT_EQ(dialog.Values(), QStringList({"0,8x", "1.0", "", "km 12", ""}));
    EXPECT_EQ(dialog.Switches(), QList<bool>({true, false, false, true, false}));
    EXPECT_EQ(dialog.Captions(),
              (std::array<std::string, 5>{"Top", "Zij", "Welder:", "Km:", "Weld:"}));
    const ostiva::SearchCriteria criteria = dialog.Criteria();
    EXPECT_TRUE(criteria.qiTopOn);
    EXPECT_EQ(criteria.qiTopLimit, "0,8x");
    EXPECT_FALSE(criteria.qiZijOn);
    EXPECT_EQ(criteria.qiZijLimit, "1.0");
    EXPECT_FALSE(criteria.operatorOn);
    EXPECT_TRUE(criteria.switchOn);
    EXPECT_EQ(criteria.switchText, "km 12");
    EXPECT_FALSE(criteria.weldNumberOn);
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    // Criteria saved in Dutch stay in the Dutch file.
    App().LanguageCode = "NL";
    {
        DrivenSearchForm dutch;
        EXPECT_EQ(dutch.windowTitle(), "Profielen zoeken");
        EXPECT_EQ(dutch.Captions()[4], "Lasnummer:");
        dutch.User = [](DrivenSearchForm& d) {
            d.Switch("CheckBox1", true);
            d.Type("Edit1", "Jan");
            d.Click("OKbtn");
        };
        EXPECT_TRUE(dutch.Ask());
    }
    App().LanguageCode = "EN";
    DrivenSearchForm english;
    EXPECT_EQ(english.Switches(), QList<bool>({true, false, false, true, false}));
    EXPECT_EQ(english.Values(), QStringList({"0,8x", "1.0", "", "km 12", ""}));
    App().LanguageCode = "NL";
    DrivenSearchForm dutchAgain;
    EXPECT_EQ(dutchAgain.Switches(), QList<bool>({false, false, true, false, false}));
    EXPECT_EQ(dutchAgain.Values(), QStringList({"1.0", "1.0", "Jan", "", ""}));
}

TEST_F(SearchFormTest, EveryWayOfClosingSavesTheCriteriaInOrder) {
    // Without saved criteria every key is appended in the order of saving.
    WriteLanguageFile("EN", "[SearchProfilesForm]\nTitle=Search profiles\n");
    DrivenSearchForm dialog;
    EXPECT_EQ(dialog.Switches(), QList<bool>({false, false, false, false, false}));
    dialog.User = [](DrivenSearchForm& d) { QTest::keyClick(&d, Qt::Key_Escape); };
    EXPECT_FALSE(dialog.Ask());
    EXPECT_EQ(SectionLines("EN"),
              QStringList({"Title=Search profiles", "QITopLimit=1.0", "QIZijLimit=1.0",
                           "Edit1=", "Edit2=", "Edit3=", "QITopChecked=False", "QIZijChecked=False",
                           "CheckBox1=False", "CheckBox2=False", "CheckBox3=False"}));

    dialog.User = [](DrivenSearchForm& d) {
        d.Switch("cbQIZij", true);
        d.Type("eQIZijLimit", "0.9");
        d.Switch("CheckBox3", true);
        d.Type("Edit3", "W 7");
        d.close(); // the close box
    };
    EXPECT_FALSE(dialog.Ask());
    EXPECT_EQ(SectionLines("EN"),
              QStringList({"Title=Search profiles", "QITopLimit=1.0", "QIZijLimit=0.9", "Edit1=",
                           "Edit2=", "Edit3=W 7", "QITopChecked=False", "QIZijChecked=True",
                           "CheckBox1=False", "CheckBox2=False", "CheckBox3=True"}));

    // Cancel saves too: a dialog created afterwards (the next start) has the changes.
    dialog.User = [](DrivenSearchForm& d) {
        d.Switch("cbQITop", true);
        d.Type("Edit2", "Wissel 3");
        d.Click("Cancelbtn");
    };
    EXPECT_FALSE(dialog.Ask());
    DrivenSearchForm restarted;
    EXPECT_EQ(restarted.Switches(), QList<bool>({true, true, false, false, true}));
    EXPECT_EQ(restarted.Values(), QStringList({"1.0", "0.9", "", "Wissel 3", "W 7"}));

    // Return in a field closes with OK, the default button.
    restarted.User = [](DrivenSearchForm& d) {
        d.Switch("CheckBox3", false);
        QTest::keyClick(d.Find<QLineEdit>("Edit1"), Qt::Key_Return);
    };
    EXPECT_TRUE(restarted.Ask());
    EXPECT_EQ(SectionLines("EN").last(), "CheckBox3=False");
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(SearchFormTest, LanguageFileThatCannotBeOpenedKeepsTheBuiltInTexts) {
    const QString language = folder.LanguageFile("EN");
    QFile::remove(language);
    QDir().mkdir(language);
    DrivenSearchForm dialog;
    ASSERT_EQ(dialogs.Texts("Error"), QStringList({"Can't open ini-file " + language}));
    EXPECT_EQ(dialogs.Messages[0].caption, "Error");
    EXPECT_EQ(dialog.windowTitle(), "Search profiles");
    EXPECT_EQ(dialog.Find<QPushButton>("OKbtn")->text(), "OK");
    EXPECT_EQ(dialog.Find<QPushButton>("Clearbtn")->text(), "Reset");
    EXPECT_EQ(dialog.Find<QPushButton>("Cancelbtn")->text(), "Cancel");
    EXPECT_EQ(dialog.Values(), QStringList({"1.00", "1.00", "", "", ""}));
    EXPECT_EQ(dialog.Switches(), QList<bool>({true, true, false, false, false}));

    dialog.User = [](DrivenSearchForm& d) { d.Click("Cancelbtn"); };
    EXPECT_FALSE(dialog.Ask());
    EXPECT_EQ(dialogs.Texts("Error"), QStringList(2, "Can't open ini-file " + language));
    EXPECT_EQ(dialogs.Messages[1].caption, "Error");
}

TEST_F(SearchFormTest, CancelKeepsTheListResetThenOkShowsAllProfiles) {
    const QString dir = folder.MakeProject("p", 3);
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    form->FileListBox1->SetMask("zq0002.xml");
    DrivenSearchForm dialog;

    dialog.User = [](DrivenSearchForm& d) {
        d.Switch("CheckBox1", true);
        d.Type("Edit1", "nobody");
        d.Click("Cancelbtn");
    };
    Search(dialog, form);
    EXPECT_EQ(form->FileListBox1->Entries(), QStringList({"zq0002.xml"}));

    dialog.User = [](DrivenSearchForm& d) {
        d.Switch("cbQITop", true);
        d.Switch("CheckBox3", true);
        d.Click("Clearbtn");
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.Switches(), QList<bool>({false, false, false, false, false}));
        EXPECT_EQ(d.Values(), QStringList({"1.0", "1.0", "nobody", "", ""}));
        d.Click("OKbtn");
    };
    Search(dialog, form);
    EXPECT_EQ(dialog.Asked, 2);
    EXPECT_EQ(form->FileListBox1->Mask(), "zq*.xml");
    EXPECT_EQ(form->FileListBox1->Entries(),
              QStringList({"zq0001.xml", "zq0002.xml", "zq0003.xml"}));
    EXPECT_EQ(form->CurrentFile, dir + "zq0001.xml");
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(SectionLines("EN").mid(11),
              QStringList({"QITopChecked=False", "QIZijChecked=False", "CheckBox1=False",
                           "CheckBox2=False", "CheckBox3=False"}));
}

TEST_F(SearchFormTest, LimitsTakeADecimalCommaAndOkWaitsForNumbers) {
    DrivenSearchForm dialog;
    struct Case {
        const char* field;
        const char* typed;
        const char* shown;
        bool accepted;
    };
    const Case cases[] = {
        {"eQITopLimit", "0,8", "0.8", true},  {"eQIZijLimit", "1,25", "1.25", true},
        {"eQITopLimit", "abc", "abc", false}, {"eQIZijLimit", "1.2.3", "1.2.3", false},
        {"eQITopLimit", "", "", false},       {"eQIZijLimit", " 2 ", " 2 ", true}};
    dialog.User = [&cases](DrivenSearchForm& d) {
        for (const Case& c : cases) {
            d.Type("eQITopLimit", "1.0");
            d.Type("eQIZijLimit", "1.0");
            d.Type(c.field, c.typed);
            EXPECT_EQ(d.Find<QLineEdit>(c.field)->text(), c.shown) << c.typed;
            EXPECT_EQ(d.Find<QPushButton>("OKbtn")->isEnabled(), c.accepted) << c.typed;
            EXPECT_EQ(d.Find<QLineEdit>(c.field)->toolTip().isEmpty(), c.accepted) << c.typed;
        }
        // Return on the disabled default button does not close the dialog either.
        d.Type("eQITopLimit", "x");
        QTest::keyClick(d.Find<QLineEdit>("eQITopLimit"), Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        d.Type("eQITopLimit", "0,5");
        d.Click("OKbtn");
    };
    EXPECT_TRUE(dialog.Ask());
    EXPECT_EQ(dialog.Criteria().qiTopLimit, "0.5");
}

TEST_F(SearchFormTest, NoMatchShowsMessageEightWithTheCriteriaAndAllProfiles) {
    const QString dir = folder.MakeDirectory("p");
    WriteProfile(dir + "zq0001.xml", "Jan", 1);
    WriteProfile(dir + "zq0002.xml", "Piet", 2);
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0001.xml");
    form->FileListBox1->SetMask("zq0002.xml");
    DrivenSearchForm dialog;

    dialog.User = [](DrivenSearchForm& d) {
        d.Switch("cbQITop", true);
        d.Type("eQITopLimit", "0.5");
        d.Switch("CheckBox1", true);
        d.Type("Edit1", "Kees");
        d.Click("OKbtn");
    };
    Search(dialog, form);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].kind, "Information");
    EXPECT_EQ(dialogs.Messages[0].caption, "Ostiva GUI ");
    EXPECT_EQ(dialogs.Messages[0].text,
              "No profiles found matching: QI Top (vertical)<0.5 Operator:=Kees ");
    EXPECT_EQ(form->FileListBox1->Entries(), QStringList({"zq0001.xml", "zq0002.xml"}));

    // A switched-on text criterion without a text matches nothing.
    dialog.User = [](DrivenSearchForm& d) {
        d.Click("Clearbtn");
        d.Switch("CheckBox3", true);
        d.Click("OKbtn");
    };
    Search(dialog, form);
    EXPECT_EQ(dialogs.Texts("Information").value(1), "No profiles found matching: Weld number:= ");
}

TEST_F(SearchFormTest, MatchNarrowsTheListToTheProfilesFoundAndShowsTheFirst) {
    const QString dir = folder.MakeDirectory("p");
    WriteProfile(dir + "zq0003.xml", "Jansen", 3);
    WriteProfile(dir + "zq0001.xml", "de JANSSEN", 1);
    WriteProfile(dir + "zq0002.xml", "Piet", 2);
    WriteProfile(dir + "zq0004.xml", "", 4);
    // Names that a mask would read as wildcards still match only themselves.
    WriteProfile(dir + "zq?.xml", "jan", 5);
    WriteProfile(dir + "zqa.xml", "Kees", 6);
    TProjectForm* form = TProjectForm::OpenProject(&area, dir + "zq0002.xml");
    DrivenSearchForm dialog;
    dialog.User = [](DrivenSearchForm& d) {
        d.Switch("CheckBox1", true);
        d.Type("Edit1", "jan");
        d.Click("OKbtn");
    };
    Search(dialog, form);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(form->FileListBox1->Entries(), QStringList({"zq0001.xml", "zq0003.xml", "zq?.xml"}));
    EXPECT_EQ(form->FileListBox1->SelectedEntry(), "zq0001.xml");
    EXPECT_EQ(form->CurrentFile, dir + "zq0001.xml");
    ASSERT_NE(form->CurrentProfile(), nullptr);
    EXPECT_EQ(form->CurrentProfile()->LasSer, "de JANSSEN");

    // A refresh (as after loading new files) keeps the narrowed list.
    WriteProfile(dir + "zq0005.xml", "Jan", 7);
    form->FileListBox1->Refresh();
    EXPECT_EQ(form->FileListBox1->Entries(), QStringList({"zq0001.xml", "zq0003.xml", "zq?.xml"}));
}

} // namespace
