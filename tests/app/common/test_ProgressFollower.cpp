// A progress box follows the workers' count, and Cancel stops the work (a search or summary
// that went on after Cancel would narrow or fill what the user abandoned).
#include "app/common/ProgressFollower.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(ProgressFollowerTest, FollowsTheCountUntilCancelled) {
    QProgressDialog box("Working", "Cancel", 0, 10);
    box.setMinimumDuration(0);
    const ostiva::WorkProgress progress = FollowedBy(box);
    EXPECT_TRUE(progress(3, 10));
    EXPECT_EQ(box.value(), 3);
    box.cancel();
    EXPECT_FALSE(progress(4, 10));
    EXPECT_FALSE(progress(5, 10));
}

TEST(ProgressFollowerTest, ShowsAndAnswersCancelWhileTheCountStandsStill) {
    QProgressDialog box("Working", "Cancel", 0, 10);
    box.setWindowModality(Qt::ApplicationModal);
    box.setMinimumDuration(0);
    const ostiva::WorkProgress progress = FollowedBy(box);
    EXPECT_TRUE(progress(0, 10));
    EXPECT_FALSE(box.isVisible());
    EXPECT_TRUE(progress(0, 10)); // the first file takes long
    EXPECT_TRUE(box.isVisible());
    QTimer::singleShot(
        0, &box, [&box] { QTest::mouseClick(box.findChild<QPushButton*>(), Qt::LeftButton); });
    EXPECT_FALSE(progress(0, 10));
}
