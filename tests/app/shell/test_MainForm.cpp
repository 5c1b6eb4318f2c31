// The main window: start-up from the settings file, the commands and their availability,
// the language choice, the window commands and what closing writes back.
#include "TestSupport.h"
#include "app/common/AppContext.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/shell/TMainForm.h"
#include "core/IniFile.h"
#include "core/ProfileDocument.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QStringList kRuleCommands = {
    "actLoadData",      "actLoadDataDevice", "actProfileSave",        "actPrintPreview",
    "actPrintProfiles", "actProfileDelete",  "actProfileCopyTo",      "actProfileSearch",
    "actSummary",       "WindowCascade1",    "WindowTileHorizontal1", "WindowTileVertical1"};
const QStringList kAlwaysEnabled = {"actProjectNew",     "actProjectOpen", "actProfileCompare",
                                    "actHelpManual1",    "actHelpManual2", "HelpAbout",
                                    "actApplicationExit"};
const QStringList kLanguageCommands = {"actLanguageEn", "actLanguageNL", "actLanguageDE",
                                       "actLanguageES", "actLanguageFR"};

QString SourceText(const QString& code, const QString& section, const QString& key) {
    const std::string path = (QString(OSTIVA_DATA_DIR) + "/ostiva_" + code + ".ini").toStdString();
    return QString::fromStdString(
        ostiva::IniFile(path).ReadString(section.toStdString(), key.toStdString(), "<missing>"));
}

QRect ScreenRect() {
    return QGuiApplication::primaryScreen()->geometry();
}

class MainFormTest : public ::testing::Test {
  protected:
    explicit MainFormTest(const QStringList& languages = ExecutableFolder::AllLanguages())
        : folder(languages) {}

    TMainForm& Create() {
        form = std::make_unique<TMainForm>();
        return *form;
    }
    TMainForm& CreateShown() {
        Create().show();
        QCoreApplication::processEvents();
        return *form;
    }
    QAction* Action(const QString& name) const { return FindNamed<QAction>(form.get(), name); }
    QStringList EnabledOf(const QStringList& names) const {
        QStringList enabled;
        for (const QString& name : names)
            if (Action(name)->isEnabled())
                enabled << name;
        return enabled;
    }
    TProjectForm* OpenProjectThroughCommand(const QString& profile) {
        dialogs.FileAnswers << profile;
        Action("actProjectOpen")->trigger();
        return form->ActiveProjectForm();
    }

    ExecutableFolder folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};

class OnlyEnglishTest : public MainFormTest {
  protected:
    OnlyEnglishTest() : MainFormTest({"EN"}) {}
};

TEST_F(MainFormTest, FirstStartOpensMaximisedInEnglishAndWritesSettingsWithoutLanguage) {
    TMainForm& main = CreateShown();
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(main.windowTitle(), "Ostiva GUI 3.4.0");
    EXPECT_TRUE(main.isMaximized());
    EXPECT_EQ(App().LanguageCode, "EN");
    EXPECT_TRUE(Action("actLanguageEn")->isChecked());
    const QString demo = folder.Path() + "/demo";
    EXPECT_EQ(App().RememberedDirectory, demo);
    EXPECT_EQ(main.Texts().dlgOpenProject.startFolder, demo);
    EXPECT_EQ(main.Texts().dlgLoadData.startFolder, demo);
    EXPECT_EQ(main.Texts().dlgNewProject.startFolder, demo);

    main.close();
    EXPECT_EQ(folder.SettingKeys("Paths"), QStringList{"CurDir"});
    EXPECT_EQ(folder.ReadSetting("Paths", "CurDir"), demo);
    EXPECT_EQ(folder.SettingKeys("MainWindow"),
              (QStringList{"Left", "Top", "Width", "Height", "Maximized"}));
    EXPECT_EQ(folder.ReadSetting("MainWindow", "Maximized"), "Yes");
    EXPECT_EQ(folder.ReadSetting("MainWindow", "Width"), QString::number(main.width()));
    EXPECT_FALSE(folder.HasSetting("Software", "Language"));
}

