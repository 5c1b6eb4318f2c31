// The platform's usual keys on the main window's commands: in the menus and tooltips, and a
// real Ctrl+S in a project window saves its edits.
#include "TestSupport.h"
#include "app/project/TProjectForm.h"
#include "app/shell/TMainForm.h"
#include "core/ProfileDocument.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ShortcutTest : public ::testing::Test {
  protected:
    QAction* Action(const QString& name) const { return FindNamed<QAction>(form.get(), name); }

    ExecutableFolder folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> form = std::make_unique<TMainForm>();
};

TEST_F(ShortcutTest, CommandsCarryThePlatformKeysInMenusAndTooltips) {
    // Linux's bindings of QKeySequence's standard keys.
    const struct {
        const char* command;
        const char* keys;
        const char* menu;
        const char* toolTip;
    } cases[] = {
        {"actProjectOpen", "Ctrl+O", "mnuFile",
         "Open existing project (directory with measurement data) (Ctrl+O)"},
        {"actProfileSave", "Ctrl+S", "mnuEdit", "Save profile changes (Ctrl+S)"},
        {"actPrintProfiles", "Ctrl+P", "mnuFile", "Print selected profiles (Ctrl+P)"},
        {"actProfileSearch", "Ctrl+F", "mnuTools", nullptr},
        {"actHelpManual1", "F1", "mnuHelp", nullptr},
        {"actApplicationExit", "Ctrl+Q", "mnuFile", "Exit (Ctrl+Q)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        QAction* action = Action(c.command);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->shortcut().toString(), c.keys);
        EXPECT_TRUE(action->toolTip().endsWith(QString(" (") + c.keys + ")"))
            << action->toolTip().toStdString();
        if (c.toolTip) {
            EXPECT_EQ(action->toolTip(), c.toolTip);
        }
        // The menu entry shows the action's keys beside its caption.
        EXPECT_TRUE(form->findChild<QMenu*>(c.menu)->actions().contains(action));
    }
    // The status bar keeps the plain hint; commands without keys keep their plain tooltip.
    EXPECT_EQ(Action("actProfileSave")->statusTip(), "Save profile changes");
    EXPECT_TRUE(Action("actPrintPreview")->shortcut().isEmpty());
    EXPECT_EQ(Action("actPrintPreview")->toolTip(), "Print preview of current profile");
    EXPECT_TRUE(Action("actHelpManual2")->shortcut().isEmpty());

    // No two commands share keys, and the device download keeps its own.
    QStringList taken;
    for (QAction* action : form->findChildren<QAction*>())
        for (const QKeySequence& keys : action->shortcuts()) {
            EXPECT_FALSE(taken.contains(keys.toString())) << keys.toString().toStdString();
            taken << keys.toString();
        }
    auto* device = FindNamed<QShortcut>(form.get(), "shortcutLoadDataDevice");
    EXPECT_EQ(device->key().toString(), "Ctrl+Shift+D");
    EXPECT_FALSE(taken.contains("Ctrl+Shift+D"));
}

TEST_F(ShortcutTest, CtrlSInAProjectWindowSavesItsEdits) {
    const QString project = folder.MakeProject("job", 2);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    dialogs.FileAnswers << project + "zq0001.xml";
    Action("actProjectOpen")->trigger();
    TProjectForm* window = form->ActiveProjectForm();
    ASSERT_NE(window, nullptr);
    auto* weldNumber = FindNamed<QLineEdit>(window, "Edit12");
    weldNumber->setFocus();
    weldNumber->selectAll();
    QTest::keyClicks(weldNumber, "W-42");
    ASSERT_TRUE(window->Modified);

    QTest::keyClick(weldNumber, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window->Modified);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    ostiva::ProfileDocument saved;
    saved.Load((project + "zq0001.xml").toStdString());
    EXPECT_EQ(saved.GetAttribute("INFO_MANU", "LASNR"), "W-42");

    // With nothing to save the keys do nothing, and ask nothing.
    QTest::keyClick(weldNumber, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(dialogs.Unanswered, 0);
}

} // namespace
