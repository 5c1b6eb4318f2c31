// The dialog of a name in a folder (New Project, Copy To), worked without a modal loop.
#include "app/common/Dialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

TEST(PathInFolder, JoinsTheTypedNameToTheFolder) {
    EXPECT_EQ(PathInFolder("/data/projects", "job"), "/data/projects/job");
    EXPECT_EQ(PathInFolder("/data/projects/", "  job 2 "), "/data/projects/job 2");
    EXPECT_EQ(PathInFolder("/", "job"), "/job");
    EXPECT_EQ(PathInFolder("/data/projects", "new/job"), "/data/projects/new/job");
    EXPECT_EQ(PathInFolder("/data/projects", "../job"), "/data/job");
    EXPECT_EQ(PathInFolder("/data/projects", "/elsewhere/job/"), "/elsewhere/job");
    EXPECT_EQ(PathInFolder("/data/projects", "  "), "");
    EXPECT_EQ(PathInFolder("", "job"), "");
}

class FolderNameDialogTest : public ::testing::Test {
  protected:
    FolderNameDialogTest() {
        base = QDir::cleanPath(dir.path());
        QDir(base).mkpath("projects/job");
    }
    QTemporaryDir dir;
    QString base;
};

TEST_F(FolderNameDialogTest, EnterOnAnExistingFolderNameReturnsItInsteadOfOpeningIt) {
    FolderNameDialog dialog(nullptr,
                            {"New Project", "Select parent directory and enter project name|...",
                             base + "/projects", ""});
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "New Project");
    EXPECT_EQ(dialog.findChild<QLabel*>("InstructionLabel")->text(),
              "Select parent directory and enter project name");
    EXPECT_EQ(dialog.Folder(), base + "/projects");
    auto* name = dialog.findChild<QLineEdit*>("NameEdit");
    auto* buttons = dialog.findChild<QDialogButtonBox*>("Buttons");
    ASSERT_TRUE(name && buttons);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.ChosenPath(), "");
    EXPECT_FALSE(ok->isEnabled()) << "no name typed yet";

    QTest::keyClicks(name, "job");
    EXPECT_EQ(dialog.findChild<QLabel*>("ChosenPathLabel")->text(),
              QDir::toNativeSeparators(base + "/projects/job"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.ChosenPath(), base + "/projects/job");
}

TEST_F(FolderNameDialogTest, PreFilledNameGoesIntoTheSelectedFolder) {
    // Without a start folder: where the process works, as a file dialog opens.
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(base));
    FolderNameDialog dialog(nullptr, {"", "Select target directory|...", "", "Select directory"});
    QDir::setCurrent(saved);
    EXPECT_EQ(dialog.Folder(), base);
    EXPECT_EQ(dialog.ChosenPath(), base + "/Select directory");
    dialog.SetFolder(base + "/projects/job");
    EXPECT_EQ(dialog.ChosenPath(), base + "/projects/job/Select directory");

    // A start folder that is gone gives way to its nearest existing parent.
    FolderNameDialog moved(nullptr, {"", "...", base + "/projects/gone/deeper", "x"});
    EXPECT_EQ(moved.Folder(), base + "/projects");
}

} // namespace