TEST_F(MainFormTest, MaximisedStartRestoresToTheBuiltInSizeCentred) {
    TMainForm& main = CreateShown();
    main.showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(main.size(), QSize(974, 658));
    // The headless platform shifts a restored window by its frame margin.
    EXPECT_NEAR(main.x(), (ScreenRect().width() - 974) / 2, 4);
    EXPECT_NEAR(main.y(), (ScreenRect().height() - 658) / 2, 4);
}

TEST_F(MainFormTest, MaximizedComparesCaseSensitivelyAndStoredEdgesAreIgnored) {
    folder.WriteSetting("MainWindow", "Maximized", "yes");
    folder.WriteSetting("MainWindow", "Width", "501");
    folder.WriteSetting("MainWindow", "Height", "401");
    folder.WriteSetting("MainWindow", "Left", "3");
    folder.WriteSetting("MainWindow", "Top", "7");
    TMainForm& main = CreateShown();
    EXPECT_FALSE(main.isMaximized());
    EXPECT_EQ(main.size(), QSize(501, 401));
    // Odd differences truncate toward zero.
    EXPECT_EQ(main.pos(),
              QPoint((ScreenRect().width() - 501) / 2, (ScreenRect().height() - 401) / 2));

    main.close();
    EXPECT_EQ(folder.ReadSetting("MainWindow", "Maximized"), "No");
    EXPECT_EQ(folder.ReadSetting("MainWindow", "Width"), "501");
    EXPECT_EQ(folder.ReadSetting("MainWindow", "Height"), "401");
    EXPECT_EQ(folder.ReadSetting("MainWindow", "Left"), QString::number(main.x()));
}

TEST_F(MainFormTest, NoWithoutSizesGivesTheDefaultSizeCentred) {
    folder.WriteSetting("MainWindow", "Maximized", "No");
    TMainForm& main = CreateShown();
    EXPECT_FALSE(main.isMaximized());
    EXPECT_EQ(main.size(), QSize(300, 100));
    EXPECT_EQ(main.pos(),
              QPoint((ScreenRect().width() - 300) / 2, (ScreenRect().height() - 100) / 2));
}

TEST_F(MainFormTest, CommandsCarryNameCaptionHintCategoryAndOwnIcon) {
    Create();
    QAction* open = Action("actProjectOpen");
    EXPECT_EQ(open->text(), "&Open Project");
    EXPECT_EQ(open->statusTip(), "Open existing project (directory with measurement data)");
    EXPECT_EQ(open->toolTip(), open->statusTip() + " (Ctrl+O)");
    EXPECT_EQ(open->property("category").toString(), "Project");
    EXPECT_EQ(Action("actPrintPreview")->property("category").toString(), "Print");
    EXPECT_EQ(Action("WindowCascade1")->text(), "&Cascade");

    EXPECT_FALSE(Action("actLoadDataDevice")->isVisible());
    EXPECT_FALSE(Action("UpdateDevice")->isVisible());

    QList<QImage> icons;
    for (const QString& name : kRuleCommands + kAlwaysEnabled + QStringList{"UpdateDevice"}) {
        const QIcon icon = Action(name)->icon();
        ASSERT_FALSE(icon.isNull()) << name.toStdString();
        const QImage image = icon.pixmap(32, 32).toImage();
        EXPECT_FALSE(icons.contains(image)) << name.toStdString() << " shares an icon";
        icons << image;
    }
}

QStringList MenuLayout(const QMenu* menu) {
    QStringList entries;
    for (QAction* action : menu->actions()) {
        QString entry = action->isSeparator() ? "-"
                        : action->menu()      ? action->menu()->objectName()
                                              : action->objectName();
        if (entry.isEmpty())
            entry = action->text();
        if (!action->isSeparator() && !action->isVisible())
            entry += " (hidden)";
        entries << entry;
    }
    return entries;
}

