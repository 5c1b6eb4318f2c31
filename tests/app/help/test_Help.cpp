// The Help menu's manuals and the about box: the manual of the language current when the
// command runs, silence for a missing manual, an error naming what no viewer could open, the
// version line and the links.
#include "TestSupport.h"
#include "app/common/AppContext.h"
#include "app/help/Manuals.h"
#include "app/help/TAboutBox.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\n");
}

TEST(HelpManuals, OpenTheManualOfTheLanguageCurrentWhenTheCommandRuns) {
    ExecutableFolder folder(QStringList{});
    ScriptedDialogs dialogs;
    for (const QString name : {"manual1_EN.pdf", "manual2_EN.pdf", "manual1_DE.pdf"})
        Touch(folder.Path() + "/" + name);

    OpenManual(nullptr, 1);
    OpenManual(nullptr, 2);
    App().LanguageCode = "DE"; // chosen during the run, menus not yet rebuilt
    OpenManual(nullptr, 1);
    EXPECT_EQ(dialogs.OpenedDocuments,
              QStringList({folder.Path() + "/manual1_EN.pdf", folder.Path() + "/manual2_EN.pdf",
                           folder.Path() + "/manual1_DE.pdf"}));
    EXPECT_EQ(ManualPath(2), folder.Path() + "/manual2_DE.pdf");
}

TEST(HelpManuals, AMissingManualOpensNothingAndSaysNothing) {
    ExecutableFolder folder(QStringList{});
    ScriptedDialogs dialogs;
    Touch(folder.Path() + "/manual1_EN.pdf");
    App().LanguageCode = "ES";

    OpenManual(nullptr, 1);
    OpenManual(nullptr, 2);
    EXPECT_TRUE(dialogs.OpenedDocuments.isEmpty());
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST(HelpManuals, ManualsAndLinksNoViewerCanOpenAreNamedInAnErrorBox) {
    ExecutableFolder folder(QStringList{});
    ScriptedDialogs dialogs;
    dialogs.ViewerStarts = false; // a desktop without xdg-open or a PDF viewer
    Touch(folder.Path() + "/manual2_EN.pdf");
    OpenManual(nullptr, 2);
    TAboutBox box;
    box.InternetAddressClick();
    box.EmailAddressClick();

    const QStringList named = {folder.Path() + "/manual2_EN.pdf", TAboutBox::kInternetAddress,
                               "mailto:" + TAboutBox::kEmailAddress};
    EXPECT_EQ(dialogs.OpenedDocuments, named);
    const QStringList errors = dialogs.Texts("Error");
    ASSERT_EQ(errors.size(), 3);
    for (qsizetype i = 0; i < errors.size(); ++i) {
        EXPECT_TRUE(errors[i].contains(named[i])) << errors[i].toStdString();
        EXPECT_TRUE(errors[i].startsWith("No program could be started")) << errors[i].toStdString();
        EXPECT_EQ(dialogs.Messages[i].caption, "Ostiva GUI ");
    }
}

TEST(HelpAboutBox, ShowsTheFullVersionAndOpensTheLinksWithoutBlocking) {
    ScriptedDialogs dialogs;
    QWidget mainWindow;
    mainWindow.show();
    TAboutBox box(&mainWindow);
    EXPECT_EQ(box.windowTitle(), "About Ostiva");
    box.ShowAbout();
    box.ShowAbout(); // a second About shows the same box again
    ASSERT_TRUE(box.isVisible());
    EXPECT_EQ(box.windowModality(), Qt::NonModal);
    EXPECT_EQ(box.findChild<QLabel*>("Version")->text(), "Version:    3.4.0.1");
    const QLabel* product = box.findChild<QLabel*>("ProductName");
    EXPECT_EQ(product->text(), "OSTIVA");
    EXPECT_TRUE(product->font().bold());

    QTest::mouseClick(box.findChild<QLabel*>("InternetAddress"), Qt::LeftButton);
    QTest::mouseClick(box.findChild<QLabel*>("EmailAddress"), Qt::LeftButton);
    EXPECT_EQ(dialogs.OpenedDocuments,
              QStringList({TAboutBox::kInternetAddress, "mailto:" + TAboutBox::kEmailAddress}));
    EXPECT_EQ(box.findChild<QLabel*>("EmailAddress")->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(box.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST(HelpAboutBox, VersionLineIsEmptyWithoutAVersion) {
    EXPECT_EQ(AboutVersionLine(""), "");
}

} // namespace
