// The real Yes/No question: only its buttons answer it.
#include "app/common/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Works the question shown by AskYesNo from inside its modal loop: Escape and a close event
// first, then a click on `answer`. Records whether the box outlived the first two.
struct QuestionUser {
    QMessageBox::StandardButton answer;
    bool stayedOpen = false;
    bool found = false;

    void Start() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return; // the test then fails on `found`
            found = true;
            QTest::keyClick(box, Qt::Key_Escape);
            QCloseEvent close;
            QApplication::sendEvent(box, &close);
            QApplication::processEvents();
            stayedOpen = box->isVisible() && QApplication::activeModalWidget() == box;
            box->button(answer)->click();
        });
    }
};

TEST(YesNoQuestion, NeitherEscapeNorTheCloseBoxAnswersIt) {
    QtDialogs dialogs;
    for (auto [answer, expected] : {std::pair{QMessageBox::No, false}, {QMessageBox::Yes, true}}) {
        QuestionUser user{answer};
        user.Start();
        const bool result = dialogs.AskYesNo(nullptr, "Confirm", "File x is modified.");
        ASSERT_TRUE(user.found);
        EXPECT_TRUE(user.stayedOpen);
        EXPECT_EQ(result, expected);
    }
}

} // namespace