TEST_F(MainFormTest, MenusAndToolBarListTheCommandsInOrder) {
    TMainForm& main = Create();
    QStringList titles;
    for (QAction* action : main.menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", SourceText("EN", "Menu3", "Caption"),
                                   "&Window", "&Help"}));

    auto menu = [&](const QString& name) { return main.findChild<QMenu*>(name); };
    EXPECT_EQ(MenuLayout(menu("mnuFile")),
              (QStringList{"actProjectOpen", "CloseProject1 (hidden)", "-", "actProfileCompare",
                           "AddProfile1", "-", "actPrintPreview", "actPrintProfiles", "-",
                           "actProjectNew", "actLoadData", "actLoadDataDevice (hidden)", "-",
                           "actApplicationExit"}));
    QAction* addProfile = main.findChild<QAction*>("AddProfile1");
    EXPECT_FALSE(addProfile->isEnabled());
    EXPECT_EQ(addProfile->statusTip(), "Add an existing profile to a profile comparison form");
    EXPECT_EQ(MenuLayout(menu("mnuEdit")),
              (QStringList{"actProfileCopyTo", "actProfileSave", "actProfileDelete"}));
    EXPECT_EQ(MenuLayout(menu("mnuTools")),
              (QStringList{"actProfileSearch", "actSummary", "mnuLanguage"}));
    EXPECT_EQ(MenuLayout(menu("mnuLanguage")),
              (QStringList{"actLanguageEn", "actLanguageNL", "actLanguageDE", "actLanguageES",
                           "actLanguageFR"}));
    EXPECT_EQ(menu("mnuLanguage")->title(), SourceText("EN", "Action16", "Caption"));
    EXPECT_EQ(MenuLayout(menu("mnuWindow")),
              (QStringList{"WindowTileHorizontal1", "WindowTileVertical1", "WindowCascade1"}));
    EXPECT_EQ(MenuLayout(menu("mnuHelp")),
              (QStringList{"actHelpManual1", "actHelpManual2", "-", "UpdateDevice (hidden)", "-",
                           "HelpAbout"}));
    EXPECT_FALSE(menu("mnuHelp")->separatorsCollapsible()) << "both lines around the hidden entry";

    auto* toolBar = main.findChild<QToolBar*>("ToolBar1");
    QStringList buttons;
    for (QAction* action : toolBar->actions())
        buttons << (action->isSeparator() ? "|" : action->objectName());
    EXPECT_EQ(
        buttons.join(' '),
        "actProjectOpen | actProjectNew actLoadData | actPrintPreview actPrintProfiles | "
        "actProfileCopyTo actProfileSave actProfileDelete | actProfileCompare | "
        "actProfileSearch actSummary | WindowCascade1 WindowTileHorizontal1 WindowTileVertical1 |");
    EXPECT_EQ(toolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
}

TEST_F(MainFormTest, WithoutChildWindowOnlyTheRuleCommandsAreDisabled) {
    Create();
    EXPECT_EQ(EnabledOf(kRuleCommands), QStringList{});
    EXPECT_EQ(EnabledOf(kAlwaysEnabled), kAlwaysEnabled);
    EXPECT_EQ(EnabledOf(kLanguageCommands), kLanguageCommands);
}

TEST_F(MainFormTest, OpenProjectCommandOpensWindowAndFollowsItsFlags) {
    const QString project = folder.MakeProject("job", 3);
    TMainForm& main = CreateShown();
    TProjectForm* window = OpenProjectThroughCommand(project + "zq0002.xml");
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(dialogs.FileDialogs.size(), 1);
    EXPECT_EQ(dialogs.FileDialogs[0].title, "Open Project");
    EXPECT_EQ(dialogs.FileDialogs[0].startFolder, folder.Path() + "/demo");
    EXPECT_EQ(window->CurrentFile, project + "zq0002.xml");
    EXPECT_EQ(App().RememberedDirectory, project);
    EXPECT_EQ(main.Texts().dlgOpenProject.startFolder, folder.Path() + "/demo")
        << "set once at start";

    QStringList expected = kRuleCommands;
    expected.removeAll("actProfileSave");
    expected.removeAll("actLoadDataDevice"); // a hidden action always reports disabled
    EXPECT_EQ(EnabledOf(kRuleCommands), expected);

    window->Modified = true;
    emit window->StateChanged();
    EXPECT_TRUE(Action("actProfileSave")->isEnabled());
    Action("actProfileSave")->trigger();
    EXPECT_FALSE(window->Modified);
    EXPECT_FALSE(Action("actProfileSave")->isEnabled());
    EXPECT_EQ(dialogs.Texts("Error"), QStringList{});

    window->CanLoadData = false;
    window->CanDelete = false;
    emit window->StateChanged();
    EXPECT_FALSE(Action("actLoadData")->isEnabled());
    EXPECT_FALSE(Action("actProfileDelete")->isEnabled());
    EXPECT_TRUE(Action("actPrintPreview")->isEnabled());
}

