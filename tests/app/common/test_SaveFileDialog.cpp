// The real save dialog: a name typed without an extension takes the chosen file type's.
#include "app/common/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Picks the type at `filterIndex`, types `name` and presses Save in the dialog SaveFile shows.
// `beforeSave` runs first: it can schedule the answer to a question the Save brings up.
void AnswerSaveDialog(int filterIndex, const QString& name,
                      const std::function<void()>& beforeSave = {}) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
        if (!types || !edit || !buttons) {
            dialog->reject();
            FAIL() << "the dialog's own widgets were not found";
        }
        // Chosen with the keyboard, as a user does: the box announces the choice itself.
        while (types->currentIndex() != filterIndex)
            QTest::keyClick(types, types->currentIndex() < filterIndex ? Qt::Key_Down : Qt::Key_Up);
        edit->setText(name);
        if (beforeSave)
            beforeSave();
        buttons->button(QDialogButtonBox::Save)->click();
    });
}

TEST(SaveFileDialog, ANameWithoutExtensionTakesTheChosenTypes) {
    QTemporaryDir dir;
    QtDialogs dialogs;
    const FileDialogSpec spec{"Export summary", "CSV file (*.csv)|*.csv|JSON file (*.json)|*.json",
                              dir.path(), "summary.csv"};
    const struct {
        int filter;
        QString typed, saved;
    } cases[] = {
        {1, "night", "night.json"},
        {0, "night", "night.csv"},
        {1, "night.txt", "night.txt"}, // an extension of the user's own stays
    };
    for (const auto& c : cases) {
        AnswerSaveDialog(c.filter, c.typed);
        EXPECT_EQ(dialogs.SaveFile(nullptr, spec), dir.filePath(c.saved)) << c.typed.toStdString();
    }
}

TEST(SaveFileDialog, ReplacingTheFileOfTheCompletedNameIsAskedFirst) {
    QTemporaryDir dir;
    QFile existing(dir.filePath("night.json"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    QString question;
    AnswerSaveDialog(1, "night", [&question] {
        QTimer::singleShot(0, [&question] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            question = box->text();
            box->button(QMessageBox::No)->click();
            // Back in the file dialog: the user gives up.
            QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        });
    });
    QtDialogs dialogs;
    const FileDialogSpec spec{"Export summary", "CSV file (*.csv)|*.csv|JSON file (*.json)|*.json",
                              dir.path(), "summary.csv"};
    EXPECT_EQ(dialogs.SaveFile(nullptr, spec), QString());
    EXPECT_TRUE(question.contains("night.json")) << question.toStdString();
}

} // namespace