TEST_F(MainFormTest, CommandDisabledSinceTheLastRefreshDoesNotRun) {
    const QString project = folder.MakeProject("job", 1);
    CreateShown();
    TProjectForm* window = OpenProjectThroughCommand(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);
    // A stale enabled state: the window was modified and then the flag went away silently.
    window->Modified = true;
    form->ActionList1Update();
    window->Editable = false;
    dialogs.YesNoAnswers << true;
    Action("actProfileSave")->trigger();
    EXPECT_TRUE(window->Modified) << "save ran although the rule had disabled it";
    EXPECT_FALSE(Action("actProfileSave")->isEnabled());
    window->Editable = true;
    window->Modified = false;
}

TEST_F(MainFormTest, EmptyProjectDisablesSearchAndCopyToAndExistingNamesAreRefused) {
    TMainForm& main = CreateShown();
    const QString parent = folder.MakeDirectory("work");
    dialogs.FileAnswers << parent + "fresh";
    Action("actProjectNew")->trigger();
    ASSERT_EQ(dialogs.FileDialogs.size(), 1);
    EXPECT_EQ(dialogs.FileDialogs[0].title, "New Project");
    EXPECT_EQ(dialogs.FileDialogs[0].startFolder, folder.Path() + "/demo");
    EXPECT_TRUE(QFileInfo(parent + "fresh").isDir());
    TProjectForm* window = main.ActiveProjectForm();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ProjectDir, parent + "fresh/");
    EXPECT_TRUE(window->CanSearch);
    EXPECT_EQ(EnabledOf(kRuleCommands),
              (QStringList{"actLoadData", "actPrintPreview", "actPrintProfiles", "actProfileDelete",
                           "WindowCascade1", "WindowTileHorizontal1", "WindowTileVertical1"}));
    EXPECT_EQ(App().RememberedDirectory, folder.Path() + "/demo") << "not moved by New Project";

    dialogs.FileAnswers << parent + "fresh";
    Action("actProjectNew")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].kind, "Information");
    EXPECT_EQ(dialogs.Messages[0].caption, "Ostiva GUI ");
    EXPECT_EQ(dialogs.Messages[0].text, "Directory " + parent + "fresh already exists.");

    dialogs.FileAnswers << parent + "missing/child";
    Action("actProjectNew")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[1].kind, "Error");
    EXPECT_EQ(dialogs.Messages[1].caption, "Ostiva GUI ");
    EXPECT_EQ(dialogs.Messages[1].text, "Unable to create directory " + parent + "missing/child");
    EXPECT_FALSE(QFileInfo::exists(parent + "missing"));
    EXPECT_EQ(main.MdiArea()->subWindowList().size(), 1);

    Action("actProjectNew")->trigger(); // cancelled
    EXPECT_EQ(main.MdiArea()->subWindowList().size(), 1);
}

TEST_F(MainFormTest, ChoosingALanguageWritesItAndReachesOnlyLaterWindows) {
    const QString project = folder.MakeProject("job", 1);
    TMainForm& main = CreateShown();
    Action("actLanguageNL")->trigger();

    EXPECT_EQ(folder.ReadSetting("Software", "Language"), "NL");
    EXPECT_EQ(App().LanguageCode, "NL");
    EXPECT_TRUE(Action("actLanguageNL")->isChecked());
    EXPECT_FALSE(Action("actLanguageEn")->isChecked());
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].kind, "Information");
    EXPECT_EQ(dialogs.Messages[0].caption, "Ostiva GUI ");
    EXPECT_EQ(dialogs.Messages[0].text, "The new language takes effect for windows opened from now "
                                        "on and completely after a restart.");
    EXPECT_EQ(main.findChild<QMenu*>("mnuFile")->title(), "&File");

    TProjectForm* window = OpenProjectThroughCommand(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);
    auto* tabs = window->findChild<QTabBar*>("tabGraficType");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(0), SourceText("NL", "ProjectForm", "Tab0"));
    EXPECT_NE(tabs->tabText(0), SourceText("EN", "ProjectForm", "Tab0"));
}

TEST_F(MainFormTest, StartInDutchReadsTheDutchTexts) {
    folder.WriteSetting("Software", "Language", "NL");
    TMainForm& main = Create();
    EXPECT_TRUE(Action("actLanguageNL")->isChecked());
    EXPECT_EQ(main.findChild<QMenu*>("mnuFile")->title(), SourceText("NL", "Menu1", "Caption"));
    EXPECT_EQ(Action("actProjectOpen")->text(), SourceText("NL", "Action2", "Caption"));
    EXPECT_EQ(Action("actProjectOpen")->toolTip(),
              SourceText("NL", "Action2", "Hint") + " (Ctrl+O)");
    // The language files' numbering: Action3 and Action15 name no command any more.
    const QList<std::pair<const char*, const char*>> sections = {
        {"actProjectNew", "Action1"},     {"actLoadData", "Action4"},
        {"actLoadDataDevice", "Action5"}, {"actPrintPreview", "Action6"},
        {"actPrintProfiles", "Action7"},  {"actProfileCompare", "Action8"},
        {"actProfileCopyTo", "Action9"},  {"actProfileSave", "Action10"},
        {"actProfileDelete", "Action11"}, {"actProfileSearch", "Action12"},
        {"actSummary", "Action17"},       {"actHelpManual1", "Action13"},
        {"actHelpManual2", "Action14"},   {"mnuLanguage", "Action16"}};
    for (const auto& [name, section] : sections) {
        QAction* action = name == QString("mnuLanguage")
                              ? main.findChild<QMenu*>(name)->menuAction()
                              : Action(name);
        EXPECT_EQ(action->text(), SourceText("NL", section, "Caption")) << name;
        EXPECT_EQ(action->statusTip(), SourceText("NL", section, "Hint")) << name;
    }
    const QStringList menus = {"mnuFile", "mnuEdit", "mnuTools", "mnuWindow", "mnuHelp"};
    for (int i = 0; i < menus.size(); ++i)
        EXPECT_EQ(main.findChild<QMenu*>(menus[i])->title(),
                  SourceText("NL", QString("Menu%1").arg(i + 1), "Caption"));
    EXPECT_EQ(Action("WindowCascade1")->text(), "&Cascade") << "has no section";
    EXPECT_EQ(Action("HelpAbout")->text(), "&About...") << "has no section";
    EXPECT_EQ(main.Texts().dlgOpenProject.title, SourceText("NL", "Dialogs", "3"));
    EXPECT_EQ(main.Texts().dlgCopyTo.fileName, SourceText("NL", "Dialogs", "12"));
    EXPECT_EQ(main.MessageText(9), "De nieuwe taal geldt voor vensters die vanaf nu worden "
                                   "geopend, en volledig na een herstart.");
}

TEST_F(MainFormTest, EachLanguageEntryChoosesItsOwnLanguage) {
    Create();
    const QStringList codes = {"EN", "NL", "DE", "ES", "FR"}; // kLanguageCommands' order
    for (int i = int(codes.size()) - 1; i >= 0; --i) {
        Action(kLanguageCommands[i])->trigger();
        EXPECT_EQ(folder.ReadSetting("Software", "Language"), codes[i]);
        EXPECT_EQ(App().LanguageCode, codes[i]);
        QStringList checked;
        for (const QString& name : kLanguageCommands)
            if (Action(name)->isChecked())
                checked << name;
        EXPECT_EQ(checked, QStringList{kLanguageCommands[i]});
    }
    EXPECT_EQ(dialogs.Texts("Information").size(), 5);
}

TEST_F(OnlyEnglishTest, MissingLanguageFilesDisableTheirEntries) {
    Create();
    EXPECT_EQ(EnabledOf(kLanguageCommands), QStringList{"actLanguageEn"});
    EXPECT_TRUE(Action("actLanguageEn")->isChecked());
}

TEST_F(MainFormTest, UnknownLanguageKeepsEnglishCheckedAndShowsErrorTexts) {
    folder.WriteSetting("Software", "Language", "XX");
    TMainForm& main = Create();
    EXPECT_EQ(dialogs.Messages.size(), 0);
    EXPECT_EQ(App().LanguageCode, "XX");
    EXPECT_TRUE(Action("actLanguageEn")->isChecked());
    EXPECT_EQ(main.findChild<QMenu*>("mnuFile")->title(), "Error");
    EXPECT_EQ(Action("actProjectOpen")->text(), "Error");
    EXPECT_EQ(Action("actProjectOpen")->statusTip(), "Error");
    EXPECT_EQ(main.Texts().dlgOpenProject.title, "Error");
    EXPECT_EQ(main.MessageText(9), "Error");
}

TEST_F(MainFormTest, UnreadableSettingsFileIsReportedAndTheWindowStillOpens) {
    ASSERT_TRUE(QDir().mkdir(folder.SettingsFile())); // exists, cannot be read as a file
    TMainForm& main = CreateShown();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].kind, "Error");
    EXPECT_EQ(dialogs.Messages[0].caption, "Error");
    EXPECT_EQ(dialogs.Messages[0].text, "Can't open ini-file " + folder.SettingsFile());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowTitle(), "Ostiva GUI 3.4.0");
    EXPECT_EQ(main.findChild<QMenu*>("mnuFile")->title(), "&File") << "built-in text kept";

    Action("actLanguageNL")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[1].text, "Can't open ini-file " + folder.SettingsFile());
    EXPECT_EQ(App().LanguageCode, "EN");
    EXPECT_TRUE(Action("actLanguageEn")->isChecked());
    EXPECT_FALSE(Action("actLanguageNL")->isChecked());

    main.close();
    ASSERT_EQ(dialogs.Messages.size(), 3);
    EXPECT_EQ(dialogs.Messages[2].kind, "Error");
    EXPECT_FALSE(main.isVisible());
}

TEST_F(MainFormTest, StartArgumentOpensItsProjectAndErrorsReachTheErrorBox) {
    const QString project = folder.MakeProject("job", 2);
    TMainForm& main = CreateShown();
    main.OnStart({});
    EXPECT_EQ(main.MdiArea()->subWindowList().size(), 0);

    main.OnStart({project + "zq0002.xml", "ignored"});
    TProjectForm* window = main.ActiveProjectForm();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->CurrentFile, project + "zq0002.xml");
    EXPECT_EQ(App().RememberedDirectory, project);
    EXPECT_TRUE(Action("actProfileDelete")->isEnabled());

    main.OnStart({project + "zq9999.xml"});
    ASSERT_EQ(dialogs.Texts("Error").size(), 1);
    EXPECT_EQ(dialogs.Messages.last().caption, "Ostiva GUI ");
    EXPECT_TRUE(dialogs.Messages.last().text.contains("zq9999.xml"));
}

TEST_F(MainFormTest, ClosingAsksModifiedWindowsAndClosesEveryChild) {
    const QString project = folder.MakeProject("job", 2);
    TMainForm& main = CreateShown();
    OpenProjectThroughCommand(project + "zq0001.xml");
    TProjectForm* second = OpenProjectThroughCommand(project + "zq0002.xml");
    ASSERT_NE(second, nullptr);
    second->Modified = true;
    dialogs.YesNoAnswers << false;
    Action("actApplicationExit")->trigger();
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(dialogs.Texts("YesNo").size(), 1);
    EXPECT_TRUE(dialogs.Texts("YesNo").value(0).contains("zq0002.xml"));
    for (QMdiSubWindow* window : main.MdiArea()->subWindowList())
        EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(folder.ReadSetting("Paths", "CurDir"), project);
}

TEST_F(MainFormTest, FailedSaveAtExitKeepsTheProgramAndThatWindowOpen) {
    const QString project = folder.MakeProject("job", 2);
    TMainForm& main = CreateShown();
    TProjectForm* failing = OpenProjectThroughCommand(project + "zq0001.xml");
    TProjectForm* clean = OpenProjectThroughCommand(project + "zq0002.xml");
    ASSERT_TRUE(failing && clean && failing != clean);
    QTest::keyClicks(failing->findChild<QLineEdit*>("Edit12"), "W");
    const QString edited = failing->findChild<QLineEdit*>("Edit12")->text();
    ASSERT_EQ(chmod(qPrintable(project + "zq0001.xml"), 0444), 0);

    dialogs.YesNoAnswers << true;
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    ASSERT_EQ(dialogs.Texts("Error").size(), 1);
    EXPECT_TRUE(dialogs.Texts("Error")[0].contains("zq0001.xml save error"));
    EXPECT_FALSE(failing->parentWidget()->isHidden());
    EXPECT_TRUE(clean->parentWidget()->isHidden());
    EXPECT_EQ(failing->findChild<QLineEdit*>("Edit12")->text(), edited);
    EXPECT_TRUE(failing->Modified);
    EXPECT_EQ(folder.ReadSetting("Paths", "CurDir"), project);

    // Once the file may be written, the edits are saved and the program ends.
    ASSERT_EQ(chmod(qPrintable(project + "zq0001.xml"), 0644), 0);
    dialogs.YesNoAnswers << true;
    Action("actApplicationExit")->trigger();
    EXPECT_FALSE(main.isVisible());
    ostiva::ProfileDocument saved;
    saved.Load((project + "zq0001.xml").toStdString());
    EXPECT_EQ(saved.GetAttribute("INFO_MANU", "LASNR"), edited.toStdString());
}

TEST_F(MainFormTest, SmallWindowKeepsQualityInSightAndShowsTheStartOfLongTexts) {
    const QString project = folder.MakeDirectory("job");
    for (const char* name : {"zq260112_0801.xml", "zq260112_0814.xml"})
        folder.WriteProfile(project + name);
    folder.WriteSetting("MainWindow", "Maximized", "No");
    folder.WriteSetting("MainWindow", "Width", "800");
    folder.WriteSetting("MainWindow", "Height", "600");
    CreateShown();
    TProjectForm* window = OpenProjectThroughCommand(project + "zq260112_0801.xml");
    ASSERT_NE(window, nullptr);
    QCoreApplication::processEvents();
    auto* report = window->findChild<QLineEdit*>("Edit2");
    EXPECT_EQ(report->text(), "zq260112_0801.xml");
    EXPECT_LT(report->width(), report->fontMetrics().horizontalAdvance(report->text()))
        << "the field is too wide to show the fault";
    EXPECT_EQ(report->cursorPosition(), 0);
    EXPECT_TRUE(WhollyInSight(window->findChild<QWidget*>("grpQuality")));

    window->FileListBox1->setCurrentRow(1);
    EXPECT_EQ(report->text(), "zq260112_0814.xml");
    EXPECT_EQ(report->cursorPosition(), 0);
    for (const char* name : {"Edit12", "Edit7", "Edit8"})
        EXPECT_EQ(window->findChild<QLineEdit*>(name)->cursorPosition(), 0) << name;

    window->findChild<QTabBar*>("tabGraficType")->setCurrentIndex(4);
    QCoreApplication::processEvents();
    EXPECT_TRUE(WhollyInSight(window->findChild<QWidget*>("gbxQIZij")));
}

TEST_F(MainFormTest, WindowCommandsTileAndListTheChildren) {
    const QString project = folder.MakeProject("job", 2);
    folder.WriteSetting("MainWindow", "Maximized", "No");
    folder.WriteSetting("MainWindow", "Width", "800");
    folder.WriteSetting("MainWindow", "Height", "600");
    TMainForm& main = CreateShown();
    OpenProjectThroughCommand(project + "zq0001.xml");
    OpenProjectThroughCommand(project + "zq0002.xml");
    const QList<QMdiSubWindow*> windows = main.MdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    const QRect area = main.MdiArea()->viewport()->rect();

    Action("WindowTileHorizontal1")->trigger();
    EXPECT_EQ(windows[0]->width(), area.width());
    EXPECT_EQ(windows[1]->width(), area.width());
    EXPECT_EQ(windows[0]->height() + windows[1]->height(), area.height());
    EXPECT_EQ(qMin(windows[0]->y(), windows[1]->y()), 0);
    EXPECT_EQ(qMax(windows[0]->y(), windows[1]->y()), area.height() / 2);

    Action("WindowTileVertical1")->trigger();
    EXPECT_EQ(windows[0]->height(), area.height());
    EXPECT_EQ(windows[0]->width() + windows[1]->width(), area.width());
    EXPECT_EQ(qMax(windows[0]->x(), windows[1]->x()), area.width() / 2);

    Action("WindowCascade1")->trigger();
    EXPECT_NE(windows[0]->pos(), windows[1]->pos());

    QMenu* menu = main.findChild<QMenu*>("mnuWindow");
    emit menu->aboutToShow();
    QList<QAction*> entries = menu->actions().mid(4);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_TRUE(entries[0]->text().startsWith("&1 "));
    EXPECT_TRUE(entries[1]->isChecked());
    entries[0]->trigger();
    EXPECT_EQ(main.MdiArea()->currentSubWindow(), windows[0]);
    emit menu->aboutToShow();
    EXPECT_EQ(menu->actions().size(), 6) << "the list is rebuilt, not appended";
}

TEST(DialogFilters, ConvertToQtFormAndRecogniseFoldersOnly) {
    EXPECT_EQ(ToQtFilter("Ostiva files (zq*.*)|zq*.*"), "Ostiva files (zq*.*)");
    EXPECT_EQ(ToQtFilter("Profiles|zq*.xml;ZQ*.XML|All|*.*"),
              "Profiles (zq*.xml ZQ*.XML);;All (*.*)");
    EXPECT_EQ(ToQtFilter(""), "");
    EXPECT_TRUE(IsFolderOnlyFilter("Select parent directory and enter project name|..."));
    EXPECT_TRUE(IsFolderOnlyFilter("..."));
    EXPECT_FALSE(IsFolderOnlyFilter("Ostiva files (zq*.*)|zq*.*"));
    EXPECT_FALSE(IsFolderOnlyFilter(""));
}

} // namespace

namespace {

// A user's whole session: open, switch, edit, be asked, save, close, start again.
TEST_F(MainFormTest, EditsAndWindowAndLanguageSurviveARestart) {
    const QString project = folder.MakeProject("job", 3);
    folder.WriteSetting("MainWindow", "Maximized", "No");
    folder.WriteSetting("MainWindow", "Width", "1000");
    folder.WriteSetting("MainWindow", "Height", "700");
    CreateShown();
    TProjectForm* window = OpenProjectThroughCommand(project + "zq0001.xml");
    ASSERT_NE(window, nullptr);
    auto* weldNumber = window->findChild<QLineEdit*>("Edit12");
    auto* operatorName = window->findChild<QLineEdit*>("Edit7");

    weldNumber->setText("W-17");
    EXPECT_TRUE(Action("actProfileSave")->isEnabled());
    dialogs.YesNoAnswers << true;
    window->FileListBox1->setCurrentRow(1); // asked, and saved on Yes
    EXPECT_EQ(dialogs.Texts("YesNo").size(), 1);
    EXPECT_FALSE(Action("actProfileSave")->isEnabled());

    operatorName->setText("J. de Vries");
    form->ActionList1Update();
    Action("actProfileSave")->trigger(); // saves without asking
    EXPECT_EQ(dialogs.Texts("YesNo").size(), 1);
    EXPECT_FALSE(window->Modified);

    dialogs.Messages.clear();
    Action("actLanguageNL")->trigger();
    form->resize(1100, 720);
    Action("actApplicationExit")->trigger();
    EXPECT_TRUE(dialogs.Texts("YesNo").isEmpty()); // nothing left unsaved

    ostiva::ProfileDocument first, second;
    first.Load((project + "zq0001.xml").toStdString());
    second.Load((project + "zq0002.xml").toStdString());
    EXPECT_EQ(first.GetAttribute("INFO_MANU", "LASNR"), "W-17");
    EXPECT_EQ(second.GetAttribute("INFO_MANU", "LASSER"), "J. de Vries");

    TMainForm& again = CreateShown();
    EXPECT_FALSE(again.isMaximized());
    EXPECT_EQ(again.size(), QSize(1100, 720));
    EXPECT_EQ(App().LanguageCode, "NL");
    EXPECT_TRUE(Action("actLanguageNL")->isChecked());
    EXPECT_EQ(again.findChild<QMenu*>("mnuFile")->title(), SourceText("NL", "Menu1", "Caption"));
    EXPECT_EQ(App().RememberedDirectory, project);
}

} // namespace
